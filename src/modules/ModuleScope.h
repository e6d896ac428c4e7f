#pragma once
// The module scope: the outermost scope of a check. It finds names in the export scopes of its
// modules, in order, then in its parent (the core modules). While the modules themselves are
// checked it records who found what and what was missing.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/Scope.h"

namespace zintrel {

class TModule;

enum : int32_t {
  MODE_INSERT = 0,
  MODE_MODULE = 1,
  MODE_PROGRAM = 2,
};

class TModuleScope : public TScope {
 public:
  int32_t Mode = MODE_INSERT;
  std::vector<TModule*> ModuleList;
  TModule* CurrentModule = nullptr;

  TModuleScope() : TScope(true) {}
  TASTNode* Find(const TName& name) override;
  // Declarations never enter a module scope itself.
  int Insert(const TName& name, TASTNode* node) override;
  // Enters every module's declarations into an export scope of its own.
  TModuleScope* CreateModuleScope(TScope* parent, const std::vector<TModule*>& modules);
  int FinishSelfCheck();
  int RemoveModule(TModule* module);
  int SetCurrent(TModule* module);

 private:
  // The modules of ModuleList declaring each folded name, in list order, so that a lookup does
  // not walk every module.
  std::unordered_map<TName, std::vector<TModule*>, TNameHash> Declaring;
};

// The scope of every module under "Zintrel", built with the module tree.
extern TModuleScope* CoreModuleScope;

// Builds ModuleTree from the module root and CoreModuleScope from the core modules (loaded
// silently): once per run, before the first program or the second pass of a module build.
void LoadModuleTree();

}  // namespace zintrel

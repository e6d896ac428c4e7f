#include "modules/ProgramModules.h"

#include "driver/Compiler.h"
#include "model/ProgramNode.h"
#include "modules/DependencyNode.h"
#include "modules/Module.h"
#include "modules/ModuleScope.h"

namespace zintrel {

void ResolveRecordDependencies(const std::vector<TProgramNode*>& roots,
                               const std::map<std::string, TProgramNode*>& rootMap) {
  for (TProgramNode* root : roots) {
    if (root->Dependencies == nullptr) continue;
    const std::vector<std::string> keys = std::move(root->Dependencies->PathKeys);
    root->Dependencies->PathKeys.clear();
    for (const std::string& key : keys) {
      auto found = rootMap.find(key);
      if (found == rootMap.end()) TCompiler::Abort("Unable to resolve dependency '" + key + "'");
      root->Dependencies->UsesOf(found->second->Dependencies);
    }
  }
}

TModuleScope* LoadProgramModules(const std::vector<TProgramNode*>& roots) {
  std::map<std::string, TModule*> loaded;
  std::vector<TModule*> modules;
  for (TProgramNode* root : roots) {
    if (!root->IsCompiled) {
      for (const std::string& import : root->ModuleImports)
        TCompiler::LoadModules(import, &loaded, &modules, false);
      continue;
    }
    // A rebuilt root depends on every module its record names, and on what those import.
    std::map<std::string, TModule*> ownLoaded;
    std::vector<TModule*> own;
    for (const std::string& import : root->ModuleImports)
      TCompiler::LoadModules(import, &ownLoaded, &own, false);
    for (TModule* module : own) {
      if (root->Dependencies != nullptr) root->Dependencies->UsesOf(module->Dependencies);
      if (loaded.emplace(module->Path, module).second) modules.push_back(module);
    }
  }
  return TCompiler::CheckModuleScope(CoreModuleScope, modules);
}

}  // namespace zintrel

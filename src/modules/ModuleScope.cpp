#include "modules/ModuleScope.h"

#include <algorithm>
#include <deque>
#include <map>

#include "driver/Compiler.h"
#include "model/ASTNode.h"
#include "model/ProgramNode.h"
#include "modules/DependencyNode.h"
#include "modules/Module.h"
#include "support/Text.h"

namespace zintrel {

TModuleScope* CoreModuleScope = nullptr;

namespace {

// Sets SuppressLookupErrors for the life of the object.
class TSuppressedLookups {
 public:
  TSuppressedLookups() { TASTNode::SuppressLookupErrors = 1; }
  ~TSuppressedLookups() { TASTNode::SuppressLookupErrors = 0; }
};

}  // namespace

TASTNode* TModuleScope::Find(const TName& name) {
  if (Mode == MODE_INSERT) return nullptr;
  // The first module of the list declaring the name; only the module's own declarations count
  // (its export scope without the scopes above).
  auto declaring = Declaring.find(name.Folded());
  if (declaring != Declaring.end() && !declaring->second.empty()) {
    TModule* module = declaring->second.front();
    auto found = module->ExportScope->Nodes.find(declaring->first);
    if (found != module->ExportScope->Nodes.end()) {
      if (Mode == MODE_MODULE && CurrentModule != nullptr) {
        module->Dependers.push_back(CurrentModule);
        // A module that already fell takes a module checked after it along as well.
        if (!module->DoesCompile) CurrentModule->DoesCompile = 0;
      }
      return found->second;
    }
  }
  if (Parent != nullptr)
    if (TASTNode* found = Parent->Find(name)) return found;
  if (Mode == MODE_MODULE && CurrentModule != nullptr) {
    CurrentModule->DoesCompile = 0;
    CurrentModule->MissingSymbols.emplace_back(name);
  }
  return nullptr;
}

int TModuleScope::Insert(const TName&, TASTNode*) { return 1; }

TModuleScope* TModuleScope::CreateModuleScope(TScope* parent, const std::vector<TModule*>& modules) {
  ModuleList = modules;
  Parent = parent;
  Mode = MODE_INSERT;
  {
    TSuppressedLookups suppressed;
    for (TModule* module : ModuleList) {
      module->ExportScope = (new TScope())->Create(this);
      if (module->Root != nullptr) module->Root->CheckCorrectness(module->ExportScope);
    }
  }
  Declaring.clear();
  for (TModule* module : ModuleList)
    for (const auto& [key, node] : module->ExportScope->Nodes) Declaring[key].push_back(module);
  Mode = MODE_MODULE;
  return this;
}

int TModuleScope::FinishSelfCheck() {
  Mode = MODE_PROGRAM;
  return 0;
}

int TModuleScope::RemoveModule(TModule* module) {
  std::erase(ModuleList, module);
  if (module->ExportScope != nullptr)
    for (const auto& [key, node] : module->ExportScope->Nodes) std::erase(Declaring[key], module);
  return 0;
}

int TModuleScope::SetCurrent(TModule* module) {
  CurrentModule = module;
  return 0;
}

std::vector<TModule*> TCompiler::LoadModules(const std::string& pattern,
                                             std::map<std::string, TModule*>* loaded,
                                             std::vector<TModule*>* list, bool silent) {
  std::map<std::string, TModule*> ownMap;
  std::vector<TModule*> ownList;
  std::map<std::string, TModule*>& map = loaded != nullptr ? *loaded : ownMap;
  std::vector<TModule*>& modules = list != nullptr ? *list : ownList;
  if (ModuleTree == nullptr) return modules;
  std::deque<std::string> work{pattern};
  while (!work.empty()) {
    std::string entry = std::move(work.front());
    work.pop_front();
    const bool wildcard = !entry.empty() && entry.back() == '*';
    if (wildcard) entry.erase(entry.size() >= 2 ? entry.size() - 2 : 0);
    TModule* module = ModuleTree->Find(entry);
    if (module == nullptr) {
      if (!silent) Abort("Unable to find module '" + entry + "'");
      continue;
    }
    if (wildcard)
      for (std::string& scope : module->ToList()) work.push_back(std::move(scope));
    if (map.count(module->Path) != 0) continue;
    if (module->IsModule) {
      module->LoadAST();
      if (module->IsOutdated)
        Info("Warning: Current build of module '" + entry + "' is outdated.");
      if (module->Root == nullptr && !silent)
        Abort("Unable to find matching build of module '" + entry + "'");
      if (module->Root != nullptr)
        for (const std::string& import : module->Root->ModuleImports)
          if (ModuleTree->Find(import) != nullptr) work.push_back(import);
    }
    modules.push_back(module);
    map[module->Path] = module;
  }
  return modules;
}

TModuleScope* TCompiler::CheckModuleScope(TScope* parent, const std::vector<TModule*>& modules) {
  TModuleScope* scope = (new TModuleScope())->CreateModuleScope(parent, modules);
  for (TModule* module : modules) {
    if (!module->IsModule) continue;
    if (module->Root != nullptr) {
      for (const std::string& import : module->Root->ModuleImports) {
        if (TModule* found = ModuleTree != nullptr ? ModuleTree->Find(import) : nullptr) {
          module->Dependencies->UsesOf(found->Dependencies);
        } else {
          module->MissingModules.push_back(import);
          module->DoesCompile = 0;
        }
      }
    }
    if (!module->DoesCompile) continue;
    if (module->Root != nullptr) {
      scope->SetCurrent(module);
      TSuppressedLookups suppressed;
      module->Root->CheckCorrectness(scope);
    } else {
      module->DoesCompile = 0;
    }
    if (module->DoesCompile) continue;
    // A module that cannot be used takes every module that found a name in it along.
    std::deque<TModule*> work(module->Dependers.begin(), module->Dependers.end());
    while (!work.empty()) {
      TModule* depender = work.front();
      work.pop_front();
      if (!depender->DoesCompile) continue;
      depender->DoesCompile = 0;
      work.insert(work.begin(), depender->Dependers.begin(), depender->Dependers.end());
    }
  }
  for (TModule* module : modules) {
    if (module->DoesCompile) continue;
    std::string message = "Unloading module " + module->Scope;
    if (!module->MissingModules.empty()) {
      message += "\nDue to missing module(s):";
      for (const std::string& name : module->MissingModules) message += "\n" + name;
    } else if (!module->MissingSymbols.empty()) {
      message += "\nDue to missing symbol(s):";
      for (const std::string& name : module->MissingSymbols) message += "\n" + name;
    }
    scope->RemoveModule(module);
    Warn(message);
  }
  scope->FinishSelfCheck();
  return scope;
}

void LoadModuleTree() {
  ModuleTree = (new TModule())->Load(nullptr, "");
  CoreModuleScope =
      TCompiler::CheckModuleScope(nullptr, TCompiler::LoadModules("Zintrel.*", nullptr, nullptr, true));
}

}  // namespace zintrel

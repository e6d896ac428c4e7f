#include "modules/Module.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <utility>

#include "driver/Compiler.h"
#include "model/ProgramNode.h"
#include "modules/DependencyNode.h"
#include "support/Paths.h"

namespace zintrel {

TModule* ModuleTree = nullptr;

namespace {

// Identity of a folder on disk, so that a folder reached again through a link is recognised.
using TFolderIdentity = std::pair<uint64_t, uint64_t>;

bool FolderIdentity(const std::string& path, TFolderIdentity& identity) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  identity = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return true;
}

}  // namespace

TModule::TModule() : Dependencies(new TDependencyNode()) {}

void TModule::Name(TModule* parent, const std::string& name) {
  Identifier = name;
  Parent = parent;
  if (parent != nullptr) {
    Scope = parent->Scope.empty() ? name : parent->Scope + "." + name;
    Path = parent->Path + "/" + name;
  } else {
    Scope.clear();
    Path = TPaths::ModuleRoot;
  }
  CodePath = FullPath(Path + "/" + name + "." + SOURCE_EXTENSION);
  if (PathExists(CodePath)) {
    IsModule = 1;
    Dependencies->Create(CodePath, this);
  }
}

TModule* TModule::Load(TModule* parent, const std::string& name) {
  // Breadth over an explicit work list: a deep folder chain costs no stack.
  std::set<TFolderIdentity> seen;
  std::vector<std::pair<TModule*, TModule*>> pending{{this, parent}};
  std::vector<std::string> names{name};
  for (size_t next = 0; next < pending.size(); ++next) {
    auto [module, above] = pending[next];
    module->Name(above, names[next]);
    TFolderIdentity identity;
    if (!FolderIdentity(module->Path, identity) || !seen.insert(identity).second) continue;
    for (const std::string& entry : ListFolder(module->Path)) {
      if (IsHiddenName(entry) || !FolderExists(module->Path + "/" + entry)) continue;
      TModule* child = new TModule();
      module->Children.push_back(child);
      pending.emplace_back(child, module);
      names.push_back(entry);
    }
  }
  return this;
}

int TModule::LoadAST() {
  // A module loaded again (by the core modules, then by a program) keeps the root it has: the
  // modules checked against its declarations and the program must see the same classes.
  TProgramNode* read = nullptr;
  IsOutdated = TCompiler::ModuleCompilationNecessary(CodePath, read);
  if (Root != nullptr) return 0;
  Root = read;
  if (Root == nullptr)
    Root = TCompiler::LoadRootFromDep(TCompiler::GenerateModuleTargetPath(CodePath) + ".dep",
                                      CodePath);
  if (Root != nullptr) {
    // Uses of the module's declarations are recorded against the module itself.
    Root->Dependencies = Dependencies;
    Root->IsModule = 1;
    Libraries = Root->Libraries;
  }
  return 0;
}

TModule* TModule::Find(std::string_view name) {
  TModule* node = this;
  for (;;) {
    const size_t dot = name.find('.');
    const std::string head = ToLower(name.substr(0, dot));
    if (head == "*") return node;
    TModule* found = nullptr;
    for (TModule* child : node->Children) {
      if (ToLower(child->Identifier) == head) {
        found = child;
        break;
      }
    }
    if (found == nullptr || dot == std::string_view::npos) return found;
    node = found;
    name.remove_prefix(dot + 1);
  }
}

std::vector<std::string> TModule::ToList(std::vector<std::string>* list) const {
  std::vector<std::string> own;
  std::vector<std::string>& result = list != nullptr ? *list : own;
  if (list != nullptr) result.push_back(Scope);
  // Pre-order without recursion.
  std::vector<const TModule*> pending(Children.rbegin(), Children.rend());
  while (!pending.empty()) {
    const TModule* module = pending.back();
    pending.pop_back();
    result.push_back(module->Scope);
    pending.insert(pending.end(), module->Children.rbegin(), module->Children.rend());
  }
  return result;
}

std::string TModule::ScopeToFolderPath(const std::string& scope) {
  std::string folder = scope;
  std::replace(folder.begin(), folder.end(), '.', '/');
  return TPaths::ModuleRoot + "/" + folder;
}

std::string TModule::ScopeToCodePath(const std::string& scope) {
  size_t dot = scope.rfind('.');
  std::string last = dot == std::string::npos ? scope : scope.substr(dot + 1);
  return ScopeToFolderPath(scope) + "/" + last + "." + SOURCE_EXTENSION;
}

std::vector<std::string> TModule::ListModulesInScope(const std::string& pattern) {
  std::vector<std::string> list;
  ListModulesInScope(pattern, list);
  return list;
}

void TModule::ListModulesInScope(const std::string& pattern, std::vector<std::string>& list) {
  // Each folder is entered once, so a folder cycle through a link ends.
  std::set<TFolderIdentity> seen;
  std::vector<std::string> pending{pattern};
  while (!pending.empty()) {
    std::string scope = std::move(pending.back());
    pending.pop_back();
    bool recursive = scope.size() >= 2 && scope.compare(scope.size() - 2, 2, ".*") == 0;
    if (recursive) scope.resize(scope.size() - 2);
    std::string code = ScopeToCodePath(scope);
    if (PathExists(code)) list.push_back(code);
    if (!recursive) continue;
    TFolderIdentity identity;
    const std::string folder = ScopeToFolderPath(scope);
    if (!FolderIdentity(folder, identity) || !seen.insert(identity).second) continue;
    std::vector<std::string> entries = ListFolder(folder);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
      if (!IsHiddenName(*entry)) pending.push_back(scope + "." + *entry + ".*");
  }
}

}  // namespace zintrel

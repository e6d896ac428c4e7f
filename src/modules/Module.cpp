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
  // Breadth over an explicit work list: a deep folder chain costs no stack. A folder reached
  // through a link is entered like any other (an alias shows the modules it points to), unless
  // it is one of the folders above it: only that is a cycle.
  struct TPending {
    TModule* Module;
    TModule* Above;
    std::string Name;
    size_t Up;  // index of the entry above, npos for the first
    TFolderIdentity Identity{};
  };
  std::vector<TPending> pending;
  pending.push_back({this, parent, name, std::string::npos});
  for (size_t next = 0; next < pending.size(); ++next) {
    TModule* module = pending[next].Module;
    module->Name(pending[next].Above, pending[next].Name);
    if (!FolderIdentity(module->Path, pending[next].Identity)) continue;
    for (const std::string& entry : ListFolder(module->Path)) {
      TFolderIdentity identity;
      if (IsHiddenName(entry) || !FolderIdentity(module->Path + "/" + entry, identity)) continue;
      bool cycle = false;
      for (size_t up = next; up != std::string::npos && !cycle; up = pending[up].Up)
        cycle = pending[up].Identity == identity;
      if (cycle) continue;
      TModule* child = new TModule();
      module->Children.push_back(child);
      pending.push_back({child, module, entry, next});
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
  // Depth-first, keeping the folders above the current one: a link back to one of them is a
  // cycle and is not entered, any other link is. A code file reached again through an alias is
  // listed once, so each module is built once.
  std::set<TFolderIdentity> above;
  std::set<TFolderIdentity> listed;
  struct TPending {
    std::string Scope;
    bool Leave = false;  // the folder of Identity is done: it is no longer above
    TFolderIdentity Identity{};
  };
  // The folders from the module root down to the pattern's are above everything it lists.
  TFolderIdentity identity;
  if (FolderIdentity(TPaths::ModuleRoot, identity)) above.insert(identity);
  const size_t own = pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0
                         ? pattern.size() - 2
                         : pattern.size();
  for (size_t dot = pattern.find('.'); dot < own; dot = pattern.find('.', dot + 1))
    if (FolderIdentity(ScopeToFolderPath(pattern.substr(0, dot)), identity)) above.insert(identity);
  std::vector<TPending> pending{{pattern}};
  while (!pending.empty()) {
    TPending item = std::move(pending.back());
    pending.pop_back();
    if (item.Leave) {
      above.erase(item.Identity);
      continue;
    }
    std::string& scope = item.Scope;
    bool recursive = scope.size() >= 2 && scope.compare(scope.size() - 2, 2, ".*") == 0;
    if (recursive) scope.resize(scope.size() - 2);
    std::string code = ScopeToCodePath(scope);
    struct stat st;
    if (stat(code.c_str(), &st) == 0 &&
        listed.insert({static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)}).second)
      list.push_back(code);
    if (!recursive) continue;
    const std::string folder = ScopeToFolderPath(scope);
    if (!FolderIdentity(folder, identity) || !above.insert(identity).second) continue;
    pending.push_back({std::string(), true, identity});
    std::vector<std::string> entries = ListFolder(folder);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
      if (!IsHiddenName(*entry)) pending.push_back({scope + "." + *entry + ".*"});
  }
}

}  // namespace zintrel

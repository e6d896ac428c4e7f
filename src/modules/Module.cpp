#include "modules/Module.h"

#include <algorithm>

#include "support/Paths.h"

namespace zintrel {

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
  std::string scope = pattern;
  bool recursive = scope.size() >= 2 && scope.compare(scope.size() - 2, 2, ".*") == 0;
  if (recursive) scope.resize(scope.size() - 2);
  std::string code = ScopeToCodePath(scope);
  if (PathExists(code)) list.push_back(code);
  if (!recursive) return;
  for (const std::string& entry : ListFolder(ScopeToFolderPath(scope)))
    if (!IsHiddenName(entry)) ListModulesInScope(scope + "." + entry + ".*", list);
}

}  // namespace zintrel

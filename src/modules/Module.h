#pragma once
// The module tree: modules live in folders below the module root, a dotted scope naming the
// folder path ("Zintrel.Core.AppInit" is mod/Zintrel/Core/AppInit with the code file AppInit.zn).
#include <string>
#include <vector>

namespace zintrel {

class TModule {
 public:
  // Code files of the modules a pattern names, found on disk: "A.B" names at most the code file
  // of A.B, "A.B.*" that one followed by those of everything below it.
  static std::vector<std::string> ListModulesInScope(const std::string& pattern);
  static void ListModulesInScope(const std::string& pattern, std::vector<std::string>& list);
  static std::string ScopeToFolderPath(const std::string& scope);
  static std::string ScopeToCodePath(const std::string& scope);
};

}  // namespace zintrel

#pragma once
// The module tree: modules live in folders below the module root, a dotted scope naming the
// folder path ("Zintrel.Core.AppInit" is mod/Zintrel/Core/AppInit with the code file AppInit.zn).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zintrel {

class TDependencyNode;
class TProgramNode;
class TScope;

class TModule {
 public:
  TDependencyNode* Dependencies = nullptr;
  TScope* ExportScope = nullptr;
  TProgramNode* Root = nullptr;
  std::vector<std::string> Libraries;
  std::string Identifier;
  std::string Path;
  std::string Scope;
  int32_t IsModule = 0;
  int32_t IsOutdated = 0;
  std::string CodePath;
  TModule* Parent = nullptr;
  std::vector<TModule*> Children;
  int32_t ImportRequired = 0;
  int32_t DoesCompile = 1;
  std::vector<TModule*> Dependers;
  std::vector<std::string> MissingSymbols;
  std::vector<std::string> MissingModules;

  TModule();
  // Builds this node and everything below its folder. A symbolic link to a folder is followed,
  // except to one of the folders above it, so a cycle on disk ends.
  TModule* Load(TModule* parent, const std::string& name);
  // Reads the module's record: its declarations, libraries and whether its build is outdated.
  int LoadAST();
  // The node of a dotted name below this one, case-insensitively; "*" names this node itself.
  TModule* Find(std::string_view name);
  // The scopes of every node below this one, depth-first in pre-order; a given list also gets
  // this node's own scope first.
  std::vector<std::string> ToList(std::vector<std::string>* list = nullptr) const;

  // Code files of the modules a pattern names, found on disk: "A.B" names at most the code file
  // of A.B, "A.B.*" that one followed by those of everything below it (each code file once, links
  // followed as by Load).
  static std::vector<std::string> ListModulesInScope(const std::string& pattern);
  static void ListModulesInScope(const std::string& pattern, std::vector<std::string>& list);
  static std::string ScopeToFolderPath(const std::string& scope);
  static std::string ScopeToCodePath(const std::string& scope);

 private:
  void Name(TModule* parent, const std::string& name);
};

// The tree root, built once per run (in a module build between its first and second pass).
extern TModule* ModuleTree;

}  // namespace zintrel

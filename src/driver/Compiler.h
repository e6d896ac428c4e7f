#pragma once
// The compilation driver: one TCompiler turns a main source file into an executable (program
// build) or a module archive (module build).
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "modules/DependencyNode.h"

namespace zintrel {

class TClassNode;
class TModule;
class TModuleScope;
class TProgramNode;
class TScope;

class TCompiler {
 public:
  int32_t ModuleBuild = 0;
  std::string MainPath;
  std::string MainDir;
  TProgramNode* MainRoot = nullptr;
  int32_t ForceRecompile = 0;
  int Jobs = 1;  // compiles that may run at once (ZINTREL_JOBS)
  std::vector<std::string> CompileQueue;
  std::vector<TProgramNode*> Roots;
  TProgramNode* ASTRoot = nullptr;
  TProgramNode* ImportModuleRoot = nullptr;
  std::map<std::string, TProgramNode*> ImportModuleMap;
  std::map<std::string, TProgramNode*> RootMap;
  std::vector<std::string> LibraryList;
  std::vector<std::string> Config;

  int Clear();
  int Setup(const std::vector<std::string>& options, const std::string& file);
  int Parse();
  // Checks the merged program in a program scope below the module scope.
  int SemanticAnalysis();
  int InitTarget();
  // Sorts a parsed file's imports into headers, C/C++ sources, objects, libraries and source
  // files of the program (queued).
  void ClassifyImports(TProgramNode* root, const std::string& path);
  // Connects the parser to the lexer and to the list and text emitters.
  static int InitFunctionTable();
  // Keeps the options file of the main file's build folder; true when the debug setting
  // differs from the one recorded by the previous build there. A changed setting is written
  // (RecordCompilerOptions on OptionsToRecord) when Compile has completed.
  bool UpdateCompilerOptions(const std::string& path);
  void RecordCompilerOptions(const std::string& optionsFile) const;
  std::string OptionsToRecord;

  // Paths of generated files.
  static std::string GenerateTargetPath(const std::string& source);
  static std::string GenerateModuleTargetPath(const std::string& codeFile);
  std::string GenerateProjectTargetPath() const;
  static std::string GenerateClassTargetPath(const std::string& rootSourceFile,
                                             const std::string& classIdentifier);
  static std::string GenerateRelativeTargetPath(const std::string& from, const std::string& source,
                                                bool module);
  static std::string GenerateIncludeGuard(const std::string& name);
  static bool IsModule(const std::string& path);

  // Writes the headers of every parsed file (and, in a module build, the module header).
  int GenerateHeaderFiles();
  // Writes sources and records, compiles, links or archives, and runs the program when asked;
  // answers the process's exit status (1 when the program run failed).
  int Compile();

  // Generated files around the back end's code; each is written whole, and a file that cannot
  // be written ends the compilation.
  using TLinkMap = std::map<TDependencyNode*, int, TBySequence>;
  static int ResolveModuleLinkDependencies(TDependencyNode* node, TLinkMap& linkMap);
  // The modules of a link map in link order: every module before the modules it uses, as the
  // linker resolves archives from left to right.
  static std::vector<TDependencyNode*> ModulesInLinkOrder(const TLinkMap& linkMap);
  int GenerateRootHeader(TProgramNode* root);
  int GenerateClassHeader(TProgramNode* root, TClassNode* c);
  int GenerateRootCode(TProgramNode* root);
  // The project source: start-up, the top-level code of every linked module (each after the
  // modules it uses; modules in link order), then that of the program's files.
  // Its object is compiled again only when its text changed (or the start-up it includes was
  // rebuilt): ProjectNeedsCompile tells CompileProject.
  int GenerateProjectCode(const std::vector<TDependencyNode*>& modules);
  bool ProjectNeedsCompile = true;
  // A module build's start function, which runs the top-level code of the module's files, and
  // its name, taken from the code file's place in the module tree.
  int GenerateModuleInitCode();
  static std::string ModuleInitIdentifier(const std::string& codePath);
  int GenerateModuleHeaderFile(const std::string& path);
  static std::string GenerateModuleIncludes(TDependencyNode* node, const std::string& from,
                                            const TLinkMap* skip);
  static std::string GenerateClassIncludes(TProgramNode* root, const std::string& from);

  // The toolchain: each runs one child and shows its output; a compile step whose error output
  // holds "error:" ends the compilation. Run answers 1 when the program failed, else 0.
  int InvokeCompilation(const std::string& sourcePart, const std::string& includePart);
  // Links into the output's part, renamed into place once complete. A link whose command line
  // is the one recorded by the last link, whose inputs are all older than the output it left,
  // is not run again.
  int InvokeLink(const std::string& objects, const std::vector<std::string>& inputs,
                 const std::string& output);
  static int InvokePartialLink(const std::string& objects, const std::string& output);
  static int InvokeArchive(const std::string& objects, const std::string& output);
  static int Run(const std::string& commandLine);
  // With more than one job allowed (ZINTREL_JOBS), starts the build's compiles ahead of it.
  void CompileAhead();
  // Compiles a parsed file (with the C/C++ sources it imports) into its one object file.
  int CompileRoot(TProgramNode* root);
  int CompileProject();
  // Compiles a module build's start function; answers its object's path.
  std::string CompileModuleInit();

  // Messages: all go to standard output, one line feed appended, flushed at once.
  static void OutputCompilerMessage(std::string_view message);
  static void Info(std::string_view message);
  static void Warn(std::string_view message);
  [[noreturn]] static void Abort(std::string_view message);

  // Modules, dependency records and rebuild decisions (defined in modules/).
  static std::vector<TModule*> LoadModules(const std::string& pattern,
                                           std::map<std::string, TModule*>* loaded,
                                           std::vector<TModule*>* list, bool silent);
  static TModuleScope* CheckModuleScope(TScope* parent, const std::vector<TModule*>& modules);
  static int32_t CompilationNecessary(const std::string& path, TProgramNode*& root);
  static int32_t ModuleCompilationNecessary(const std::string& path, TProgramNode*& root);
  static TProgramNode* LoadRootFromDep(const std::string& record, const std::string& source);
  // From now on a semantic error in a file whose declarations came from its record deletes that
  // record and runs this command line once more, so that the file compiles from its source.
  static void RebuildFilesWithBadRecords(const std::vector<std::string>& arguments);
  int GenerateDependenciesFile(TProgramNode* root, std::string path);
  std::vector<std::string> DependencyLines(TProgramNode* root) const;

  const std::string& ConfigValue(int index) const;
  bool ConfigFlag(int index) const;
};

// Seeds the generator behind include guards.
void SeedRandomGenerator(uint64_t seed);

}  // namespace zintrel

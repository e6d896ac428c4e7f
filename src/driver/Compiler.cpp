#include "driver/Compiler.h"

#include <cstdio>
#include <random>
#include <unordered_map>

#include "cpp/CPPNodes.h"
#include "cpp/CPPTarget.h"
#include "driver/CommandLine.h"
#include "driver/CompileAhead.h"
#include "driver/Toolchain.h"
#include "modules/Module.h"
#include "support/Messages.h"
#include "support/Files.h"
#include "support/Paths.h"
#include "support/Text.h"
#include "frontend/Lexer.h"
#include "frontend/Parser.h"
#include "model/NodeFactory.h"
#include "model/ProgramNode.h"
#include "model/Scope.h"
#include "modules/DependencyNode.h"
#include "modules/ModuleScope.h"
#include "modules/ProgramModules.h"

namespace zintrel {

namespace {

std::mt19937_64& Generator() {
  static std::mt19937_64 generator(0);
  return generator;
}

// The build folder next to a source folder; the build cannot go on without it. Paths are
// also computed for folders that do not exist (yet), which only have no build folder.
void RequireFolder(const std::string& folder) {
  if (!CreateFolder(folder) && FolderExists(FolderPart(folder)))
    TCompiler::Abort("Unable to create folder " + folder);
}

}  // namespace

void SeedRandomGenerator(uint64_t seed) { Generator().seed(seed); }

const std::string& TCompiler::ConfigValue(int index) const {
  static const std::string empty;
  return index >= 0 && static_cast<size_t>(index) < Config.size()
             ? Config[static_cast<size_t>(index)]
             : empty;
}

bool TCompiler::ConfigFlag(int index) const { return ConfigValue(index) == FLAG_ON; }

int TCompiler::Clear() {
  ModuleBuild = 0;
  MainRoot = nullptr;
  CompileQueue.clear();
  Roots.clear();
  LibraryList.clear();
  ASTRoot = TCPPProgramNode::Create();
  ImportModuleRoot = TCPPProgramNode::Create();
  ImportModuleMap.clear();
  RootMap.clear();
  return 0;
}

int TCompiler::Setup(const std::vector<std::string>& options, const std::string& file) {
  Clear();
  MainPath = AbsolutePath(file);
  Config = options;
  MainDir = FolderPart(MainPath);
  Jobs = CompileJobs();
  ModuleBuild = IsModule(MainPath) ? 1 : 0;
  ForceRecompile = ConfigFlag(CONFIG_RECOMPILE) ? 1 : 0;
  if (UpdateCompilerOptions(MainPath)) ForceRecompile = 1;
  InitTarget();
  ActiveTarget->InitFunctionTable();
  InitFunctionTable();
  return 0;
}

int TCompiler::InitFunctionTable() {
  // The parser's token location record lives for the whole run.
  static LocationRecord tokenLocation;
  TLexer::TokenLocation = &tokenLocation;
  return 0;
}

bool TCompiler::UpdateCompilerOptions(const std::string& path) {
  OptionsToRecord.clear();
  std::string folder = FolderPart(path) + "/" + BUILD_FOLDER;
  RequireFolder(folder);
  std::string optionsFile = folder + "/" + OPTIONS_FILE;
  const std::string flag = ConfigFlag(CONFIG_DEBUG) ? "d" : " ";
  // The recorded flag is the first line, up to a zero byte.
  std::vector<std::string> lines;
  if (FileExists(optionsFile) && ReadTextLines(optionsFile, lines)) {
    std::string recorded = lines.empty() ? std::string() : lines[0].substr(0, lines[0].find('\0'));
    if (recorded == flag) return false;
  }
  // A changed setting is recorded once a build with it is complete: until then records and
  // objects made with the old one may remain, and a build killed or failed midway must leave
  // the next one compiling everything again. The first build here records it at once.
  if (FileExists(optionsFile)) OptionsToRecord = optionsFile;
  else RecordCompilerOptions(optionsFile);
  return true;
}

void TCompiler::RecordCompilerOptions(const std::string& optionsFile) const {
  const std::string flag = ConfigFlag(CONFIG_DEBUG) ? "d" : " ";
  // A main file in a missing folder has no build folder; its "Unable to open file" comes next.
  if (!WriteTextLines(optionsFile, {flag}) && FolderExists(FolderPart(optionsFile)))
    Abort("Unable to write file " + optionsFile);
}

int TCompiler::InitTarget() {
  const std::string& target = ConfigValue(CONFIG_TARGET);
  if (target != "cpp") Abort("No such target: " + target);
  ActiveTarget = new TCPPTarget();
  return 0;
}

int TCompiler::Parse() {
  CompileQueue.push_back(MainPath);
  ASTRoot->SetSourceFile(MainPath);
  // Breadth-first over the queue; a file imported several times is processed once.
  for (size_t next = 0; next < CompileQueue.size(); ++next) {
    const std::string path = CompileQueue[next];
    if (RootMap.count(path) != 0) continue;
    if (!PathExists(path)) Abort("Unable to open file " + path);
    TASTNode::CommonSourceFile = path;
    // An unchanged file is rebuilt from its dependency record instead of being parsed.
    TProgramNode* root = nullptr;
    if (ForceRecompile || CompilationNecessary(path, root)) {
      Info("Compiling " + path);
      TLexer::Load(path);
      if (zintrel::Parse() != 0) {
        TLexer::CalculateLocation();
        Abort("Syntax error\nIn file " + path +
              LocationLines(TLexer::ErrorStartLine, TLexer::ErrorEndLine, TLexer::ErrorStartCol,
                            TLexer::ErrorEndCol));
      }
      root = TASTNode::CommonRoot;
      root->SetupChildren();
    }
    if (MainRoot == nullptr) MainRoot = root;
    ClassifyImports(root, path);
    RootMap[path] = root;
    Roots.push_back(root);
    ASTRoot->Merge(root);
  }
  CompileQueue.clear();
  TLexer::Release();
  ResolveRecordDependencies(Roots, RootMap);
  return 0;
}

int TCompiler::SemanticAnalysis() {
  // Names resolve through the program, the modules it imports, then the core modules.
  TScope* programScope = (new TScope())->Create(LoadProgramModules(Roots));
  ASTRoot->CheckCorrectness(programScope);
  return 0;
}

int TCompiler::GenerateHeaderFiles() {
  for (TProgramNode* root : Roots)
    if (!root->IsCompiled) GenerateRootHeader(root);
  if (ModuleBuild) GenerateModuleHeaderFile(GenerateModuleTargetPath(MainPath) + ".h");
  return 0;
}

namespace {

// Paths go into the tools' command lines inside double quotes, so one holding a double quote
// would split into other arguments: it is refused before anything runs.
void RequireSafePath(const std::string& path) {
  if (!SafeInCommandLine(path))
    TCompiler::Abort("Unable to build with the path '" + path + "': it contains a double quote");
}

// A library of a module or file: one with an extension lies next to the file that imports it.
std::string LibraryPath(const std::string& library, const std::string& importer) {
  if (ExtensionPart(library).empty() || (!library.empty() && library[0] == '/')) return library;
  return FolderPart(importer) + "/" + library;
}

// The nodes of the modules a file imports. A module's C++ code may need another module's
// without using any of its declarations (the start-up code needs the core runtime), so every
// import counts for records and links, used or not.
std::vector<TDependencyNode*> ImportedModules(const TProgramNode* root) {
  std::vector<TDependencyNode*> nodes;
  if (ModuleTree == nullptr) return nodes;
  for (std::string import : root->ModuleImports) {
    const bool wildcard = import.size() >= 2 && import.compare(import.size() - 2, 2, ".*") == 0;
    if (wildcard) import.erase(import.size() - 2);
    TModule* module = ModuleTree->Find(import);
    if (module == nullptr) continue;
    std::vector<std::string> scopes;
    if (wildcard) module->ToList(&scopes);
    else scopes.push_back(module->Scope);
    for (const std::string& scope : scopes)
      if (TModule* found = scope == module->Scope ? module : ModuleTree->Find(scope))
        if (found->IsModule && found->Dependencies != nullptr) nodes.push_back(found->Dependencies);
  }
  return nodes;
}

}  // namespace

int TCompiler::Compile() {
  const std::string& output = ConfigValue(CONFIG_OUTPUT);
  RequireSafePath(TPaths::ModuleRoot);
  RequireSafePath(output);
  for (TProgramNode* root : Roots) {
    RequireSafePath(root->SourceFile());
    for (const auto* list : {&root->CompileTargets, &root->LinkTargets, &root->Libraries})
      for (const std::string& path : *list) RequireSafePath(path);
  }
  // A file's main function is named after the file alone, so two files of one name in two
  // folders cannot be linked together: said plainly instead of by the linker.
  std::unordered_map<std::string, const TProgramNode*> mains;
  for (TProgramNode* root : Roots) {
    const std::string name = static_cast<TCPPProgramNode*>(root)->GenerateMainIdentifier();
    auto [known, added] = mains.emplace(name, root);
    if (!added)
      Abort("Unable to build the files " + known->second->SourceFile().str() + " and " +
            root->SourceFile().str() + " together: both give the main function '" + name +
            "'; rename one of them");
  }
  TModule* appInit = nullptr;
  if (!ModuleBuild) {
    appInit = ModuleTree != nullptr ? ModuleTree->Find(APPINIT_MODULE) : nullptr;
    if (appInit == nullptr || appInit->Dependencies == nullptr)
      Abort(std::string("Unable to find module '") + APPINIT_MODULE + "'");
  }

  for (TProgramNode* root : Roots) {
    if (root->IsCompiled) continue;
    GenerateRootCode(root);
    // The record keeps every imported module, used or not, so that a build taking the file
    // from its record links (and starts) the same modules as one that parsed it.
    if (root->Dependencies != nullptr)
      for (TDependencyNode* module : ImportedModules(root)) root->Dependencies->UsesOf(module);
    GenerateDependenciesFile(root, "");
  }
  if (ModuleBuild) {
    for (TProgramNode* root : Roots) {
      // Every file of the module is in its record, with the files and modules they use.
      if (root->Dependencies != nullptr) {
        ASTRoot->Dependencies->UsesOf(root->Dependencies);
        for (auto& [used, uses] : root->Dependencies->Dependencies)
          ASTRoot->Dependencies->UsesOf(used);
      }
      for (TDependencyNode* module : ImportedModules(root)) ASTRoot->Dependencies->UsesOf(module);
    }
    GenerateDependenciesFile(ASTRoot, GenerateModuleTargetPath(MainPath) + ".dep");
  }

  // The start function's or project's source is written before anything compiles, so that
  // every compile of the build is known at once and may run ahead.
  std::vector<TDependencyNode*> modules;
  if (ModuleBuild) {
    GenerateModuleInitCode();
  } else {
    TLinkMap linkMap;
    for (TProgramNode* root : Roots) {
      if (root->Dependencies != nullptr)
        for (auto& [used, uses] : root->Dependencies->Dependencies)
          if (used->IsModule) ResolveModuleLinkDependencies(used, linkMap);
      for (TDependencyNode* module : ImportedModules(root)) ResolveModuleLinkDependencies(module, linkMap);
    }
    ResolveModuleLinkDependencies(appInit->Dependencies, linkMap);
    // The project object references the start-up code, so it goes before the archives: the
    // linker takes from an archive only what the objects before it need.
    modules = ModulesInLinkOrder(linkMap);
    GenerateProjectCode(modules);
  }
  CompileAhead();

  // Every input of the link that is a file, for the decision whether to link again.
  std::vector<std::string> inputs;
  std::string objects;
  auto addInput = [&](const std::string& path) {
    objects += Quote(path) + " ";
    inputs.push_back(path);
  };
  for (TProgramNode* root : Roots) {
    if (!root->IsCompiled) CompileRoot(root);
    addInput(GenerateTargetPath(root->SourceFile()) + ".o");
  }
  if (ModuleBuild) {
    objects += Quote(CompileModuleInit()) + " ";
    TCompileAhead::Stop();
    InvokeArchive(objects, Quote(GenerateModuleTargetPath(MainPath) + ".a"));
    if (!OptionsToRecord.empty()) RecordCompilerOptions(OptionsToRecord);
    return 0;
  }
  CompileProject();
  TCompileAhead::Stop();
  addInput(GenerateProjectTargetPath() + ".o");
  for (TDependencyNode* node : modules) {
    const std::string archive = GenerateModuleTargetPath(node->CodePath) + ".a";
    RequireSafePath(archive);
    addInput(archive);
    if (node->SourceModule != nullptr)
      for (const std::string& library : node->SourceModule->Libraries)
        LibraryList.push_back(LibraryPath(library, node->CodePath));
  }
  for (TProgramNode* root : Roots)
    for (const std::string& library : root->Libraries)
      LibraryList.push_back(LibraryPath(library, root->SourceFile()));
  for (const std::string& library : LibraryList) {
    RequireSafePath(library);
    if (ExtensionPart(library).empty()) objects += "-l" + Quote(library) + " ";
    else addInput(library);
  }
  InvokeLink(objects, inputs, output);
  if (!OptionsToRecord.empty()) RecordCompilerOptions(OptionsToRecord);
  if (ConfigFlag(CONFIG_EXECUTE)) return Run(Quote(output));
  return 0;
}

void TCompiler::ClassifyImports(TProgramNode* root, const std::string& path) {
  const std::string folder = FolderPart(path);
  for (const std::string& import : root->FileImports) {
    std::string resolved = FullPath(folder + "/" + import);
    std::string extension = ToLower(ExtensionPart(import));
    if (extension == "h" || extension == "hpp" || extension == "hxx") {
      root->Includes.push_back(resolved);
    } else if (extension == "c" || extension == "cpp" || extension == "cxx") {
      root->CompileTargets.push_back(resolved);
    } else if (extension == "o") {
      root->LinkTargets.push_back(import);
    } else if (extension == "a" || extension == "so" || extension.empty()) {
      root->Libraries.push_back(import);
    } else {
      CompileQueue.push_back(resolved);
      if (root->IsCompiled) root->Dependencies->PathKeys.push_back(resolved);
    }
  }
}

std::string TCompiler::GenerateTargetPath(const std::string& source) {
  std::string full = FullPath(source);
  std::string folder = FolderPart(full) + "/" + BUILD_FOLDER;
  RequireFolder(folder);
  return folder + "/" + BareName(full);
}

std::string TCompiler::GenerateModuleTargetPath(const std::string& codeFile) {
  std::string full = FullPath(codeFile);
  std::string folder = FolderPart(full) + "/" + BUILD_FOLDER;
  RequireFolder(folder);
  return folder + "/Module" + BareName(full);
}

std::string TCompiler::GenerateProjectTargetPath() const {
  std::string target = GenerateTargetPath(MainRoot != nullptr ? MainRoot->SourceFile().str() : MainPath);
  return FolderPart(target) + "/Project" + BareName(target);
}

std::string TCompiler::GenerateClassTargetPath(const std::string& rootSourceFile,
                                               const std::string& classIdentifier) {
  return FolderPart(GenerateTargetPath(rootSourceFile)) + "/Class" + classIdentifier;
}

std::string TCompiler::GenerateRelativeTargetPath(const std::string& from,
                                                  const std::string& source, bool module) {
  if (!module) return RelativePath(from, GenerateTargetPath(source));
  std::string path = GenerateModuleTargetPath(source);
  std::string prefix = TPaths::ModuleRoot + "/";
  std::string result;
  for (size_t i = 0; i < path.size();) {
    if (path.compare(i, prefix.size(), prefix) == 0) {
      i += prefix.size();
    } else {
      result += path[i++];
    }
  }
  return result;
}

std::string TCompiler::GenerateIncludeGuard(const std::string& name) {
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08X",
                static_cast<unsigned>(Generator()() % 16777216u));
  std::string guard = ToUpper(IdentifierCharacters(name)) + "_" + digits;
  return "#ifndef " + guard + "\n#define " + guard + "\n";
}

bool TCompiler::IsModule(const std::string& path) {
  const std::string& root = TPaths::ModuleRoot;
  if (root.empty() || path.compare(0, root.size(), root) != 0) return false;
  return ToLower(BareName(path)) == ToLower(FilePart(FolderPart(path)));
}

void TCompiler::OutputCompilerMessage(std::string_view message) {
  zintrel::OutputCompilerMessage(message);
}

void TCompiler::Info(std::string_view message) { zintrel::OutputCompilerMessage(message); }

void TCompiler::Warn(std::string_view message) { zintrel::OutputCompilerMessage(message); }

void TCompiler::Abort(std::string_view message) { AbortWithMessage(message); }

}  // namespace zintrel

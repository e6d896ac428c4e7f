#include "driver/Compiler.h"

#include <cstdio>
#include <random>

#include "cpp/CPPTarget.h"
#include "driver/CommandLine.h"
#include "driver/Messages.h"
#include "driver/Paths.h"
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

// Reads the first line of a file: bytes up to a line feed, a zero byte or the end, carriage
// returns dropped. False when the file cannot be opened.
bool ReadFirstLine(const std::string& path, std::string& line) {
  if (!FileExists(path)) return false;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  line.clear();
  int c;
  while ((c = std::fgetc(f)) != EOF && c != '\n' && c != 0)
    if (c != '\r') line.push_back(static_cast<char>(c));
  std::fclose(f);
  return true;
}

// Writes one line of 8-bit text ended by CR LF.
void WriteLine(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fwrite("\r\n", 1, 2, f);
  std::fclose(f);
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
  std::string folder = FolderPart(path) + "/" + BUILD_FOLDER;
  CreateFolder(folder);
  std::string optionsFile = folder + "/" + OPTIONS_FILE;
  std::string flag = ConfigFlag(CONFIG_DEBUG) ? "d" : " ";
  std::string line;
  if (!ReadFirstLine(optionsFile, line)) {
    WriteLine(optionsFile, flag);
    return true;
  }
  if (line == flag) return false;
  WriteLine(optionsFile, flag);
  return true;
}

int TCompiler::InitTarget() {
  const std::string& target = ConfigValue(CONFIG_TARGET);
  if (target != "cpp") Abort("No such target: " + target);
  ActiveTarget = new TCPPTarget();
  return 0;
}

int TCompiler::Parse() {
  CompileQueue.push_back(MainPath);
  ASTRoot->SourceFile = MainPath;
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
        Abort("Syntax error\nIn file " + path + "\nIn line " +
              std::to_string(TLexer::ErrorStartLine) + "-" + std::to_string(TLexer::ErrorEndLine) +
              "\nIn column " + std::to_string(TLexer::ErrorStartCol) + "-" +
              std::to_string(TLexer::ErrorEndCol));
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
  ResolveRecordDependencies(Roots, RootMap);
  return 0;
}

int TCompiler::SemanticAnalysis() {
  // Names resolve through the program, the modules it imports, then the core modules.
  TScope* programScope = (new TScope())->Create(LoadProgramModules(Roots));
  ASTRoot->CheckCorrectness(programScope);
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
  CreateFolder(folder);
  return folder + "/" + BareName(full);
}

std::string TCompiler::GenerateModuleTargetPath(const std::string& codeFile) {
  std::string full = FullPath(codeFile);
  std::string folder = FolderPart(full) + "/" + BUILD_FOLDER;
  CreateFolder(folder);
  return folder + "/Module" + BareName(full);
}

std::string TCompiler::GenerateProjectTargetPath() const {
  std::string target = GenerateTargetPath(MainRoot != nullptr ? MainRoot->SourceFile.str() : MainPath);
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

// Rebuild decisions: whether a source file must be compiled again, and whether a module's build
// is older than its sources. File times are compared at the file system's full resolution, so
// that an edit made within the second of the last build still counts.
#include "driver/Compiler.h"
#include "support/Paths.h"
#include "model/ProgramNode.h"
#include "support/Files.h"
#include "modules/Module.h"

namespace zintrel {

namespace {

bool AllExist(const std::string& base, std::initializer_list<const char*> suffixes) {
  for (const char* suffix : suffixes)
    if (!PathExists(base + suffix)) return false;
  return true;
}

// Where a record's "File" entry lies: below the source's folder. Headers, C/C++ sources and
// libraries are listed by absolute path or bare name, so a file importing them is compiled again
// on every run (a module only checks entries with an extension).
std::string EntryPath(const std::string& folder, const std::string& entry) {
  return folder + "/" + entry;
}

bool KnowsEveryModule(const TProgramNode* root) {
  if (ModuleTree == nullptr) return true;
  for (const std::string& scope : root->ModuleImports)
    if (ModuleTree->Find(scope) == nullptr) return false;
  return true;
}

}  // namespace

int32_t TCompiler::CompilationNecessary(const std::string& path, TProgramNode*& root) {
  const std::string target = GenerateTargetPath(path);
  if (!AllExist(target, {".h", ".cpp", ".o", ".dep"})) return 1;
  const int64_t recordTime = FileTime(target + ".dep");
  if (recordTime < FileTime(path) || FileTime(target + ".o") < recordTime) return 1;
  root = LoadRootFromDep(target + ".dep", path);
  if (root == nullptr) return 1;  // unreadable: compiled again, and written anew
  if (!KnowsEveryModule(root)) return 1;
  const std::string folder = FolderPart(path);
  for (const std::string& entry : root->FileImports) {
    const std::string at = EntryPath(folder, entry);
    if (!PathExists(at) || FileTime(at) > recordTime) return 1;
  }
  return 0;
}

int32_t TCompiler::ModuleCompilationNecessary(const std::string& path, TProgramNode*& root) {
  if (!AllExist(GenerateTargetPath(path), {".dep", ".h", ".cpp", ".o"})) return 1;
  const std::string module = GenerateModuleTargetPath(path);
  if (!AllExist(module, {".dep", ".a", ".h"})) return 1;
  root = LoadRootFromDep(module + ".dep", path);
  if (root == nullptr) return 1;
  if (!KnowsEveryModule(root)) return 1;
  const int64_t recordTime = FileTime(module + ".dep");
  const std::string folder = FolderPart(path);
  for (const std::string& entry : root->FileImports) {
    const std::string extension = ToLower(ExtensionPart(entry));
    if (!extension.empty()) {
      const std::string at = EntryPath(folder, entry);
      if (!PathExists(at) || FileTime(at) > recordTime) return 1;
    }
    if (extension == "a" || extension == "so" || extension.empty()) root->Libraries.push_back(entry);
  }
  return PathExists(path) && FileTime(path) >= recordTime ? 1 : 0;
}

}  // namespace zintrel

// Usage: module_bench [modules [files [runs [functions]]]] (default 1000 modules, 100 files,
// 3 runs, 5 functions and 2 classes per file, about 45 lines).
//   1. The records of N modules of 50 declarations each: building the module tree, reading the
//      records (with the rebuild decision of each module), checking the module scope.
//   2. A program of M files: parsing and checking it from source, against the no-change path
//      (every file rebuilt from its record, then checked).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cpp/CPPTarget.h"
#include "driver/Compiler.h"
#include "support/Paths.h"
#include "model/ASTNode.h"
#include "model/NodeFactory.h"
#include "model/ProgramNode.h"
#include "modules/Module.h"
#include "modules/ModuleScope.h"

namespace {

using namespace zintrel;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Text and a number, built by appending (which also keeps g++ 12's -Wrestrict quiet).
std::string Cat(const char* text, int number) {
  std::string result = text;
  result += std::to_string(number);
  return result;
}

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

void SetTime(const std::string& path, time_t seconds) {
  timespec times[2] = {{seconds, 0}, {seconds, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void Write(const fs::path& path, const std::string& text, time_t seconds) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
  SetTime(path.string(), seconds);
}

// The compiler's lines go nowhere while a run is timed.
class TQuiet {
 public:
  TQuiet() : Saved(dup(1)) {
    std::fflush(stdout);
    if (std::getenv("BENCH_VERBOSE") != nullptr) return;
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~TQuiet() {
    std::fflush(stdout);
    dup2(Saved, 1);
    close(Saved);
  }

 private:
  int Saved;
};

std::string ModuleRecord(int i) {
  std::string r = "Imports:\r\n";
  if (i > 0) r += "Module Bench.M" + std::to_string(i - 1) + "\r\n";
  r += "\nExports:\r\n";
  if (i == 0)
    r += "Extern\r\n1-1:1-9 Class Object\r\nEndClass\r\n"
         "Extern\r\n2-2:1-9 Class String Extends Object Final\r\nEndClass\r\n";
  const std::string n = std::to_string(i);
  for (int k = 0; k < 10; ++k) r += "1-1:1-20 Const C" + n + "_" + std::to_string(k) + ":Int=" + std::to_string(k) + "\r\n";
  for (int k = 0; k < 10; ++k)
    r += "2-2:1-20 Global G" + n + "_" + std::to_string(k) + ":" + (i > 0 ? Cat("K", i - 1) : "Int") + "\r\n";
  for (int k = 0; k < 20; ++k)
    r += "3-5:1-12 Function F" + n + "_" + std::to_string(k) + ":Double(a:Int, b:String=)\r\n";
  // Classes extend the previous module's class in chains of ten.
  r += "Extern\r\n6-20:1-9 Class K" + n + (i % 10 != 0 ? " Extends K" + std::to_string(i - 1) : "") +
       "\r\n";
  for (int k = 0; k < 3; ++k) r += "7-7:2-20 Field X" + n + "_" + std::to_string(k) + ":Int\r\n";
  for (int k = 0; k < 5; ++k) r += "8-9:2-20 Method M" + n + "_" + std::to_string(k) + ":Int(v:Int)\r\n";
  r += "Private\r\nProtected\r\nEndClass\r\n";
  return r;
}

void BenchModules(const fs::path& base, int count, int runs) {
  TPaths::ModuleRoot = (base / "mod").string();
  for (int i = 0; i < count; ++i) {
    const std::string name = Cat("M", i);
    const fs::path folder = base / "mod/Bench" / name;
    Write(folder / (name + ".zn"), "", 1000000000);
    for (const std::string& output : {name + ".h", name + ".cpp", name + ".o", name + ".dep",
                                      "Module" + name + ".a", "Module" + name + ".h"})
      Write(folder / ".zintrel" / output, "", 2000000000);
    Write(folder / ".zintrel" / ("Module" + name + ".dep"), ModuleRecord(i), 2000000000);
  }
  double tree = 1e9, read = 1e9, check = 1e9;
  size_t usable = 0;
  for (int run = 0; run < runs; ++run) {
    TQuiet quiet;
    Clock::time_point start = Clock::now();
    ModuleTree = (new TModule())->Load(nullptr, "");
    tree = std::min(tree, Seconds(start));
    start = Clock::now();
    std::vector<TModule*> modules = TCompiler::LoadModules("Bench.*", nullptr, nullptr, false);
    read = std::min(read, Seconds(start));
    start = Clock::now();
    TModuleScope* scope = TCompiler::CheckModuleScope(nullptr, modules);
    check = std::min(check, Seconds(start));
    usable = scope->ModuleList.size();
  }
  std::printf("%d modules x 50 declarations: module tree %.3f s, records read %.3f s, "
              "module scope checked %.3f s, total %.3f s (%zu usable)\n",
              count, tree, read, check, tree + read + check, usable - 1);
}

std::string ProgramFile(int i, int files, int functions) {
  const std::string n = std::to_string(i);
  std::string text;
  if (i == 0) {
    text += "Extern\n  Class Object\n  EndClass\n  Class String Extends Object Final\n  EndClass\n"
            "  Class Array Extends Object Final\n  EndClass\nEndExtern\n";
    for (int k = 1; k < files; ++k) text += "Import \"part" + std::to_string(k) + ".zn\"\n";
  }
  text += "Const Base" + n + ":Int = " + n + "\n";
  text += "Global Total" + n + ":Long\n";
  for (int k = 0; k < functions; ++k) {
    const std::string f = "F" + n + "_" + std::to_string(k);
    text += "Function " + f + ":Int(v:Int, w:Int = 2)\n"
            "  Local t:Int = v * w + Base" + n + "\n"
            "  If t > 10 Then\n"
            "    t = t - " + (i > 0 ? Cat("F", i - 1) + "_0(1)" : std::string("1")) + "\n"
            "  EndIf\n"
            "  Return t\n"
            "EndFunction\n";
  }
  for (int k = 0; k < 2; ++k) {
    text += "Class K" + n + "_" + std::to_string(k) + "\n"
            "  Field X:Int\n"
            "  Field Name:String\n"
            "  Method Get:Int()\n"
            "    Return X + Base" + n + "\n"
            "  EndMethod\n"
            "EndClass\n";
  }
  text += "Total" + n + " = F" + n + "_0(3)\n";
  return text;
}

void BenchProgram(const fs::path& base, int files, int runs, int functions) {
  TPaths::ModuleRoot = (base / "nomod").string();
  ModuleTree = (new TModule())->Load(nullptr, "");
  CoreModuleScope = nullptr;
  const fs::path folder = base / "program";
  for (int i = 0; i < files; ++i)
    Write(folder / (i == 0 ? std::string("main.zn") : "part" + std::to_string(i) + ".zn"),
          ProgramFile(i, files, functions), 1000000000);
  const std::string main = (folder / "main.zn").string();
  const std::vector<std::string> release = {"a.out", "", "", "", "", "cpp", ""};
  std::vector<std::string> forced = release;
  forced[4] = "on";

  double fromSource = 1e9;
  for (int run = 0; run < runs; ++run) {
    TQuiet quiet;
    TCompiler compiler;
    const Clock::time_point start = Clock::now();
    compiler.Setup(forced, main);
    compiler.Parse();
    compiler.SemanticAnalysis();
    fromSource = std::min(fromSource, Seconds(start));
    if (run == 0) {
      for (TProgramNode* root : compiler.Roots) {
        compiler.GenerateDependenciesFile(root, "");
        const std::string target = TCompiler::GenerateTargetPath(root->SourceFile());
        SetTime(target + ".dep", 2000000000);
        for (const char* suffix : {".h", ".cpp", ".o"}) Write(target + suffix, "", 2000000000);
      }
    }
  }
  double decide = 1e9, unchanged = 1e9;
  size_t rebuilt = 0;
  for (int run = 0; run < runs; ++run) {
    TQuiet quiet;
    TCompiler compiler;
    Clock::time_point start = Clock::now();
    compiler.Setup(release, main);
    compiler.Parse();
    decide = std::min(decide, Seconds(start));
    compiler.SemanticAnalysis();
    unchanged = std::min(unchanged, Seconds(start));
    rebuilt = static_cast<size_t>(std::count_if(compiler.Roots.begin(), compiler.Roots.end(),
                                                [](TProgramNode* r) { return r->IsCompiled != 0; }));
  }
  size_t lines = 0;
  for (int i = 0; i < files; ++i) {
    const std::string text = ProgramFile(i, files, functions);
    lines += static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  }
  std::printf("%d-file program (%zu lines): parse + check from source %.3f s; no change: "
              "decisions and records %.3f s, with the check %.3f s (%zu files from records)\n",
              files, lines, fromSource, decide, unchanged, rebuilt);
}

}  // namespace

int main(int argc, char** argv) {
  const int modules = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int files = argc > 2 ? std::atoi(argv[2]) : 100;
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  const int functions = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  TASTNode::InitStackLimit();
  ActiveTarget = new TCPPTarget();
  const fs::path base = fs::temp_directory_path() / ("zintrel-module-bench-" + std::to_string(getpid()));
  fs::remove_all(base);
  fs::create_directories(base);
  BenchModules(base, modules, runs);
  BenchProgram(base, files, runs, functions);
  fs::remove_all(base);
  return 0;
}

// Throughput of the whole front end, C++ generation included: lex, parse and check a generated
// program of realistic shape (classes, functions, every loop, Select, arithmetic, strings,
// arrays), then generate its header, class headers and source (written to a file, as in a
// build). Each phase is timed.
// Usage: generate_bench [lines] (default 100000) or generate_bench <file.zn>.
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cpp/CPPNodes.h"
#include "driver/Compiler.h"
#include "support/Files.h"

namespace {

using namespace zintrel;

// The process's resident memory now (VmRSS) or at its peak (VmHWM), in MB.
double ResidentMB(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + std::string(field).size() + 1) / 1024;
  return 0;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

const char* const Prelude =
    "Extern\n"
    "  Class Object\n"
    "  EndClass\n"
    "  Class String Extends Object Final\n"
    "    Method Length:Int()\n"
    "  EndClass\n"
    "  Class Array Extends Object Final\n"
    "    Field Length:Int\n"
    "  EndClass\n"
    "  Function Print(text:String)\n"
    "EndExtern\n";

// One class and two functions of 40 lines; @ is the unit's number.
const char* const Unit[] = {
    "Class TShape@\n",
    "\tField x:Float, y:Float = 1.5\n",
    "\tField tag:String = \"shape\"\n",
    "\tField cache:Int[] = New Int[16]\n",
    "\tGlobal count:Int = 0\n",
    "\tMethod Area:Double(scale:Double = 1.0d)\n",
    "\t\tReturn x * y * scale + Double(count Mod 7)\n",
    "\tEndMethod\n",
    "EndClass\n",
    "Function Compute@:Int(a:Int, b:Int[], c:Long = 10L)\n",
    "\tLocal total:Int = 0, i:Int, f:Float = 0.25\n",
    "\tFor Local k:Int = 0 Until b.Length Step 1\n",
    "\t\tIf Not b[k] > a And k <> 3 Then total = total + b[k] Else total = total - 1\n",
    "\tNext\n",
    "\tWhile total > 100 Or a >= 0\n",
    "\t\ttotal = total / 2 - (a Shl 1) + (total & 10) ~ 3\n",
    "\t\ta = a - 1\n",
    "\tWend\n",
    "\tSelect total Mod 4\n",
    "\tCase 0\n",
    "\t\tPrint(\"zero \" + total + \" \" + f)\n",
    "\tCase 1\n",
    "\t\ttotal = -total\n",
    "\tDefault\n",
    "\t\tLocal s:TShape@ = New TShape@\n",
    "\t\ttotal = total + Int(s.Area(2.0d))\n",
    "\tEndSelect\n",
    "\tFor i = 0 To 9\n",
    "\t\tIf i = 5 Then Exit\n",
    "\t\tIf i = 2 Then Continue\n",
    "\tNext\n",
    "\tReturn total + Int(c)\n",
    "EndFunction\n",
    "Function Main@()\n",
    "\tLocal values:Int[] = [1, 2, 3, 4]\n",
    "\tRepeat\n",
    "\t\tvalues[0] = Compute@(values[1], values) * 2\n",
    "\tUntil values[0] > 1000 Or values[0] < -1000\n",
    "EndFunction\n",
    "\n",
};

std::string Generate(int lines, int& written) {
  std::string out = Prelude;
  written = 11;
  for (int n = 0; written < lines; ++n) {
    const std::string id = std::to_string(n);
    for (const char* line : Unit) {
      for (const char* c = line; *c != 0; ++c) {
        if (*c == '@') {
          out += id;
        } else {
          out += *c;
        }
      }
      ++written;
    }
  }
  return out;
}

}  // namespace

int Bench(int argc, char** argv) {
  std::string path;
  int lines = 0;
  bool generated = false;
  if (argc > 1 && std::atoi(argv[1]) == 0) {
    path = std::filesystem::absolute(argv[1]).string();
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) ++lines;
  } else {
    const int wanted = argc > 1 ? std::atoi(argv[1]) : 100000;
    path = (std::filesystem::temp_directory_path() /
            ("zintrel_generate_bench_" + std::to_string(getpid()) + ".zn"))
               .string();
    std::ofstream(path, std::ios::binary) << Generate(wanted, lines);
    generated = true;
  }

  const double before = ResidentMB("VmRSS");
  TCompiler compiler;
  auto start = std::chrono::steady_clock::now();
  compiler.Setup({"a.out", "", "", "", "on", "cpp", ""}, path);
  compiler.Parse();
  const double parse = Seconds(start);
  const double parsed = ResidentMB("VmHWM");
  start = std::chrono::steady_clock::now();
  compiler.SemanticAnalysis();
  const double check = Seconds(start);
  const double checked = ResidentMB("VmHWM");

  // Generation changes nothing in the tree: the best of five runs.
  size_t bytes = 0;
  double generate = 1e9;
  auto* root = static_cast<TCPPProgramNode*>(compiler.MainRoot);
  for (int run = 0; run < (std::getenv("GENERATE_RUNS") ? std::atoi(std::getenv("GENERATE_RUNS")) : 5); ++run) {
    start = std::chrono::steady_clock::now();
    bytes = root->GenerateHeaderCode("").size();
    for (TClassNode* cls : root->Classes)
      if (cls->IsExtern == 0) bytes += root->GenerateClassHeaderCode("", cls).size();
    // The source goes to its file as it is made, as in a build.
    TTextFileWriter source;
    source.Open(path + ".cpp");
    root->WriteCode(source, "");
    if (!source.Close()) return 1;
    generate = std::min(generate, Seconds(start));
    bytes += std::filesystem::file_size(path + ".cpp");
    std::filesystem::remove(path + ".cpp");
  }
  if (generated) std::filesystem::remove(path);

  const double total = parse + check + generate;
  std::printf("%d lines, %.1f MB of C++\n", lines, static_cast<double>(bytes) / 1e6);
  std::printf("lex + parse:  %.3f s\ncheck:        %.3f s\ngenerate:     %.3f s\n", parse, check,
              generate);
  const double peak = ResidentMB("VmHWM");
  std::printf("peak memory:  %.1f MB after parse, %.1f after check, %.1f after generation"
              " (%.0f before), %.2f KB/line\n",
              parsed, checked, peak, before, peak * 1024 / lines);
  std::printf("front end with generation: %.3f s, %.2f M lines/s\n", total, lines / total / 1e6);
  return 0;
}

// The compiler walks its trees recursively and runs on a large stack; so does the benchmark.
int main(int argc, char** argv) {
  struct TArguments {
    int Argc;
    char** Argv;
    int Status;
  } arguments{argc, argv, 0};
  pthread_attr_t attributes;
  pthread_t thread;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, size_t{1} << 30);
  pthread_create(
      &thread, &attributes,
      [](void* data) -> void* {
        auto* a = static_cast<TArguments*>(data);
        TASTNode::InitStackLimit();
        a->Status = Bench(a->Argc, a->Argv);
        return nullptr;
      },
      &arguments);
  pthread_join(thread, nullptr);
  return arguments.Status;
}

// Throughput of the whole front end, C++ generation included: lex, parse and check a generated
// program of realistic shape (classes, functions, every loop, Select, arithmetic, strings,
// arrays), then generate its header, class headers and source (written to a file, as in a
// build). Each phase is timed. Every run is a process of its own, as a compile is: timings on
// a shared machine vary from run to run by half and more, so the best and the median of the
// runs are given.
// Usage: generate_bench [lines | file.zn] [runs] (default 100000 lines, 5 runs).
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// One compile of the file, in this process; prints its figures on one line for the parent.
int RunOnce(const std::string& path) {
  const double before = ResidentMB("VmRSS");
  TCompiler compiler;
  auto start = std::chrono::steady_clock::now();
  compiler.Setup({"a.out", "", "", "", "on", "cpp", ""}, path);
  compiler.Parse();
  const double parse = Seconds(start);
  start = std::chrono::steady_clock::now();
  compiler.SemanticAnalysis();
  const double check = Seconds(start);

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
  std::printf("%.6f %.6f %.6f %.3f %.3f %zu\n", parse, check, generate, ResidentMB("VmHWM"), before,
              bytes);
  return 0;
}

int Bench(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--once") return RunOnce(argv[2]);
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
  const int runs = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);

  // Each run's figures: parse, check, generate, the sum, peak memory.
  std::vector<std::array<double, 5>> figures;
  double before = 0;
  size_t bytes = 0;
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  for (int run = 0; run < runs; ++run) {
    const std::string command = "'" + self + "' --once '" + path + "'";
    FILE* child = popen(command.c_str(), "r");
    // The compiler says what it compiles; the figures are the last line.
    char line[512] = "", last[512] = "";
    while (child != nullptr && std::fgets(line, sizeof line, child) != nullptr)
      std::snprintf(last, sizeof last, "%s", line);
    std::array<double, 5> f{};
    const int read = std::sscanf(last, "%lf %lf %lf %lf %lf %zu", &f[0], &f[1], &f[2], &f[4],
                                 &before, &bytes);
    if (child == nullptr || pclose(child) != 0 || read != 6) {
      std::fprintf(stderr, "run %d failed\n", run + 1);
      if (generated) std::filesystem::remove(path);
      return 1;
    }
    f[3] = f[0] + f[1] + f[2];
    figures.push_back(f);
  }
  if (generated) std::filesystem::remove(path);

  auto best = [&](size_t i) {
    double value = 1e9;
    for (const auto& f : figures) value = std::min(value, f[i]);
    return value;
  };
  auto median = [&](size_t i) {
    std::vector<double> values;
    for (const auto& f : figures) values.push_back(f[i]);
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  std::printf("%d lines, %.1f MB of C++, %d runs (best, median)\n", lines,
              static_cast<double>(bytes) / 1e6, runs);
  const char* const names[] = {"lex + parse:", "check:", "generate:"};
  for (size_t i = 0; i < 3; ++i) std::printf("%-13s %.3f s, %.3f s\n", names[i], best(i), median(i));
  const double peak = [&] {
    double value = 0;
    for (const auto& f : figures) value = std::max(value, f[4]);
    return value;
  }();
  std::printf("peak memory:  %.1f MB (%.0f before), %.2f KB/line\n", peak, before,
              peak * 1024 / lines);
  std::printf("front end with generation: %.3f s, %.2f M lines/s (median %.3f s, %.2f M lines/s)\n",
              best(3), lines / best(3) / 1e6, median(3), lines / median(3) / 1e6);
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

// Lex + parse throughput (the tree included) on a generated program of realistic shape:
// classes with visibility sections, functions with loops, branches, Select, one-line Ifs,
// continuations, comments and every kind of literal. The lexer alone is timed on the same file
// for comparison.
// Usage: parser_bench [lines [runs]] (default 100000 lines, 5 runs).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cpp/CPPTarget.h"
#include "driver/Compiler.h"
#include "frontend/Lexer.h"
#include "frontend/Parser.h"
#include "model/NodeFactory.h"
#include "model/ASTNode.h"
#include "GenerateProgram.h"

namespace {

using namespace zintrel;
using bench::Cat;
using bench::Generate;

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
  int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  if (lines < 1) lines = 1;
  if (runs < 1) runs = 1;

  int written = 0;
  std::string source = Generate(lines, written);
  std::string path = (std::filesystem::temp_directory_path() /
                      Cat("zintrel_parser_bench_", std::to_string(getpid()), ".zn"))
                         .string();
  std::ofstream(path, std::ios::binary) << source;

  ActiveTarget = new TCPPTarget();
  TCompiler::InitFunctionTable();
  TASTNode::CommonSourceFile = path;

  double bestLex = 1e9, bestParse = 1e9, totalParse = 0;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    TLexer::Load(path);
    while (TLexer::GetNextTokenStatic() > 0) {
    }
    bestLex = std::min(bestLex, Seconds(start));

    start = std::chrono::steady_clock::now();
    TLexer::Load(path);
    int result = Parse();
    double seconds = Seconds(start);
    if (result != PARSE_ACCEPTED) {
      TLexer::CalculateLocation();
      std::fprintf(stderr, "parse failed (%d) at line %d, column %d\n", result,
                   TLexer::ErrorStartLine, TLexer::ErrorStartCol);
      std::filesystem::remove(path);
      return 1;
    }
    bestParse = std::min(bestParse, seconds);
    totalParse += seconds;
  }
  std::filesystem::remove(path);

  std::printf("%d lines, %.1f MB, %d runs\n", written, static_cast<double>(source.size()) / 1e6,
              runs);
  std::printf("lex only:          best %.2f M lines/s\n", written / bestLex / 1e6);
  std::printf("lex + parse + tree: best %.2f M lines/s, mean %.2f M lines/s\n",
              written / bestParse / 1e6, written * runs / totalParse / 1e6);
  return 0;
}

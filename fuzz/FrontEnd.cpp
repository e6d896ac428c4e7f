// Fuzz target: the lexer, parser and checker on one source file, stopped before code generation
// so that no C++ compiler runs per input.
#include <cstdio>

#include "Harness.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: fuzz_frontend FILE.zn\n", stderr);
    return 2;
  }
  zintrel::TPaths::InitStartup();
  zintrel::TCompiler compiler;
  zintrel::fuzz::SetupAndFork(compiler, argv[1]);
  return zintrel::fuzz::RunOnLargeStack(
      [](zintrel::TCompiler& c) {
        c.Parse();
        c.SemanticAnalysis();
      },
      compiler);
}

#pragma once
// Shared start of the fuzz targets. Each target handles one input file per process: the compiler
// ends the process on the first error and keeps its nodes until then, so the fork server (started
// after the module tree is loaded, which no input changes) gives every input a fresh process.
#include <pthread.h>

#include <string>
#include <vector>

#include "driver/CommandLine.h"
#include "driver/Compiler.h"
#include "model/ASTNode.h"
#include "modules/ModuleScope.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace zintrel::fuzz {

// Sets the compiler up for a program build of `mainFile` (absolute, or relative to where the
// target was started) and loads the core modules, then starts the fork server: everything after
// this runs once per input. TPaths::InitStartup must have run.
inline void SetupAndFork(TCompiler& compiler, const std::string& mainFile) {
  PrepareDeepExit();
  CLI cli;
  cli.AddCompilerOptions();
  if (cli.ParseCommandLine({"zintrel", mainFile}) == 0) ExitProcess(2);
  compiler.Setup(cli.Config, cli.InputFile);
  // A new build folder counts as changed options, which would recompile every file and never
  // read a record.
  compiler.ForceRecompile = 0;
  LoadModuleTree();
#ifdef __AFL_HAVE_MANUAL_CONTROL
  __AFL_INIT();
#endif
}

// Runs `body` on a thread with a large stack, as the compiler itself does, and ends the process
// as the compiler does after a build that reached its end. The stack is smaller than the
// compiler's: the sanitizers clear a thread's whole stack shadow when it ends, which for the
// compiler's stack cost more than the rest of a run, and the depth guard adapts to the size.
inline int RunOnLargeStack(void (*body)(TCompiler&), TCompiler& compiler) {
  struct TJob {
    void (*Body)(TCompiler&);
    TCompiler* Compiler;
  } job{body, &compiler};
  pthread_attr_t attributes;
  pthread_t thread;
  auto start = [](void* data) -> void* {
    auto* j = static_cast<TJob*>(data);
    TASTNode::InitStackLimit();
    j->Body(*j->Compiler);
    ExitProcess(0);
  };
  if (pthread_attr_init(&attributes) != 0 ||
      pthread_attr_setstacksize(&attributes, size_t{64} << 20) != 0 ||
      pthread_create(&thread, &attributes, start, &job) != 0)
    return 2;
  pthread_join(thread, nullptr);
  return 0;
}

}  // namespace zintrel::fuzz

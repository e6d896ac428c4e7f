#include "driver/Entry.h"

#include <pthread.h>

#include <chrono>

#include "driver/CommandLine.h"
#include "driver/Compiler.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "model/ASTNode.h"
#include "modules/Module.h"
#include "modules/ModuleScope.h"

namespace zintrel {

namespace {

CLI* CommandLine = nullptr;

int BuildModules(TCompiler& compiler, const CLI& cli) {
  std::vector<std::string> files = TModule::ListModulesInScope(cli.InputFile);
  if (files.empty()) {
    OutputCompilerMessage("No matching modules found for '" + cli.InputFile + "'");
    return 0;
  }
  for (const std::string& file : files) {
    compiler.Setup(cli.Config, file);
    compiler.Parse();
    // A first record of every module being built, so that the later passes find its exports.
    compiler.GenerateDependenciesFile(compiler.ASTRoot,
                                      TCompiler::GenerateModuleTargetPath(file) + ".dep");
  }
  LoadModuleTree();
  for (const std::string& file : files) {
    compiler.Setup(cli.Config, file);
    compiler.Parse();
    compiler.SemanticAnalysis();
    compiler.GenerateHeaderFiles();
  }
  for (const std::string& file : files) {
    compiler.Setup(cli.Config, file);
    compiler.Parse();
    compiler.SemanticAnalysis();
    compiler.Compile();
  }
  return 0;
}

int BuildProgram(TCompiler& compiler, const CLI& cli) {
  compiler.Setup(cli.Config, cli.InputFile);
  LoadModuleTree();
  compiler.Parse();
  compiler.SemanticAnalysis();
  compiler.GenerateHeaderFiles();
  return compiler.Compile();
}

int Run(int argc, char** argv) {
  TASTNode::InitStackLimit();
  // Without its own folder the compiler looks for the module tree where it was started.
  if (!TPaths::InitStartup())
    TCompiler::Warn("Unable to enter the compiler's own folder; looking for modules in " +
                    TPaths::ModuleRoot);
  CommandLine = new CLI();
  CommandLine->AddCompilerOptions();
  auto now = std::chrono::system_clock::now().time_since_epoch();
  SeedRandomGenerator(static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));

  std::vector<std::string> args(argv, argv + argc);
  TCompiler::RebuildFilesWithBadRecords(args);
  int32_t parsed = CommandLine->ParseCommandLine(args);
  if (parsed == 0 || CommandLine->Config[CONFIG_HELP] == FLAG_ON) {
    OutputCompilerMessage(CommandLine->GetUsageDescription());
    return 0;
  }
  CommandLine->Config[CONFIG_OUTPUT] = AbsolutePath(CommandLine->Config[CONFIG_OUTPUT]);

  TCompiler compiler;
  if (CommandLine->Config[CONFIG_MODULE] == FLAG_ON) return BuildModules(compiler, *CommandLine);
  return BuildProgram(compiler, *CommandLine);
}

struct TRunArguments {
  int Argc;
  char** Argv;
  int Status;
};

void* RunThread(void* data) {
  auto* arguments = static_cast<TRunArguments*>(data);
  arguments->Status = Run(arguments->Argc, arguments->Argv);
  return nullptr;
}

}  // namespace

// The checks walk the tree recursively, and a tree is as deep as the longest operator chain of
// the program, so the compiler runs on a thread with a large stack (its pages are only taken
// when used). The walks still check the room left and report a program nested too deeply.
int RunCompiler(int argc, char** argv) {
  PrepareDeepExit();
  TRunArguments arguments{argc, argv, 0};
  pthread_attr_t attributes;
  pthread_t thread;
  if (pthread_attr_init(&attributes) == 0 &&
      pthread_attr_setstacksize(&attributes, size_t{1} << 30) == 0 &&
      pthread_create(&thread, &attributes, RunThread, &arguments) == 0) {
    pthread_join(thread, nullptr);
    return arguments.Status;
  }
  return Run(argc, argv);
}

}  // namespace zintrel

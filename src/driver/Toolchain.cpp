#include "driver/Toolchain.h"

#include <cstdio>
#include <cstdlib>

#include "driver/CommandLine.h"
#include "driver/CompileAhead.h"
#include "driver/Compiler.h"
#include "model/ProgramNode.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Process.h"

namespace zintrel {

std::string Quote(std::string_view path) {
  std::string text;
  text.reserve(path.size() + 2);
  text += '"';
  text += path;
  text += '"';
  return text;
}

std::string ObjectList(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& path : paths) text += Quote(path) + " ";
  return text;
}

std::string CompileCommandLine(std::string_view sourcePart, std::string_view includePart,
                               bool debug) {
  return "g++ -Wall " + std::string(CODE_FLAGS) + " " + std::string(includePart) + " -c " + (debug ? "-g " : "-O3 ") +
         std::string(sourcePart);
}

std::string LinkCommandLine(std::string_view objects, std::string_view output) {
  return "g++ " + std::string(objects) + " -o " + std::string(output);
}

std::string PartialLinkCommandLine(std::string_view objects, std::string_view output) {
  return "ld -i " + std::string(objects) + " -o " + std::string(output);
}

std::string ArchiveCommandLine(std::string_view objects, std::string_view output) {
  return "ar -r " + std::string(output) + " " + std::string(objects);
}

bool SafeInCommandLine(std::string_view path) { return path.find('"') == std::string_view::npos; }

namespace {

// Runs a tool and answers what it wrote to its standard error and how it ended; a tool that
// cannot be started ends the compilation, as nothing after it could work.
TChildResult RunTool(const std::string& commandLine) {
  TChildOptions options;
  TChildResult result;
  bool started = false;
  if (!TCompileAhead::Take(commandLine, result, started))
    started = RunChild(commandLine, options, result);
  if (!started) {
    std::vector<std::string> arguments = SplitCommandLine(commandLine);
    TCompiler::Abort("Unable to start " + (arguments.empty() ? commandLine : arguments[0]));
  }
  return result;
}

void ShowToolOutput(const char* heading, const std::string& text) {
  if (text.empty()) return;
  TCompiler::Info(heading);
  TCompiler::Info(text);
}

// A link, merge or archive step that failed leaves no executable, object or archive: after its
// output the build ends as a failed compile step does, instead of reporting success.
void StopUnlessSucceeded(const TChildResult& result) {
  if (result.Status != 0 || result.Signal != 0) TCompiler::Abort("Fatal compiler error");
}

// g++ and ld write an object in place as they go: a build killed meanwhile would leave half an
// object, newer than its record, which the next build would take as done. They write its part,
// renamed into place once complete.
std::string ObjectOutput(const std::string& object) { return Quote(PartName(object)); }

void PublishObject(const std::string& object) {
  if (!PublishPart(object)) TCompiler::Abort("Unable to write file " + object);
}

std::string AbsolutePathFrom(const std::string& folder, const std::string& path) {
  return !path.empty() && path[0] == '/' ? path : FullPath(folder + "/" + path);
}

}  // namespace

int TCompiler::InvokeCompilation(const std::string& sourcePart, const std::string& includePart) {
  const TChildResult result =
      RunTool(CompileCommandLine(sourcePart, includePart, ConfigFlag(CONFIG_DEBUG)));
  ShowToolOutput("\ng++ Output:", result.Text);
  if (result.Text.find("error:") != std::string::npos) Abort("Fatal compiler error");
  // A g++ killed (or failing) without a word has not written its object either.
  StopUnlessSucceeded(result);
  return 0;
}

int TCompiler::InvokeLink(const std::string& objects, const std::vector<std::string>& inputs,
                          const std::string& output) {
  // The last link that completed is kept next to the project source: its command line, so
  // that a changed output, option or list of inputs links again, and what told the output and
  // every input file apart then, so that an input replaced since (even by an older file) or an
  // output another build wrote since (another program of the same name) links again too.
  const std::string commandLine = LinkCommandLine(objects, Quote(output));
  const std::string linked = GenerateProjectTargetPath() + ".link";
  auto record = [&]() {
    std::string text = commandLine + "\n" + FileIdentity(output) + "\n";
    for (const std::string& input : inputs) text += FileIdentity(input) + "\n";
    return text;
  };
  std::string lastLink;
  if (ForceRecompile == 0 && FileTime(output) != 0 && ReadFileBytes(linked, lastLink) &&
      lastLink == record())
    return 0;
  const std::string part = PartName(output);
  TChildResult result = RunTool(LinkCommandLine(objects, Quote(part)));
  // The linker's messages name the output the user asked for.
  for (size_t at = 0; (at = result.Text.find(part, at)) != std::string::npos; at += output.size())
    result.Text.replace(at, part.size(), output);
  ShowToolOutput("\ng++ Output:", result.Text);
  if (result.Status != 0 || result.Signal != 0) RemoveFile(part);
  StopUnlessSucceeded(result);
  if (!PublishPart(output)) Abort("Unable to write file " + output);
  if (!WriteFileBytes(linked, record())) Abort("Unable to write file " + linked);
  return 0;
}

int TCompiler::InvokePartialLink(const std::string& objects, const std::string& output) {
  TChildResult result = RunTool(PartialLinkCommandLine(objects, output));
  ShowToolOutput("\nld Output:", result.Text);
  StopUnlessSucceeded(result);
  return 0;
}

int TCompiler::InvokeArchive(const std::string& objects, const std::string& output) {
  // ar reports creating a new archive on its error output: shown only when it failed.
  TChildResult result = RunTool(ArchiveCommandLine(objects, output));
  if (result.Status != 0 || result.Signal != 0) {
    ShowToolOutput("\nar Output:", result.Text);
    StopUnlessSucceeded(result);
  }
  return 0;
}

int TCompiler::Run(const std::string& commandLine) {
  Info("\nProgram output:");
  // The program's output is shown as it arrives, with CR LF made LF as in every message; it
  // reads the compiler's input and its errors go to the compiler's standard error, after the
  // output it wrote before them.
  TMessageStream shown;
  TChildOptions options;
  options.CollectError = false;
  options.Inherit = true;
  options.OnText = [&shown](std::string_view piece) { shown.Write(piece); };
  options.OnOtherText = [](std::string_view piece) {
    std::fflush(stdout);
    std::fwrite(piece.data(), 1, piece.size(), stderr);
    std::fflush(stderr);
  };
  TChildResult result;
  // The program's output is a pipe, which C buffers in blocks: told that it runs here, the
  // start-up code buffers it by lines, so lines show when printed and none is lost to a crash.
  setenv("ZINTREL_RUN", "1", 1);
  if (!RunChild(commandLine, options, result)) Abort("Unable to start " + commandLine);
  shown.End();
  if (result.Signal != 0) {
    OutputCompilerMessage("Program terminated by signal " + SignalName(result.Signal));
    return 1;
  }
  if (result.Status != 0) {
    OutputCompilerMessage("Program exited with status " + std::to_string(result.Status));
    return 1;
  }
  return 0;
}

namespace {

// One compile of the build: what InvokeCompilation is given, and the file g++ writes.
struct TCompileCommand {
  std::string SourcePart;
  std::string IncludePart;
  std::string Output;
};

std::string ModuleInclude() { return "-I " + Quote(TPaths::ModuleRoot); }

// A C/C++ source's object is made in the build folder next to it and named after the whole
// file name: a user's own "calc.o" beside "calc.cpp" stays untouched, and "x.c" and "x.cpp" in
// one folder get objects of their own.
TCompileCommand SourceCompile(const std::string& source) {
  const std::string object =
      TCompiler::GenerateTargetPath(source) + "." + ExtensionPart(source) + ".o";
  return {Quote(source) + " -o " + Quote(object), ModuleInclude() + " ", object};
}

// A file's generated code: its object at once, or the object merged with its C/C++ objects.
TCompileCommand FileCompile(const TProgramNode* root) {
  const std::string target = TCompiler::GenerateTargetPath(root->SourceFile());
  const std::string output = root->LinkTargets.empty() && root->CompileTargets.empty()
                                 ? PartName(target + ".o")
                                 : target + "-PreIncremental.o";
  return {Quote(target + ".cpp") + " -o " + Quote(output), ModuleInclude(), output};
}

TCompileCommand GeneratedCompile(const std::string& target) {
  return {Quote(target + ".cpp") + " -o " + ObjectOutput(target + ".o"), ModuleInclude(),
          PartName(target + ".o")};
}

}  // namespace

void TCompiler::CompileAhead() {
  if (Jobs < 2) return;
  std::vector<TPlannedCompile> planned;
  std::vector<std::string> outputs;
  // A C/C++ source imported by two files compiles twice into one object: planning stops
  // before the second, which then runs in its turn.
  auto plan = [&](const TCompileCommand& command) {
    for (const std::string& output : outputs)
      if (output == command.Output) return false;
    outputs.push_back(command.Output);
    planned.push_back({CompileCommandLine(command.SourcePart, command.IncludePart,
                                          ConfigFlag(CONFIG_DEBUG)),
                       command.Output});
    return true;
  };
  bool planning = true;
  for (TProgramNode* root : Roots) {
    if (root->IsCompiled) continue;
    for (const std::string& source : root->CompileTargets) planning = planning && plan(SourceCompile(source));
    planning = planning && plan(FileCompile(root));
  }
  if (ModuleBuild) planning = planning && plan(GeneratedCompile(GenerateModuleTargetPath(MainPath) + "Init"));
  else if (ProjectNeedsCompile) planning = planning && plan(GeneratedCompile(GenerateProjectTargetPath()));
  TCompileAhead::Start(std::move(planned), Jobs);
}

int TCompiler::CompileRoot(TProgramNode* root) {
  const std::string target = GenerateTargetPath(root->SourceFile());
  const TCompileCommand own = FileCompile(root);
  for (const std::string& source : root->CompileTargets) {
    Info("Compiling " + source);
    const TCompileCommand command = SourceCompile(source);
    InvokeCompilation(command.SourcePart, command.IncludePart);
    root->LinkTargets.push_back(command.Output);
  }
  InvokeCompilation(own.SourcePart, own.IncludePart);
  if (own.Output == PartName(target + ".o")) {
    PublishObject(target + ".o");
    return 0;
  }
  // The file's own code and every C/C++ object it brought along become its one object.
  // Objects imported as written are found next to the file that imports them, as every other
  // import is (not in the compiler's own folder, where the tools run).
  std::vector<std::string> objects;
  for (const std::string& object : root->LinkTargets)
    objects.push_back(AbsolutePathFrom(FolderPart(root->SourceFile().str()), object));
  InvokePartialLink(Quote(own.Output) + " " + ObjectList(objects), ObjectOutput(target + ".o"));
  PublishObject(target + ".o");
  for (const std::string& source : root->CompileTargets) RemoveFile(SourceCompile(source).Output);
  RemoveFile(own.Output);
  return 0;
}

std::string TCompiler::CompileModuleInit() {
  const std::string init = GenerateModuleTargetPath(MainPath) + "Init";
  const TCompileCommand command = GeneratedCompile(init);
  InvokeCompilation(command.SourcePart, command.IncludePart);
  PublishObject(init + ".o");
  return init + ".o";
}

int TCompiler::CompileProject() {
  if (!ProjectNeedsCompile) return 0;
  const std::string project = GenerateProjectTargetPath();
  const TCompileCommand command = GeneratedCompile(project);
  InvokeCompilation(command.SourcePart, command.IncludePart);
  PublishObject(project + ".o");
  return 0;
}

}  // namespace zintrel

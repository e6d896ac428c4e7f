// Generated programs compile and run: every pair run/<name>.zn + run/<name>.out next to this
// file is one case. The program is checked together with the runtime's module code files, the
// text of each file is written out the way the driver lays out generated files, a small main
// calls __ZintrelAppInit and every file's main function (the case's own last), and the whole is
// built with g++ -Wall -Werror against the runtime sources and run; its standard output must be
// the .out file byte for byte, with exit status 0.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cpp/CPPNodes.h"
#include "driver/Compiler.h"
#include "driver/Toolchain.h"

namespace zintrel {
namespace {

namespace fs = std::filesystem;

const fs::path SourceDir = ZINTREL_SOURCE_DIR;
const fs::path CaseDir = SourceDir / "tests/unit/cpp/run";
const std::string Compiler = std::string("g++ -std=c++17 -Wall -Werror -O3 ") + CODE_FLAGS;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Cases() {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(CaseDir, error)) {
    const fs::path& path = entry.path();
    if (path.extension() == ".zn" && fs::exists(fs::path(path).replace_extension(".out")))
      names.push_back(path.stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Runs a shell command with its output in a file; answers the exit status and the output.
int RunShell(const std::string& command, const fs::path& log, std::string& output) {
  const int status = std::system((command + " > '" + log.string() + "' 2>&1").c_str());
  output = ReadAll(log);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The runtime sources compiled once per source tree and kept in the temporary folder; an
// object is rebuilt when a runtime file is newer. Objects are renamed into place, so test
// processes running at the same time never link half-written objects.
std::string RuntimeObjects(std::string& error) {
  const fs::path cache = fs::temp_directory_path() /
                         ("zintrel-cpp-run-" + std::to_string(std::hash<std::string>()(SourceDir)));
  fs::create_directories(cache);
  std::vector<fs::path> sources;
  fs::file_time_type newest = fs::file_time_type::min();
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(SourceDir / "mod")) {
    if (!entry.is_regular_file()) continue;
    newest = std::max(newest, entry.last_write_time());
    if (entry.path().extension() == ".cpp") sources.push_back(entry.path());
  }
  std::string objects;
  for (const fs::path& source : sources) {
    const fs::path object = cache / (source.stem().string() + ".o");
    objects += " '" + object.string() + "'";
    if (fs::exists(object) && fs::last_write_time(object) >= newest) continue;
    const fs::path partial = cache / (source.stem().string() + "." + std::to_string(getpid()) + ".o");
    std::string output;
    if (RunShell(std::string(Compiler) + " -c '" + source.string() + "' -o '" + partial.string() + "'",
            cache / ("log" + std::to_string(getpid())), output) != 0) {
      error = output;
      return std::string();
    }
    fs::rename(partial, object);
  }
  return objects;
}

struct TGeneratedProgram {
  fs::path Folder;
  std::vector<std::string> Sources;
};

std::string Guarded(const std::string& name, const std::string& body) {
  return "#ifndef " + name + "_H\n#define " + name + "_H\n" + body + "\n#endif\n";
}

// Writes the headers and sources of every file of the checked program and the main source.
TGeneratedProgram WriteProgram(const TCompiler& compiler, const fs::path& folder) {
  TGeneratedProgram program{folder, {}};
  // The C/C++ headers the files import (the runtime's), gathered in one header.
  std::string includes;
  for (TProgramNode* root : compiler.Roots)
    for (const std::string& header : root->Includes) includes += "#include \"" + header + "\"\n";
  WriteAll(folder / "imports.h", Guarded("IMPORTS", includes));
  const std::string prelude = TCPPProgramNode::GenerateStandardIncludes() + "#include \"imports.h\"\n";

  std::string allHeaders;
  std::string mainCalls;
  for (size_t k = 0; k < compiler.Roots.size(); ++k) {
    auto* root = static_cast<TCPPProgramNode*>(compiler.Roots[k]);
    const std::string name = "File" + std::to_string(k);
    WriteAll(folder / (name + ".h"),
             Guarded(name, prelude + "\nvoid " + root->GenerateMainIdentifier() + "();\n\n" +
                               root->GenerateHeaderCode("")));
    allHeaders += "#include \"" + name + ".h\"\n";
    for (TClassNode* cls : root->Classes) {
      if (cls->IsExtern != 0) continue;
      std::string parents;
      for (const TClassParent& parent : cls->ClassParents)
        if (parent.Class != nullptr && parent.Class->IsExtern == 0)
          parents += "#include \"Class" + parent.Class->Identifier + ".h\"\n";
      WriteAll(folder / ("Class" + cls->Identifier + ".h"),
               Guarded("CLASS" + cls->Identifier,
                       prelude + parents + "\n" + root->GenerateClassHeaderCode("", cls)));
      allHeaders += "#include \"Class" + cls->Identifier + ".h\"\n";
    }
    // The case's own file is the main file, whose main function runs last.
    if (root != compiler.MainRoot) mainCalls += "\t" + root->GenerateMainIdentifier() + "();\n";
  }
  for (size_t k = 0; k < compiler.Roots.size(); ++k) {
    const std::string name = "File" + std::to_string(k) + ".cpp";
    WriteAll(folder / name, allHeaders + "\n" + compiler.Roots[k]->GenerateCode(""));
    program.Sources.push_back(name);
  }
  mainCalls += "\t" + static_cast<TCPPProgramNode*>(compiler.MainRoot)->GenerateMainIdentifier() + "();\n";
  WriteAll(folder / "Project.cpp", allHeaders + "int main(int argc, const char *argv[]) {\n" +
                                       "\t__ZintrelAppInit(argc, argv);\n" + mainCalls +
                                       "\treturn 0;\n}\n");
  program.Sources.push_back("Project.cpp");
  return program;
}

class CompileRun : public ::testing::TestWithParam<std::string> {};

TEST_P(CompileRun, ProgramPrintsItsExpectedOutput) {
  std::string error;
  const std::string runtime = RuntimeObjects(error);
  ASSERT_FALSE(runtime.empty()) << "the runtime does not compile:\n" << error;

  const fs::path folder = fs::temp_directory_path() /
                          ("zintrel-cpp-run-" + GetParam() + "-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy(SourceDir / "mod", folder / "mod", fs::copy_options::recursive);
  // The imports come first: messages about the case's line n name line n + 5.
  WriteAll(folder / "main.zn", "Import \"mod/Zintrel/Core/Core.zn\"\n"
                               "Import \"mod/Zintrel/Core/AppInit/AppInit.zn\"\n"
                               "Import \"mod/Zintrel/IO/IO.zn\"\n"
                               "Import \"mod/Zintrel/Math/Math.zn\"\n"
                               "Import \"mod/Zintrel/System/System.zn\"\n" +
                                   ReadAll(CaseDir / (GetParam() + ".zn")));
  TCompiler compiler;
  compiler.Setup({"a.out", "", "", "", "on", "cpp", ""}, (folder / "main.zn").string());
  compiler.Parse();
  compiler.SemanticAnalysis();

  const TGeneratedProgram program = WriteProgram(compiler, folder);
  std::string command = "cd '" + folder.string() + "' && " + Compiler;
  for (const std::string& source : program.Sources) command += " " + source;
  command += runtime + " -lgc -o program";
  std::string output;
  ASSERT_EQ(RunShell(command, folder / "compile.log", output), 0)
      << "generated code in " << folder << " does not compile cleanly:\n" << output;
  const int status = std::system(("cd '" + folder.string() + "' && ./program > out.txt 2> err.txt").c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadAll(folder / "err.txt");
  EXPECT_EQ(ReadAll(folder / "out.txt"), ReadAll(CaseDir / (GetParam() + ".out")));
  if (!HasFailure() && std::getenv("ZINTREL_KEEP_GENERATED") == nullptr) fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Cases, CompileRun, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           std::string name = param.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CompileRun);

}  // namespace
}  // namespace zintrel

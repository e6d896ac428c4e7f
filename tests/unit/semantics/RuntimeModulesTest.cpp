// The runtime's module code files are ordinary source files: they parse and check, together
// and with a program that uses what they declare.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "driver/Compiler.h"
#include "model/ClassNode.h"
#include "model/FunctionNode.h"
#include "model/ProgramNode.h"

namespace zintrel {
namespace {

TEST(RuntimeModules, CodeFilesParseAndCheckWithAProgramUsingThem) {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / ("zintrel-runtime-modules-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy(fs::path(ZINTREL_SOURCE_DIR) / "mod", folder / "mod", fs::copy_options::recursive);
  std::ofstream(folder / "main.zn")
      << "Import \"mod/Zintrel/Core/Core.zn\"\n"
         "Import \"mod/Zintrel/Core/AppInit/AppInit.zn\"\n"
         "Import \"mod/Zintrel/IO/IO.zn\"\n"
         "Import \"mod/Zintrel/Math/Math.zn\"\n"
         "Import \"mod/Zintrel/System/System.zn\"\n"
         "Local words:String[] = \"a,b\".Split(\",\")\n"
         "Print(\"Pi \" + Pi + \" \" + Sqrt(2.0d) + words.Length + String.Join(words, \"-\"))\n"
         "Local dice:Int = Rand(1, 6)\n"
         "Quit(dice)\n";
  TCompiler c;
  testing::internal::CaptureStdout();
  c.Setup({"a.out", "", "", "", "on", "cpp", ""}, (folder / "main.zn").string());
  c.Parse();
  c.SemanticAnalysis();
  std::string output = testing::internal::GetCapturedStdout();
  ASSERT_EQ(c.Roots.size(), 6u) << output;
  // The core declarations are extern; Pi is an ordinary constant of its module.
  TProgramNode* core = c.Roots[1];
  ASSERT_GE(core->Classes.size(), 3u);
  for (TClassNode* cls : core->Classes) EXPECT_EQ(cls->IsExtern, 1) << cls->Identifier;
  EXPECT_EQ(core->Libraries, std::vector<std::string>{"gc"});
  fs::remove_all(folder);
}

}  // namespace
}  // namespace zintrel

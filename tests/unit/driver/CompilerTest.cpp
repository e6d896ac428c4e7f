#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cpp/CPPTarget.h"
#include "driver/CommandLine.h"
#include "driver/Compiler.h"
#include "support/Paths.h"
#include "model/NodeFactory.h"
#include "model/ProgramNode.h"

namespace zintrel {
namespace {

class CompilerTest : public testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("zintrel-compiler-test-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    main = (dir / "main.zn").string();
    std::ofstream(main) << "Local x:Int = 1\n";
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  static std::vector<std::string> Options(bool debug, bool recompile = false) {
    return {"a.out", debug ? "on" : "", "", "", recompile ? "on" : "", "cpp", ""};
  }
  std::string OptionsFile() const {
    std::ifstream in(dir / ".zintrel" / "options", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::filesystem::path dir;
  std::string main;
};

TEST_F(CompilerTest, OptionsFileRemembersTheDebugSetting) {
  TCompiler c;
  c.Config = Options(true);
  EXPECT_TRUE(c.UpdateCompilerOptions(main));  // no file yet
  EXPECT_EQ(OptionsFile(), "d\r\n");
  EXPECT_FALSE(c.UpdateCompilerOptions(main));
  // A changed setting is written only when the build is complete: one stopped before still
  // finds the old setting, and compiles everything again.
  c.Config = Options(false);
  EXPECT_TRUE(c.UpdateCompilerOptions(main));
  EXPECT_EQ(OptionsFile(), "d\r\n");
  EXPECT_TRUE(c.UpdateCompilerOptions(main));
  c.RecordCompilerOptions(c.OptionsToRecord);
  EXPECT_EQ(OptionsFile(), " \r\n");
  EXPECT_FALSE(c.UpdateCompilerOptions(main));
  // A line ended by CR LF or by nothing reads the same.
  std::ofstream(dir / ".zintrel" / "options", std::ios::binary) << "d";
  c.Config = Options(true);
  EXPECT_FALSE(c.UpdateCompilerOptions(main));
}

TEST_F(CompilerTest, SetupForcesRecompilationWhenTheDebugSettingChanges) {
  TCompiler c;
  c.Setup(Options(false), main);
  EXPECT_EQ(c.MainPath, main);
  EXPECT_EQ(c.MainDir, dir.string());
  EXPECT_EQ(c.ForceRecompile, 1);  // first build in this folder
  EXPECT_EQ(c.ModuleBuild, 0);
  ASSERT_NE(c.ASTRoot, nullptr);
  EXPECT_EQ(c.ASTRoot->GetName(), "TProgramNode");
  EXPECT_NE(dynamic_cast<TCPPTarget*>(ActiveTarget), nullptr);

  c.Setup(Options(false), main);
  EXPECT_EQ(c.ForceRecompile, 0);
  c.Setup(Options(false, true), main);
  EXPECT_EQ(c.ForceRecompile, 1);
  c.Setup(Options(true), main);
  EXPECT_EQ(c.ForceRecompile, 1);
}

TEST_F(CompilerTest, ClearStartsOver) {
  TCompiler c;
  c.Setup(Options(false), main);
  TProgramNode* first = c.ASTRoot;
  c.CompileQueue.push_back("x");
  c.LibraryList.push_back("gc");
  c.RootMap["x"] = first;
  c.ModuleBuild = 1;
  c.Clear();
  EXPECT_NE(c.ASTRoot, first);
  EXPECT_TRUE(c.CompileQueue.empty());
  EXPECT_TRUE(c.LibraryList.empty());
  EXPECT_TRUE(c.RootMap.empty());
  EXPECT_EQ(c.ModuleBuild, 0);
  EXPECT_EQ(c.MainRoot, nullptr);
}

TEST_F(CompilerTest, WrongTargetStopsTheBuild) {
  TCompiler c;
  std::vector<std::string> options = Options(false);
  options[CONFIG_TARGET] = "Cpp";
  EXPECT_EXIT(
      {
        dup2(2, 1);
        c.Setup(options, main);
      },
      testing::ExitedWithCode(255), "^No such target: Cpp\n$");
}

TEST_F(CompilerTest, ParseScansALargeFile) {
  {
    std::ofstream out(main);
    for (int i = 0; i < 100000; ++i)
      out << "Local value" << i << ":Int = " << i << " * 3 + $1F // comment " << i
          << "\nPrint(\"text " << i << "\")\n";
  }
  ASSERT_GT(std::filesystem::file_size(main), 4u << 20);
  TCompiler c;
  c.Setup(Options(false), main);
  testing::internal::CaptureStdout();
  c.Parse();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Compiling " + main + "\n");
  EXPECT_EQ(c.ASTRoot->SourceFile(), main);
}

}  // namespace
}  // namespace zintrel

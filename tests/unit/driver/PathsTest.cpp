#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "driver/Compiler.h"
#include "support/Paths.h"

namespace zintrel {
namespace {

// Fixes the start-up directories for one test and restores them afterwards.
class PathsTest : public testing::Test {
 protected:
  void SetUp() override {
    savedLaunch = TPaths::LaunchDirectory;
    savedWorking = TPaths::WorkingDirectory;
    savedModules = TPaths::ModuleRoot;
    TPaths::LaunchDirectory = "C:/work";
    TPaths::WorkingDirectory = "/opt/zintrel";
    TPaths::ModuleRoot = "/opt/zintrel/mod";
  }
  void TearDown() override {
    TPaths::LaunchDirectory = savedLaunch;
    TPaths::WorkingDirectory = savedWorking;
    TPaths::ModuleRoot = savedModules;
  }
  std::string savedLaunch, savedWorking, savedModules;
};

TEST_F(PathsTest, PathPieces) {
  EXPECT_EQ(FolderPart("C:\\p\\main.zn"), "C:/p");
  EXPECT_EQ(FolderPart("C:/main.zn"), "C:/");
  EXPECT_EQ(FolderPart("/main.zn"), "/");
  EXPECT_EQ(FolderPart("main.zn"), "");
  EXPECT_EQ(FilePart("a/b\\c.zn"), "c.zn");
  EXPECT_EQ(ExtensionPart("a/b.tar.gz"), "gz");
  EXPECT_EQ(ExtensionPart("a.b/c"), "");  // the dot belongs to a folder
  EXPECT_EQ(ExtensionPart("lib"), "");
  EXPECT_EQ(StripExtension("a/b.zn"), "a/b");
  EXPECT_EQ(StripExtension("a.b/c"), "a.b/c");
  EXPECT_EQ(BareName("/x/y/Main.Test.zn"), "Main.Test");
  EXPECT_TRUE(IsHiddenName("/a/.zintrel"));
  EXPECT_FALSE(IsHiddenName("/a.b/zintrel"));
}

TEST_F(PathsTest, FullPathNormalises) {
  EXPECT_EQ(FullPath("src/./x//y/../main.zn"), "/opt/zintrel/src/x/main.zn");
  EXPECT_EQ(FullPath("/a/b/../../../c"), "/c");  // never above the root
  EXPECT_EQ(FullPath("C:\\p\\..\\q\\f.zn"), "C:/q/f.zn");
  EXPECT_EQ(FullPath("mod"), "/opt/zintrel/mod");
  EXPECT_EQ(FullPath("/"), "/");
}

TEST_F(PathsTest, AbsolutePathTakesLaunchDirectory) {
  EXPECT_EQ(AbsolutePath("src/main.zn"), "C:/work/src/main.zn");
  EXPECT_EQ(AbsolutePath("..\\main.zn"), "C:/main.zn");
  // Absolute inputs only have their backslashes turned; double dots stay.
  EXPECT_EQ(AbsolutePath("D:\\x\\..\\main.zn"), "D:/x/../main.zn");
  EXPECT_EQ(AbsolutePath("//server/share/a.zn"), "//server/share/a.zn");
  EXPECT_EQ(AbsolutePath("/home/u/../main.zn"), "/home/u/../main.zn");
  TPaths::LaunchDirectory = "/home/user";
  EXPECT_EQ(AbsolutePath("a.zn"), "/home/user/a.zn");
  // A path whose first ":" is followed by "/" counts as absolute wherever the ":" stands.
  EXPECT_EQ(AbsolutePath("sub/a:/b.zn"), "sub/a:/b.zn");
  EXPECT_EQ(AbsolutePath("a:b/c.zn"), "/home/user/a:b/c.zn");
}

TEST_F(PathsTest, RelativePath) {
  EXPECT_EQ(RelativePath("C:/p/.zintrel/main.cpp", "C:/p/sub/.zintrel/util"),
            "../sub/.zintrel/util");
  EXPECT_EQ(RelativePath("C:/p/.zintrel/main.h", "C:/p/.zintrel/ClassShape"), "ClassShape");
  EXPECT_EQ(RelativePath("C:/p/ab/x.zn", "C:/p/ac/y"), "../ac/y");
  EXPECT_EQ(RelativePath("/a/b/c/f.h", "/a/x\\y"), "../../x/y");
}

TEST_F(PathsTest, IdentifierCharactersAndFindAtDepth) {
  EXPECT_EQ(IdentifierCharacters("my-file.zn"), "myfilezn");
  EXPECT_EQ(IdentifierCharacters("a_b\xc3\xa9" "9"), "a_b9");
  EXPECT_EQ(FindAtDepth("f(a,b),c", ",", 0, 0), 6);
  EXPECT_EQ(FindAtDepth("f(a,b),c", ",", 0, 1), 3);
  EXPECT_EQ(FindAtDepth("f(a,b),c", ",", 0, 2), -1);
  EXPECT_EQ(FindAtDepth("a[1,2](x,y),z", ",", 0, 0), 11);
  EXPECT_EQ(FindAtDepth("abc", "", 0, 5), -1);
}

TEST_F(PathsTest, TargetPathsAndModules) {
  std::filesystem::path tmp = std::filesystem::temp_directory_path() / ("zintrel-paths-test-" + std::to_string(getpid()));
  std::filesystem::remove_all(tmp);
  std::filesystem::create_directories(tmp / "mod/Zintrel/Core");
  std::string dir = tmp.string();
  TPaths::ModuleRoot = dir + "/mod";

  EXPECT_EQ(TCompiler::GenerateTargetPath(dir + "/main.zn"), dir + "/.zintrel/main");
  EXPECT_TRUE(std::filesystem::is_directory(tmp / ".zintrel"));
  std::string core = dir + "/mod/Zintrel/Core/Core.zn";
  EXPECT_EQ(TCompiler::GenerateModuleTargetPath(core), dir + "/mod/Zintrel/Core/.zintrel/ModuleCore");
  EXPECT_EQ(TCompiler::GenerateRelativeTargetPath("x", core, true), "Zintrel/Core/.zintrel/ModuleCore");
  EXPECT_EQ(TCompiler::GenerateRelativeTargetPath(dir + "/.zintrel/main.cpp", dir + "/sub/util.zn", false),
            "../sub/.zintrel/util");
  EXPECT_EQ(TCompiler::GenerateClassTargetPath(dir + "/main.zn", "Shape"), dir + "/.zintrel/ClassShape");

  EXPECT_TRUE(TCompiler::IsModule(core));
  EXPECT_TRUE(TCompiler::IsModule(dir + "/mod/Zintrel/Core/core.zn"));
  EXPECT_FALSE(TCompiler::IsModule(dir + "/mod/Zintrel/Core/Extra.zn"));
  EXPECT_FALSE(TCompiler::IsModule(dir + "/Core/Core.zn"));  // outside the module root
  std::filesystem::remove_all(tmp);
}

TEST_F(PathsTest, IncludeGuard) {
  std::string guard = TCompiler::GenerateIncludeGuard("my-file");
  ASSERT_EQ(guard.size(), std::string("#ifndef MYFILE_00000000\n#define MYFILE_00000000\n").size());
  std::string name = guard.substr(8, 15);
  EXPECT_EQ(name.substr(0, 9), "MYFILE_00");
  EXPECT_EQ(name.find_first_not_of("0123456789ABCDEF", 7), std::string::npos);
  EXPECT_EQ(guard, "#ifndef " + name + "\n#define " + name + "\n");
}

}  // namespace
}  // namespace zintrel

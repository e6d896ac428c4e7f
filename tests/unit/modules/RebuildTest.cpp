// Rebuild decisions on a temporary folder with controlled file times, and a program whose
// unchanged files are rebuilt from their records.
#include <gtest/gtest.h>

#include <set>

#include "model/ProgramNode.h"
#include "modules/DependencyNode.h"
#include "modules/Module.h"
#include "ModuleTestSupport.h"

namespace zintrel {
namespace {

using testing_support::ParseAndCheck;
using testing_support::TempTree;

const std::string EmptyRecord = "Imports:\r\n\nExports:\r\n";

class RebuildTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::UseCppTarget();
    savedRoot = TPaths::ModuleRoot;
    savedTree = ModuleTree;
    TPaths::ModuleRoot = tree.Path("mod");
    tree.Write("mod/Known/Known.zn", "");
    ModuleTree = (new TModule())->Load(nullptr, "");
  }
  void TearDown() override {
    TPaths::ModuleRoot = savedRoot;
    ModuleTree = savedTree;
  }
  // A source file and its four outputs: source at time 100, header and source 150, record 200,
  // object 300 (seconds), the record holding the given import lines.
  std::string File(const std::string& imports) {
    const std::string source = tree.Write("src/file.zn", "", 100);
    tree.Write("src/.zintrel/file.h", "", 150);
    tree.Write("src/.zintrel/file.cpp", "", 150);
    tree.Write("src/.zintrel/file.dep", "Imports:\r\n" + imports + "\nExports:\r\n", 200);
    tree.Write("src/.zintrel/file.o", "", 300);
    return source;
  }
  int32_t Decide(const std::string& source) {
    TProgramNode* root = nullptr;
    return TCompiler::CompilationNecessary(source, root);
  }
  // A module's code file at time 100 with its per-file outputs and module outputs at 200.
  std::string Module(const std::string& imports) {
    const std::string code = tree.Write("mod/M/M.zn", "", 100);
    for (const char* name : {"M.h", "M.cpp", "M.o", "M.dep", "ModuleM.a", "ModuleM.h"})
      tree.Write(std::string("mod/M/.zintrel/") + name, "", 200);
    tree.Write("mod/M/.zintrel/ModuleM.dep", "Imports:\r\n" + imports + "\nExports:\r\n", 200);
    return code;
  }
  TempTree tree{"rebuild"};
  std::string savedRoot;
  TModule* savedTree = nullptr;
};

TEST_F(RebuildTest, SourceFileRules) {
  const std::string source = File("");
  TProgramNode* root = nullptr;
  EXPECT_EQ(TCompiler::CompilationNecessary(source, root), 0);
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(root->IsCompiled);

  // Each output missing.
  for (const char* output : {"file.h", "file.cpp", "file.o", "file.dep"}) {
    File("");
    std::filesystem::remove(tree.Path(std::string("src/.zintrel/") + output));
    EXPECT_EQ(Decide(source), 1) << output;
  }
  struct Case {
    const char* What;
    const char* Path;
    int64_t Seconds, Nanoseconds;
    int32_t Expected;
  } times[] = {
      {"source touched", "src/file.zn", 250, 0, 1},
      {"source touched within the record's second", "src/file.zn", 200, 5, 1},
      {"source as old as its record", "src/file.zn", 200, 0, 0},
      {"object older than the record", "src/.zintrel/file.o", 199, 999999999, 1},
      {"header alone touched", "src/.zintrel/file.h", 900, 0, 0},
  };
  for (const Case& c : times) {
    File("");
    TempTree::SetTime(tree.Path(c.Path), c.Seconds, c.Nanoseconds);
    EXPECT_EQ(Decide(source), c.Expected) << c.What;
  }
}

TEST_F(RebuildTest, SourceFileRecordEntries) {
  const std::string header = tree.Write("native/lib.h", "", 50);
  tree.Write("src/util.zn", "", 150);
  tree.Write("src/prebuilt.o", "", 150);
  tree.Write("src/new.zn", "", 250);
  struct Case {
    std::string Imports;
    int32_t Expected;
  } cases[] = {
      {"File util.zn\r\nModule known\r\n", 0},  // modules are found ignoring case
      {"Module Unknown\r\n", 1},
      {"File gone.zn\r\n", 1},
      {"File new.zn\r\n", 1},
      {"File " + header + "\r\n", 1},  // C/C++ imports by absolute path and libraries by
      {"File gc\r\n", 1},              // bare name never name a file below the folder
      {"File prebuilt.o\r\n", 0},
      {"Garbage\r\n", 0},
      {"File\r\n", 1},  // malformed: compiled again
  };
  for (const Case& c : cases) EXPECT_EQ(Decide(File(c.Imports)), c.Expected) << c.Imports;
}

TEST_F(RebuildTest, ModuleRules) {
  tree.Write("mod/M/libextra.a", "", 100);
  const std::string code = Module("File libextra.a\r\nFile gc\r\nModule Known\r\n");
  TProgramNode* root = nullptr;
  EXPECT_EQ(TCompiler::ModuleCompilationNecessary(code, root), 0);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Libraries, (std::vector<std::string>{"libextra.a", "gc"}));

  for (const char* output : {"M.dep", "M.h", "M.cpp", "M.o", "ModuleM.dep", "ModuleM.a", "ModuleM.h"}) {
    Module("");
    std::filesystem::remove(tree.Path(std::string("mod/M/.zintrel/") + output));
    root = nullptr;
    EXPECT_EQ(TCompiler::ModuleCompilationNecessary(code, root), 1) << output;
  }
  // A build killed between the record and the archive left the archive of the build before.
  Module("");
  TempTree::SetTime(tree.Path("mod/M/.zintrel/ModuleM.a"), 199, 999999999);
  root = nullptr;
  EXPECT_EQ(TCompiler::ModuleCompilationNecessary(code, root), 1);
  struct Case {
    std::string Imports;
    int64_t CodeSeconds;
    int32_t Expected;
  } cases[] = {
      {"", 199, 0},
      {"", 200, 1},  // a code file as old as the module record already counts as changed
      {"Module Nowhere\r\n", 100, 1},
      {"File missing.h\r\n", 100, 1},
      {"File later.zn\r\n", 100, 1},
      {"File nolib\r\n", 100, 0},
  };
  tree.Write("mod/M/later.zn", "", 500);
  for (const Case& c : cases) {
    Module(c.Imports);
    TempTree::SetTime(code, c.CodeSeconds);
    root = nullptr;
    EXPECT_EQ(TCompiler::ModuleCompilationNecessary(code, root), c.Expected) << c.Imports;
  }
}

std::set<std::string> Listing(const std::filesystem::path& base) {
  std::set<std::string> paths;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(base))
    paths.insert(entry.path().string());
  return paths;
}

TEST_F(RebuildTest, ReadingARecordWritesNothingOutsideTheBuildFolder) {
  const std::string source = File(
      "File ../../../../../../../../tmp/zintrel-elsewhere/x.zn\r\nFile /proc/self/x.zn\r\n"
      "File ../outside/.zintrel/y.zn\r\nModule ../../etc\r\n");
  Module("File ../../../outside/z.h\r\nFile /tmp/zintrel-elsewhere/lib.a\r\n");
  const std::set<std::string> before = Listing(tree.Base);
  EXPECT_EQ(Decide(source), 1);
  TProgramNode* root = nullptr;
  TCompiler::ModuleCompilationNecessary(tree.Path("mod/M/M.zn"), root);
  EXPECT_EQ(Listing(tree.Base), before);
  EXPECT_FALSE(std::filesystem::exists("/tmp/zintrel-elsewhere"));
}

// main imports a, a imports u without using it. After a first build, touching main compiles
// main alone; a and u come from their records, u still part of the program.
TEST_F(RebuildTest, UnchangedFilesAreRebuiltFromTheirRecords) {
  const std::string main = tree.Write("p/main.zn",
                                      "Import \"a.zn\"\n"
                                      "Local x:Int = Twice(Limit)\n");
  tree.Write("p/a.zn",
             "Import \"lib/u.zn\"\n"
             "Const Limit:Int = 21\n"
             "Function Twice:Int(v:Int)\n"
             "  Return v + v\n"
             "EndFunction\n");
  tree.Write("p/lib/u.zn", "Local y:Int = 1\n");
  TCompiler first;
  ParseAndCheck(first, main, false);
  for (TProgramNode* root : first.Roots) {
    first.GenerateDependenciesFile(root, "");
    const std::string target = TCompiler::GenerateTargetPath(root->SourceFile());
    for (const char* suffix : {".h", ".cpp", ".o"}) {
      std::ofstream(target + suffix) << "";
      TempTree::SetTime(target + suffix, 2000000000);
    }
  }
  TempTree::SetTime(main, 3000000000);

  TCompiler second;
  const std::string output = ParseAndCheck(second, main, false);
  EXPECT_EQ(output, "Compiling " + main + "\n");
  ASSERT_EQ(second.Roots.size(), 3u);
  EXPECT_FALSE(second.Roots[0]->IsCompiled);
  EXPECT_TRUE(second.Roots[1]->IsCompiled);
  EXPECT_TRUE(second.Roots[2]->IsCompiled);
  EXPECT_EQ(second.Roots[2]->SourceFile(), tree.Path("p/lib/u.zn"));
  // The path named by a's record became a key: the node of u's root.
  EXPECT_TRUE(second.Roots[1]->Dependencies->Contains(second.Roots[2]->Dependencies));
  // main's check used a's rebuilt declarations, and recorded the use against a.
  EXPECT_TRUE(second.Roots[0]->Dependencies->Contains(second.Roots[1]->Dependencies));

  // With the recompile flag nothing is read from records.
  TCompiler forced;
  EXPECT_EQ(ParseAndCheck(forced, main, true),
            "Compiling " + main + "\nCompiling " + tree.Path("p/a.zn") + "\nCompiling " +
                tree.Path("p/lib/u.zn") + "\n");
}

}  // namespace
}  // namespace zintrel

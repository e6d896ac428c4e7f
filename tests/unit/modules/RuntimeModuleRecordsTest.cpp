// The runtime's core modules through their first-pass records: the module tree and the core
// module scope load them without a word, and a program importing one of them checks against
// their declarations.
#include <gtest/gtest.h>

#include "model/ProgramNode.h"
#include "modules/DependencyNode.h"
#include "modules/Module.h"
#include "modules/ModuleScope.h"
#include "ModuleTestSupport.h"

namespace zintrel {
namespace {

using testing_support::TempTree;

TEST(RuntimeModuleRecords, CoreModulesLoadAndServeAProgram) {
  namespace fs = std::filesystem;
  testing_support::UseCppTarget();
  TempTree tree("runtime-records");
  fs::copy(fs::path(ZINTREL_SOURCE_DIR) / "mod", tree.Base / "mod", fs::copy_options::recursive);
  // The process-wide module state comes back whatever the test's outcome.
  struct TRestore {
    std::string Root = TPaths::ModuleRoot;
    TModule* Tree = ModuleTree;
    TModuleScope* Core = CoreModuleScope;
    ~TRestore() {
      TPaths::ModuleRoot = Root;
      ModuleTree = Tree;
      CoreModuleScope = Core;
    }
  } restore;
  TPaths::ModuleRoot = tree.Path("mod");
  ModuleTree = nullptr;

  // The first pass of a module build, then the outputs of the later passes, all newer.
  testing::internal::CaptureStdout();
  const std::vector<std::string> codeFiles = TModule::ListModulesInScope("Zintrel.*");
  for (const std::string& code : codeFiles) {
    TCompiler compiler;
    compiler.Setup({"a.out", "", "", "", "on", "cpp", ""}, code);
    compiler.Parse();
    compiler.GenerateDependenciesFile(compiler.ASTRoot,
                                      TCompiler::GenerateModuleTargetPath(code) + ".dep");
  }
  testing::internal::GetCapturedStdout();
  for (const auto& entry : fs::recursive_directory_iterator(tree.Path("mod")))
    if (entry.is_regular_file()) TempTree::SetTime(entry.path().string(), 1000000000);
  for (const std::string& code : codeFiles) {
    const std::string target = TCompiler::GenerateTargetPath(code);
    const std::string module = TCompiler::GenerateModuleTargetPath(code);
    for (const std::string& output : {target + ".h", target + ".cpp", target + ".o", target + ".dep",
                                      module + ".a", module + ".h", module + ".dep"}) {
      if (!fs::exists(output)) std::ofstream(output) << "";
      TempTree::SetTime(output, 2000000000);
    }
  }

  testing::internal::CaptureStdout();
  LoadModuleTree();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_NE(CoreModuleScope, nullptr);
  EXPECT_EQ(CoreModuleScope->ModuleList.size(), codeFiles.size() + 1);  // with "Zintrel" itself

  const std::string main = tree.Write("p/main.zn",
                                      "Import Zintrel.IO\n"
                                      "Local s:String = \"Pi \" + Pi\n"
                                      "Print(s.ToUpper())\n");
  TCompiler compiler;
  EXPECT_EQ(testing_support::ParseAndCheck(compiler, main, true), "Compiling " + main + "\n");
  TDependencyNode* uses = compiler.MainRoot->Dependencies;
  EXPECT_TRUE(uses->Contains(ModuleTree->Find("Zintrel.IO")->Dependencies));    // Print
  EXPECT_TRUE(uses->Contains(ModuleTree->Find("Zintrel.Math")->Dependencies));  // Pi, a core name
  EXPECT_TRUE(uses->Contains(ModuleTree->Find("Zintrel.Core")->Dependencies));  // String
  const std::vector<std::string> lines = compiler.DependencyLines(compiler.MainRoot);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
            (std::vector<std::string>{"Imports:", "Module Zintrel.Core", "Module Zintrel.IO",
                                      "Module Zintrel.Math"}));

}

}  // namespace
}  // namespace zintrel

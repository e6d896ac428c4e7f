// Module trees built in a temporary module root with hand-written records and empty archive and
// header files: lookup, loading, module scopes, unloading, name resolution order.
#include <gtest/gtest.h>

#include <chrono>

#include "model/VariableDeclNode.h"
#include "modules/DependencyNode.h"
#include "modules/Module.h"
#include "modules/ModuleScope.h"
#include "ModuleTestSupport.h"

namespace zintrel {
namespace {

using testing_support::MessagesToStderr;
using testing_support::TempTree;

class ModuleTreeTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::UseCppTarget();
    savedRoot = TPaths::ModuleRoot;
    savedTree = ModuleTree;
    savedCore = CoreModuleScope;
    TPaths::ModuleRoot = tree.Path("mod");
    std::filesystem::create_directories(tree.Path("mod"));
  }
  void TearDown() override {
    TPaths::ModuleRoot = savedRoot;
    ModuleTree = savedTree;
    CoreModuleScope = savedCore;
  }
  // A built module: code file older than its outputs, the record holding the given lines
  // (declaration lines after the exports head).
  void Module(const std::string& scope, const std::string& imports, const std::string& exports) {
    std::string folder = "mod/" + scope;
    std::replace(folder.begin(), folder.end(), '.', '/');
    const std::string name = scope.substr(scope.rfind('.') + 1);
    tree.Write(folder + "/" + name + ".zn", "", 100);
    for (const std::string& output : {name + ".h", name + ".cpp", name + ".o", name + ".dep",
                                      "Module" + name + ".a", "Module" + name + ".h"})
      tree.Write(folder + "/.zintrel/" + output, "", 200);
    tree.Write(folder + "/.zintrel/Module" + name + ".dep",
               "Imports:\r\n" + imports + "\nExports:\r\n" + exports, 200);
  }
  TModule* Load() { return ModuleTree = (new TModule())->Load(nullptr, ""); }
  // Loads and checks the modules of a pattern, returning the scope and what was printed.
  TModuleScope* Check(const std::string& pattern, TScope* parent, std::string& output) {
    testing::internal::CaptureStdout();
    TModuleScope* scope =
        TCompiler::CheckModuleScope(parent, TCompiler::LoadModules(pattern, nullptr, nullptr, true));
    output = testing::internal::GetCapturedStdout();
    return scope;
  }
  TempTree tree{"module-tree"};
  std::string savedRoot;
  TModule* savedTree = nullptr;
  TModuleScope* savedCore = nullptr;
};

TEST_F(ModuleTreeTest, TreeLookupAndListing) {
  Module("Zintrel.Core", "", "");
  Module("Zintrel.Core.AppInit", "", "");
  Module("Zintrel.IO", "", "");
  std::filesystem::create_directories(tree.Path("mod/Zintrel/.hidden/Deep"));
  std::filesystem::create_directories(tree.Path("mod/Zintrel/Core/.zintrel/x"));
  tree.Write("mod/Zintrel/notes.txt", "");
  TModule* root = Load();
  EXPECT_EQ(root->Scope, "");
  EXPECT_EQ(root->ToList(), (std::vector<std::string>{"Zintrel", "Zintrel.Core",
                                                       "Zintrel.Core.AppInit", "Zintrel.IO"}));
  TModule* appInit = root->Find("zintrel.CORE.appinit");
  ASSERT_NE(appInit, nullptr);
  EXPECT_EQ(appInit->Scope, "Zintrel.Core.AppInit");
  EXPECT_EQ(appInit->Path, tree.Path("mod/Zintrel/Core/AppInit"));
  EXPECT_EQ(appInit->CodePath, tree.Path("mod/Zintrel/Core/AppInit/AppInit.zn"));
  EXPECT_TRUE(appInit->IsModule);
  EXPECT_EQ(appInit->Dependencies->SourceModule, appInit);
  EXPECT_FALSE(root->Find("Zintrel")->IsModule);  // a grouping folder
  EXPECT_EQ(root->Find("Zintrel.*"), root->Find("Zintrel"));
  EXPECT_EQ(root->Find("Zintrel.Nothing"), nullptr);
  EXPECT_EQ(root->Find("Zintrel..Core"), nullptr);
  EXPECT_EQ(root->Find("Zintrel.Core.AppInit.More"), nullptr);
}

TEST_F(ModuleTreeTest, WildcardLoadsEveryModuleOnceFollowingImports) {
  Module("Lib.A", "Module Lib.B\r\nModule Lib.C\r\nModule Lib.Unknown\r\n", "");
  Module("Lib.B", "Module Lib.C\r\n", "");
  Module("Lib.C", "Module Lib.A\r\n", "");
  Load();
  testing::internal::CaptureStdout();  // Lib.A names an unknown module: outdated
  std::vector<TModule*> modules = TCompiler::LoadModules("Lib.*", nullptr, nullptr, true);
  std::vector<std::string> scopes;
  for (TModule* m : modules) scopes.push_back(m->Scope);
  EXPECT_EQ(scopes, (std::vector<std::string>{"Lib", "Lib.A", "Lib.B", "Lib.C"}));
  // A plain pattern follows the imports breadth-first; a shared map keeps each module once.
  std::map<std::string, TModule*> loaded;
  std::vector<TModule*> list;
  TCompiler::LoadModules("lib.b", &loaded, &list, false);
  TCompiler::LoadModules("Lib.A", &loaded, &list, false);
  testing::internal::GetCapturedStdout();
  scopes.clear();
  for (TModule* m : list) scopes.push_back(m->Scope);
  EXPECT_EQ(scopes, (std::vector<std::string>{"Lib.B", "Lib.C", "Lib.A"}));
  EXPECT_NE(ModuleTree->Find("Lib.A")->Root, nullptr);
  EXPECT_TRUE(ModuleTree->Find("Lib.A")->Root->IsModule);
}

TEST_F(ModuleTreeTest, LoadingReportsWhatIsMissingOrOutdated) {
  Module("Lib.Old", "", "");
  TempTree::SetTime(tree.Path("mod/Lib/Old/Old.zn"), 300);
  tree.Write("mod/Lib/Unbuilt/Unbuilt.zn", "");
  Load();
  testing::internal::CaptureStdout();
  TCompiler::LoadModules("Lib.Old", nullptr, nullptr, true);
  TCompiler::LoadModules("Lib.Unbuilt", nullptr, nullptr, true);  // silent: no report
  // A module without build outputs counts as outdated too.
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Warning: Current build of module 'Lib.Old' is outdated.\n"
            "Warning: Current build of module 'Lib.Unbuilt' is outdated.\n");
  EXPECT_EXIT(MessagesToStderr(); TCompiler::LoadModules("Lib.Nope", nullptr, nullptr, false),
              testing::ExitedWithCode(255), "^Unable to find module 'Lib.Nope'\n$");
  EXPECT_EXIT(MessagesToStderr(); TCompiler::LoadModules("Lib.Unbuilt", nullptr, nullptr, false),
              testing::ExitedWithCode(255),
              "Unable to find matching build of module 'Lib.Unbuilt'\n$");
}

TEST_F(ModuleTreeTest, UnusableModulesAreUnloadedWithTheirDependers) {
  // B uses a class of C; C misses a symbol; A misses a module (and so counts as outdated); D,
  // checked after B fell, uses B and falls too; E stands alone.
  Module("Lib.A", "Module Lib.Missing\r\n", "1-1:1-1 Global AThing:Int\r\n");
  Module("Lib.B", "", "1-1:1-1 Global BThing:CThing\r\n");
  Module("Lib.C", "", "Extern\r\n1-1:1-1 Class CThing Extends Ghost\r\nEndClass\r\n");
  Module("Lib.D", "", "1-1:1-1 Global DThing:BThing Ptr\r\nExtern\r\n1-1:1-1 Class E2\r\nEndClass\r\n");
  Module("Lib.E", "", "1-1:1-1 Global EThing:Int\r\n");
  Load();
  std::string output;
  TModuleScope* scope = Check("Lib.*", nullptr, output);
  EXPECT_EQ(output,
            "Warning: Current build of module 'Lib.A' is outdated.\n"
            "Unloading module Lib.A\nDue to missing module(s):\nLib.Missing\n"
            "Unloading module Lib.B\n"
            "Unloading module Lib.C\nDue to missing symbol(s):\nGhost\n"
            "Unloading module Lib.D\n");
  EXPECT_EQ(scope->Mode, MODE_PROGRAM);
  EXPECT_EQ(scope->Find("CThing"), nullptr);
  EXPECT_NE(scope->Find("EThing"), nullptr);
  EXPECT_EQ(ModuleTree->Find("Lib.C")->Dependers.front(), ModuleTree->Find("Lib.B"));
  EXPECT_TRUE(ModuleTree->Find("Lib.D")->MissingSymbols.empty());
  // Unusable modules stay unusable for every later scope of the run.
  std::string again;
  Check("Lib.C", nullptr, again);
  EXPECT_EQ(again, "Unloading module Lib.C\nDue to missing symbol(s):\nGhost\n");
}

TEST_F(ModuleTreeTest, NamesResolveThroughProgramThenImportedModulesThenCore) {
  Module("Core.Base", "", "1-1:1-1 Global Shared:Int\r\n1-1:1-1 Global CoreOnly:Int\r\n");
  Module("Lib.X", "", "1-1:1-1 Global Shared:Long\r\n1-1:1-1 Global XOnly:Int\r\n");
  Module("Lib.Y", "", "1-1:1-1 Global Shared:Double\r\n");
  Load();
  std::string output;
  TModuleScope* core = Check("Core.*", nullptr, output);
  testing::internal::CaptureStdout();
  std::map<std::string, TModule*> loaded;
  std::vector<TModule*> list;
  TCompiler::LoadModules("Lib.Y", &loaded, &list, false);
  TCompiler::LoadModules("Lib.X", &loaded, &list, false);
  TModuleScope* imported = TCompiler::CheckModuleScope(core, list);
  output += testing::internal::GetCapturedStdout();
  EXPECT_EQ(output, "");
  auto typeOf = [](TASTNode* node) {
    auto* declaration = dynamic_cast<TVariableDeclNode*>(node);
    return declaration != nullptr ? declaration->Datatype->ToString() : std::string("none");
  };
  EXPECT_EQ(typeOf(imported->Find("shared")), "Double");  // the first imported module
  EXPECT_EQ(typeOf(imported->Find("XOnly")), "Int");
  EXPECT_EQ(typeOf(imported->Find("CoreOnly")), "Int");
  EXPECT_EQ(typeOf(imported->Find("Nowhere")), "none");
  TScope* program = (new TScope())->Create(imported);
  TVariableDeclNode* own = ActiveTarget->CreateVariableDeclNode();
  program->Insert("Shared", own);
  EXPECT_EQ(program->Find("SHARED"), own);
  // A program-mode scope records nothing against modules.
  EXPECT_TRUE(ModuleTree->Find("Lib.Y")->Dependers.empty());
}

// A program importing a core module again sees the same declarations as the core modules do:
// loading a module a second time keeps the root it has.
TEST_F(ModuleTreeTest, ModulesLoadedTwiceKeepTheirDeclarations) {
  Module("Core.Base", "", "Extern\r\n1-1:1-9 Class Object\r\nEndClass\r\nExtern\r\n2-2:1-9 Class Thing\r\nEndClass\r\n");
  Module("Core.Maker", "Module Core.Base\r\n", "1-1:1-9 Function Make:Thing()\r\n");
  Load();
  std::string output;
  CoreModuleScope = Check("Core.*", nullptr, output);
  const std::string main = tree.Write("p/main.zn", "Import Core.Base\nLocal t:Thing = Make()\n");
  TCompiler compiler;
  output += testing_support::ParseAndCheck(compiler, main, true);
  EXPECT_EQ(output, "Compiling " + main + "\n");
}

TEST_F(ModuleTreeTest, CyclesThroughLinksAndLargeTreesLoad) {
  TempTree big("module-tree-big", true);
  TPaths::ModuleRoot = big.Path("mod");
  big.Write("mod/Loop/Inner/Inner.zn", "");
  std::filesystem::create_directory_symlink(big.Path("mod/Loop"), big.Path("mod/Loop/Inner/Back"));
  std::filesystem::create_directory_symlink(big.Path("mod"), big.Path("mod/Loop/Up"));
  std::filesystem::create_directory_symlink(big.Path("mod/Loop/Inner"), big.Path("mod/Loop/Inner/Self"));
  // An alias sorting before the folder it names: both show the module, its file is listed once.
  big.Write("mod/Pair/Real/Mod/Mod.zn", "");
  std::filesystem::create_directory_symlink(big.Path("mod/Pair/Real"), big.Path("mod/Pair/Alias"));
  std::filesystem::create_directory(big.Path("mod/Many"));
  std::string deep = "mod/Deep";
  for (int i = 0; i < 300; ++i) deep += "/D";
  std::filesystem::create_directories(big.Path(deep));
  for (int i = 0; i < 10000; ++i) std::filesystem::create_directory(big.Path("mod/Many/F" + std::to_string(i)));
  const auto start = std::chrono::steady_clock::now();
  TModule* root = Load();
  // A walk that followed the links round would never end; a generous bound, for loaded machines
  // and sanitizer builds.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  ASSERT_NE(root->Find("Loop.Inner"), nullptr);
  EXPECT_TRUE(root->Find("Loop.Inner")->IsModule);
  EXPECT_EQ(root->Find("Loop.Inner.Back"), nullptr);
  EXPECT_EQ(root->Find("Loop.Up"), nullptr);
  for (const char* scope : {"Pair.Real.Mod", "Pair.Alias.Mod"}) {
    ASSERT_NE(root->Find(scope), nullptr) << scope;
    EXPECT_TRUE(root->Find(scope)->IsModule) << scope;
  }
  EXPECT_EQ(root->Find("Many")->Children.size(), 10000u);
  EXPECT_FALSE(root->ToList().empty());
  EXPECT_EQ(TModule::ListModulesInScope("Loop.*"),
            (std::vector<std::string>{big.Path("mod/Loop/Inner/Inner.zn")}));
  EXPECT_EQ(TModule::ListModulesInScope("Pair.*"),
            (std::vector<std::string>{big.Path("mod/Pair/Alias/Mod/Mod.zn")}));
  EXPECT_EQ(TModule::ListModulesInScope("*").size(), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
}  // namespace zintrel

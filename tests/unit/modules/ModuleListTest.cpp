#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/Paths.h"
#include "modules/Module.h"

namespace zintrel {
namespace {

class ModuleListTest : public testing::Test {
 protected:
  void SetUp() override {
    saved = TPaths::ModuleRoot;
    base = std::filesystem::temp_directory_path() / ("zintrel-module-list-test-" + std::to_string(getpid()));
    std::filesystem::remove_all(base);
    for (const char* code : {"Zintrel/Core/Core.zn", "Zintrel/Core/AppInit/AppInit.zn",
                             "Zintrel/IO/IO.zn", "Zintrel/.hidden/.hidden.zn",
                             "Zintrel/Core/Extra/NotNamedAfterFolder.zn"}) {
      std::filesystem::path p = base / "mod" / code;
      std::filesystem::create_directories(p.parent_path());
      std::ofstream(p) << "\n";
    }
    std::ofstream(base / "mod/Zintrel/readme.txt") << "x\n";
    TPaths::ModuleRoot = (base / "mod").string();
  }
  void TearDown() override {
    TPaths::ModuleRoot = saved;
    std::filesystem::remove_all(base);
  }
  std::string Root() const { return TPaths::ModuleRoot; }
  std::string saved;
  std::filesystem::path base;
};

TEST_F(ModuleListTest, ScopePaths) {
  EXPECT_EQ(TModule::ScopeToFolderPath("Zintrel.Core.AppInit"), Root() + "/Zintrel/Core/AppInit");
  EXPECT_EQ(TModule::ScopeToCodePath("Zintrel.Core.AppInit"),
            Root() + "/Zintrel/Core/AppInit/AppInit.zn");
  EXPECT_EQ(TModule::ScopeToCodePath("Solo"), Root() + "/Solo/Solo.zn");
}

TEST_F(ModuleListTest, PlainPatternNamesOneModule) {
  EXPECT_EQ(TModule::ListModulesInScope("Zintrel.Core"),
            (std::vector<std::string>{Root() + "/Zintrel/Core/Core.zn"}));
  EXPECT_TRUE(TModule::ListModulesInScope("Zintrel").empty());  // a grouping folder
  EXPECT_TRUE(TModule::ListModulesInScope("Zintrel.Nothing").empty());
  EXPECT_TRUE(TModule::ListModulesInScope("Zintrel.Nothing.*").empty());
}

TEST_F(ModuleListTest, RecursivePatternWalksBelowSkippingHiddenFolders) {
  EXPECT_EQ(TModule::ListModulesInScope("Zintrel.*"),
            (std::vector<std::string>{Root() + "/Zintrel/Core/Core.zn",
                                      Root() + "/Zintrel/Core/AppInit/AppInit.zn",
                                      Root() + "/Zintrel/IO/IO.zn"}));
  EXPECT_EQ(TModule::ListModulesInScope("Zintrel.Core.*"),
            (std::vector<std::string>{Root() + "/Zintrel/Core/Core.zn",
                                      Root() + "/Zintrel/Core/AppInit/AppInit.zn"}));
}

}  // namespace
}  // namespace zintrel

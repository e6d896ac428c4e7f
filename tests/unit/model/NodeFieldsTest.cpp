// Every child of a node is held by one of the fields its class lists for VisitNodeFields, so a
// rewrite (ReplaceChildNode) reaches it and code generation, which reads fields, sees the
// rewritten tree. Checked over whole programs that use every statement and expression form.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unordered_set>

#include "driver/Compiler.h"
#include "model/ProgramNode.h"
#include "model/ASTNode.h"

namespace zintrel {
namespace {

class TFieldCollector : public TNodeFieldVisitor {
 public:
  void Visit(TASTNode* value, bool (*)(void*, TASTNode*), void*) override { Fields.insert(value); }
  std::unordered_set<TASTNode*> Fields;
};

// What the cases take from the core modules, declared here: no module tree is loaded.
const char* const CorePrelude =
    "Extern\n"
    "  Class Object\n    Method ToString:String()\n  EndClass\n"
    "  Class String Extends Object Final\n    Method Length:Int()\n"
    "    Function FromChar:String(code:Int)\n  EndClass\n"
    "  Class Array Extends Object Final\n    Field Length:Int\n"
    "    Method Size:Int(dimension:Int = 0)\n  EndClass\n"
    "  Function Print(text:String)\n"
    "EndExtern\n";

// The source of main.zn in an end-to-end case file, its module imports replaced by the prelude.
std::string CaseSource(const std::string& name) {
  std::ifstream in(std::string(ZINTREL_SOURCE_DIR) + "/tests/programs/" + name);
  std::string line, source = CorePrelude;
  bool inMain = false;
  while (std::getline(in, line)) {
    if (line.rfind("--- ", 0) == 0) {
      inMain = line == "--- main.zn";
      continue;
    }
    if (inMain && line.rfind("Import Zintrel.", 0) != 0) source += line + "\n";
  }
  return source;
}

// The children, reachable from the program's root, that no field of their parent holds.
std::vector<std::string> UnreachableChildren(TASTNode* root) {
  std::vector<std::string> missing;
  std::vector<TASTNode*> pending{root};
  std::unordered_set<TASTNode*> seen;
  while (!pending.empty()) {
    TASTNode* node = pending.back();
    pending.pop_back();
    if (!seen.insert(node).second) continue;
    TFieldCollector fields;
    node->VisitNodeFields(fields);
    for (TASTNode* child : node->Children) {
      if (child == nullptr) continue;
      if (fields.Fields.count(child) == 0)
        missing.push_back(child->GetName() + " below " + node->GetName() + " at " +
                          child->ToString());
      pending.push_back(child);
    }
  }
  return missing;
}

// Parsed trees (Select with its cases, classes with their members) and checked trees (casts,
// lowered Selects, constructor calls) alike.
TEST(NodeFields, EveryChildIsReachableThroughTheFieldsOfItsParent) {
  for (const char* name : {"statements/statements_ok.case", "declarations/declarations_ok.case"}) {
    std::string source = CaseSource(name);
    ASSERT_FALSE(source.empty()) << name;
    for (bool checked : {false, true}) {
      std::string folder = ::testing::TempDir() + "zintrel-node-fields-" + std::to_string(checked);
      std::filesystem::create_directories(folder);
      std::ofstream(folder + "/main.zn") << source;
      TCompiler compiler;
      ::testing::internal::CaptureStdout();
      compiler.Setup({"a.out", "", "", "", "on", "cpp", ""}, folder + "/main.zn");
      compiler.Parse();
      if (checked) compiler.SemanticAnalysis();
      std::string output = ::testing::internal::GetCapturedStdout();
      ASSERT_EQ(output.find("error"), std::string::npos) << name << ": " << output;
      for (TProgramNode* root : compiler.Roots)
        EXPECT_EQ(UnreachableChildren(root), std::vector<std::string>()) << name << checked;
      std::filesystem::remove_all(folder);
    }
  }
}

}  // namespace
}  // namespace zintrel

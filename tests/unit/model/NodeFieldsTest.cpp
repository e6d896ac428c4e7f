// Every child of a node is held by one of the fields its class lists for VisitNodeFields: a node
// keeps no list of its children, the walks over them go through the fields, and so do rewrites
// (ReplaceChildNode) and code generation. Checked over whole programs that use every statement
// and expression form.
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

// The nodes made since the handle given that a field holds, whose parent's fields do not hold
// them: a node is its parent's child only through a field of the parent. (Nodes no field holds
// are no one's child: a function's heading made only to be read from, say.)
std::vector<std::string> ChildrenNoFieldHolds(int32_t first) {
  std::vector<TASTNode*> nodes;
  std::unordered_set<TASTNode*> held;
  for (int32_t handle = first; handle < TNodeTable::NodeCount(); ++handle) {
    TASTNode* node = HandleToNode(handle);
    if (node == nullptr) continue;
    nodes.push_back(node);
    TFieldCollector fields;
    node->VisitNodeFields(fields);
    held.insert(fields.Fields.begin(), fields.Fields.end());
  }
  std::vector<std::string> missing;
  for (TASTNode* node : nodes) {
    if (node->Parent == nullptr || held.count(node) == 0) continue;
    TFieldCollector fields;
    node->Parent->VisitNodeFields(fields);
    if (fields.Fields.count(node) == 0)
      missing.push_back(node->GetName() + " below " + node->Parent->GetName() + " at " +
                        node->ToString());
  }
  return missing;
}

// The parsed trees (Select with its cases, classes with their members): a rewrite of the check
// replaces a field's node, and the node replaced keeps its parent (see ReplaceChildNode).
TEST(NodeFields, EveryChildIsHeldByAFieldOfItsParent) {
  for (const char* name : {"statements/statements_ok.case", "declarations/declarations_ok.case"}) {
    std::string source = CaseSource(name);
    ASSERT_FALSE(source.empty()) << name;
    std::string folder = ::testing::TempDir() + "zintrel-node-fields";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/main.zn") << source;
    TCompiler compiler;
    const int32_t first = TNodeTable::NodeCount();
    ::testing::internal::CaptureStdout();
    compiler.Setup({"a.out", "", "", "", "on", "cpp", ""}, folder + "/main.zn");
    compiler.Parse();
    std::string output = ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(output.find("error"), std::string::npos) << name << ": " << output;
    EXPECT_EQ(ChildrenNoFieldHolds(first), std::vector<std::string>()) << name;
    std::filesystem::remove_all(folder);
  }
}

}  // namespace
}  // namespace zintrel

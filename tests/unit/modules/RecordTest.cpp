// Dependency records: what the writer writes, the reader reads back, and no record, however
// damaged, makes the reader crash.
#include <gtest/gtest.h>

#include <random>

#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "model/ProgramNode.h"
#include "model/Scope.h"
#include "model/VariableDeclNode.h"
#include "modules/DependencyNode.h"
#include "support/Files.h"
#include "semantics/Expression.h"
#include "ModuleTestSupport.h"

namespace zintrel {
namespace {

using testing_support::MessagesToStderr;
using testing_support::ParseAndCheck;
using testing_support::TempTree;

const char* const EveryDeclaration =
    "Extern\n"
    "  Class Object\n"
    "  EndClass\n"
    "  Class String Extends Object Final\n"
    "  EndClass\n"
    "  Class Array Extends Object Final\n"
    "  EndClass\n"
    "  Const Outside:Int\n"
    "  Global Counter:Int\n"
    "  Function Native:Int(a:Int)\n"
    "EndExtern\n"
    "Const Limit:Int = 100, Negative:Long = -5, Big:ULong = 18446744073709551615\n"
    "Const Third:Double = 1.0d / 3.0d, Half:Float = 0.5, On:Bool = True\n"
    "Global Name:String, Table:Int[,], Handler:Int(a:Int, b:String), Raw:Byte Ptr\n"
    "Local Skipped:Int = 1\n"
    "Function Clamp:Int(v:Int, lo:Int = 0, hi:Int = 10)\n"
    "EndFunction\n"
    "Function Main()\n"
    "EndFunction\n"
    "Class Shape Abstract\n"
    "  Method Area:Double() Abstract\n"
    "EndClass\n"
    "Class Square Extends Shape Final\n"
    "  Field Side:Double\n"
    "  Global Count:Int\n"
    "  Const Sides:Int = 4\n"
    "  Method Square(s:Double = 2.0d)\n"
    "  EndMethod\n"
    "  Method Area:Double()\n"
    "  EndMethod\n"
    "  Function Make:Shape()\n"
    "  EndFunction\n"
    "  Private\n"
    "  Field Secret:Int\n"
    "  Method Hidden()\n"
    "  EndMethod\n"
    "  Protected\n"
    "  Function Guarded:Int()\n"
    "  EndFunction\n"
    "EndClass\n";

std::vector<std::string> Exports(const std::vector<std::string>& lines) {
  auto at = std::find(lines.begin(), lines.end(), "\nExports:");
  return at == lines.end() ? std::vector<std::string>() : std::vector<std::string>(at + 1, lines.end());
}

// Only the location columns differ between programs; tests compare what follows them.
std::vector<std::string> WithoutLocations(std::vector<std::string> lines) {
  for (std::string& line : lines) {
    const size_t blank = line.find(' ');
    if (blank != std::string::npos && line.find('-') < blank) line = line.substr(blank + 1);
  }
  return lines;
}

TProgramNode* Read(std::string_view text) {
  testing_support::UseCppTarget();
  TASTNode::CommonSourceFile = "/nowhere/file.zn";
  return ActiveTarget->CreateProgramNode()->FromString(text);
}

class RecordTest : public testing::Test {
 protected:
  void SetUp() override { testing_support::UseCppTarget(); }
  TempTree tree{"records"};
};

TEST_F(RecordTest, EveryDeclarationKindIsWrittenAndReadBack) {
  TCompiler compiler;
  const std::string main = tree.Write("main.zn", EveryDeclaration);
  ParseAndCheck(compiler, main, true);
  const std::vector<std::string> lines = compiler.DependencyLines(compiler.MainRoot);
  EXPECT_EQ(lines.front(), "Imports:");
  EXPECT_EQ(WithoutLocations(Exports(lines)),
            (std::vector<std::string>{
                "Extern", "Const Outside:Int",
                "Extern", "Global Counter:Int",
                "Const Limit:Int=100", "Const Negative:Long=-5", "Const Big:ULong=-1",
                "Const Third:Double=0.33333333333333331", "Const Half:Float=0.50000000000000000",
                "Const On:Bool=1",
                "Global Name:String", "Global Table:Int[,]", "Global Handler:Int(a:Int, b:String)",
                "Global Raw:Byte Ptr",
                "Extern", "Function Native:Int(a:Int)",
                "Function Clamp:Int(v:Int, lo:Int=, hi:Int=)", "Function Main()",
                "Extern", "Class Object", "Private", "Protected", "EndClass",
                "Extern", "Class String Extends Object Final", "Private", "Protected", "EndClass",
                "Extern", "Class Array Extends Object Final", "Private", "Protected", "EndClass",
                "Class Shape Extends Object Abstract", "Method Area:Double() Abstract", "Private",
                "Protected", "EndClass",
                "Class Square Extends Shape Final", "Field Side:Double", "Global Count:Int",
                "Const Sides:Int=4", "Method Square(s:Double=)", "Method Area:Double()",
                "Function Make:Shape()", "Private", "Field Secret:Int", "Method Hidden()",
                "Protected", "Function Guarded:Int()", "EndClass"}));
  // Locations are written as StartLine-EndLine:StartCol-EndCol.
  EXPECT_EQ(Exports(lines)[4].substr(0, Exports(lines)[4].find(' ')), "12-12:7-22");

  // What is written reads back as the same declarations.
  const std::string record = tree.Path("main.dep");
  compiler.GenerateDependenciesFile(compiler.MainRoot, record);
  std::string bytes;
  ASSERT_TRUE(ReadTextFile(record, bytes));
  EXPECT_EQ(bytes.substr(0, 12), "Imports:\r\n\nE");  // CR LF lines; the exports head after LF

  TProgramNode* read = TCompiler::LoadRootFromDep(record, main);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->IsCompiled);
  // Checked on its own, the rebuilt root writes the very same exports.
  TASTNode::SuppressLookupErrors = 1;
  read->CheckCorrectness(new TScope());
  TASTNode::SuppressLookupErrors = 0;
  TCompiler other;
  EXPECT_EQ(Exports(other.DependencyLines(read)), Exports(compiler.DependencyLines(compiler.MainRoot)));

  // The fields behind the lines.
  TClassNode* square = read->Classes.back();
  EXPECT_EQ(square->Constructor->Identifier, "__CreateSquare");
  EXPECT_TRUE(square->Constructor->IsConstructor);
  EXPECT_EQ(square->Constructor->Parameters[0]->Value->GetName(), "TLiteralNode");
  EXPECT_EQ(square->ClassParents[0].Class, read->Classes[3]);
  EXPECT_EQ(square->Variables[3]->Visibility, VISIBILITY_PRIVATE);
  EXPECT_EQ(square->Functions[1]->Declaration->Visibility, VISIBILITY_PROTECTED);
  EXPECT_TRUE(read->Classes[0]->IsExtern);
  auto* limit = dynamic_cast<TVariableDeclNode*>(read->Statements[2]);
  limit->Value->EvaluateResult();
  EXPECT_EQ(limit->Value->GetCastedIntResult(), 100);
  auto* on = dynamic_cast<TVariableDeclNode*>(read->Statements[7]);
  on->Value->EvaluateResult();
  EXPECT_EQ(on->Value->GetCastedIntResult(), 1);
  // An extern constant stays without value, so constant expressions still refuse it.
  EXPECT_EQ(dynamic_cast<TVariableDeclNode*>(read->Statements[0])->Value, nullptr);
}

TEST_F(RecordTest, ImportsListTheFilesAFileNeeds) {
  const std::string main = tree.Write("main.zn",
                                      "Import \"a.zn\"\nImport \"native.h\"\nImport \"x.cpp\"\n"
                                      "Import \"pre.o\"\nImport \"gc\"\nLocal v:Int = Twice(1)\n");
  tree.Write("a.zn", "Import \"lib/u.zn\"\nFunction Twice:Int(v:Int)\nEndFunction\n");
  tree.Write("lib/u.zn", "Import \"../a.zn\"\nLocal w:Int = Twice(2)\n");
  TCompiler compiler;
  ParseAndCheck(compiler, main, true);
  ASSERT_EQ(compiler.Roots.size(), 3u);
  // The main file lists every other file; the others what they use and what they import.
  EXPECT_EQ(compiler.DependencyLines(compiler.Roots[0]),
            (std::vector<std::string>{"Imports:", "File a.zn", "File lib/u.zn",
                                      "File " + tree.Path("native.h"), "File " + tree.Path("x.cpp"),
                                      "File pre.o", "File gc", "\nExports:"}));
  EXPECT_EQ(compiler.DependencyLines(compiler.Roots[1]),
            (std::vector<std::string>{"Imports:", "File lib/u.zn", "\nExports:",
                                      compiler.Roots[1]->Functions[0]->ToString()}));
  EXPECT_EQ(compiler.DependencyLines(compiler.Roots[2]),
            (std::vector<std::string>{"Imports:", "File ../a.zn", "\nExports:"}));
}

TEST_F(RecordTest, EdgeCasesOfTheLineFormats) {
  TProgramNode* root = Read(
      "Imports:\n"
      "File util.zn\n"
      "File caf\xC3\xA9/\xFF.zn\n"
      "Module Zintrel.Core\n"
      "\nExports:\n"
      "1-1:1-9 Const Unchecked:Int\n"
      "2-2:1-9 Global Wide\xE9t\xFF:Int\n"
      "3-3:1-9 Function NoParameters()\n"
      "4-4:1-9 Function Curried:Int(a:Int)(b:Int)\n"
      "5-5:1-9 Class Plain Abstract\n"
      "6-6:1-9 Method Both:Int() Abstract Final\n"
      "7-7:1-9 Method Only() Abstract\n"
      "EndClass\n"
      "Extern\n"
      "8-8:1-9 Class Outside\n"
      "9-9:1-9 Const Unknown:Int\n"
      "EndClass\n");
  ASSERT_NE(root, nullptr);
  // Paths are 8-bit text, kept byte for byte.
  EXPECT_EQ(root->FileImports, (std::vector<std::string>{"util.zn", "caf\xC3\xA9/\xFF.zn"}));
  EXPECT_EQ(root->ModuleImports, std::vector<std::string>{"Zintrel.Core"});
  auto* unchecked = dynamic_cast<TVariableDeclNode*>(root->Statements[0]);
  ASSERT_NE(unchecked->Value, nullptr);  // the literal of the empty text
  unchecked->Value->EvaluateResult();
  EXPECT_EQ(unchecked->Value->GetCastedIntResult(), 0);
  EXPECT_EQ(dynamic_cast<TVariableDeclNode*>(root->Statements[1])->Identifier, "Wide\xE9t\xFF");
  EXPECT_EQ(root->Functions[0]->ParameterCount, 0);
  EXPECT_EQ(root->Functions[1]->ReturnDatatype->ToString(), "Int(a:Int)");
  EXPECT_EQ(root->Functions[1]->Parameters[0]->Identifier, "b");
  TClassNode* plain = root->Classes[0];
  EXPECT_TRUE(plain->AbstractFlag);
  EXPECT_TRUE(plain->ClassParents.empty());
  EXPECT_FALSE(plain->Methods[0]->IsAbstract);  // the end of the line decides
  EXPECT_TRUE(plain->Methods[0]->IsFinal);
  EXPECT_TRUE(plain->Methods[1]->IsAbstract);
  EXPECT_EQ(plain->Methods[0]->StartLine, 6);
  EXPECT_EQ(plain->Methods[0]->EndCol, 9);
  // The members of an external class are external; its constants keep no value.
  EXPECT_TRUE(root->Classes[1]->Variables[0]->IsExtern);
  EXPECT_EQ(root->Classes[1]->Variables[0]->Value, nullptr);
}

TEST_F(RecordTest, RecordsInUtf16AreReadToo) {
  const std::string text = "Imports:\r\nModule A.B\r\n\nExports:\r\n1-1:1-5 Global G:Int\r\n";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (char c : text) {
    le += c;
    le += '\0';
    be += '\0';
    be += c;
  }
  for (const std::string& bytes : {le, be, "\xEF\xBB\xBF" + text}) {
    const std::string record = tree.Write("r.dep", bytes);
    TProgramNode* root = TCompiler::LoadRootFromDep(record, tree.Path("r.zn"));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ModuleImports, std::vector<std::string>{"A.B"});
    EXPECT_EQ(root->Statements.size(), 1u);
  }
  EXPECT_EQ(TCompiler::LoadRootFromDep(tree.Path("none.dep"), tree.Path("r.zn")), nullptr);
}

TEST_F(RecordTest, DamagedRecordsAreRefusedOrIgnoredNeverFollowed) {
  const std::string head = "Imports:\n\nExports:\n";
  const std::string deep = "1-1:1-1 Global A:Int" + std::string(1 << 20, ' ');
  std::string ptrs = "1-1:1-1 Global A:Int";
  while (ptrs.size() < (1u << 20)) ptrs += " Ptr";
  std::string parens = "1-1:1-1 Function F(";
  parens += std::string(1 << 20, '(');
  std::string longName = "1-1:1-1 Global " + std::string(1 << 20, 'n') + ":Int";
  struct Case {
    std::string Text;
    bool Readable;
  } cases[] = {
      {head + "1-1:1-9 Global A:Int", false},               // cut short: no final line break
      {"Imports:\nFile a.zn\nExpo", false},                  // cut short in the head
      {"", false},
      {head + "Bogus words here\n1-1:1-1 Local x:Int\n", true},  // unknown keywords are ignored
      {head + "x-1:1-1 Global A:Int\n", false},              // garbage locations
      {head + "1-1:1-99999999999 Global A:Int\n", false},
      {head + "1-1 Global A:Int\n", false},
      {head + "1-1:1-1 Global A:Int Ptr[(\n", false},        // unresolvable datatype texts
      {head + "1-1:1-1 Global A:(\n", false},
      {head + "1-1:1-1 Global A:Void\n", false},
      {head + "1-1:1-1 Const A:Int=12abc\n", false},
      {head + "1-1:1-1 Function F:Int(a Int)\n", false},
      {head + "1-1:1-1 Function F:Int(a:Int\n", false},
      {head + ptrs + "\n", false},                           // 1 MB lines
      {head + parens + "\n", false},
      {head + longName + "\n", true},
      {head + deep + "\n", false},
      {head + "1-1:1-1 Global \x80\xFE:Int\n\xFF\xFE\x01\n", true},  // bytes above 127
      {head + "1-1:1-1 Method M()\n", false},                // structure: member outside a class
      {head + "1-1:1-1 Field F:Int\n", false},
      {head + "EndClass\n", false},
      {head + "1-1:1-1 Class A\n", false},                   // never closed
      {head + "1-1:1-1 Class A\n1-1:1-1 Class B\nEndClass\n", false},
      {head + "1-1:1-1 Class A\n1-1:1-1 Method A:Int()\nEndClass\n", false},
      {head + "1-1:1-1 Class A Sealed\nEndClass\n", false},
  };
  for (const Case& c : cases) {
    TProgramNode* root = Read(c.Text);
    EXPECT_EQ(root != nullptr, c.Readable) << c.Text.substr(0, 80);
  }
}

TEST_F(RecordTest, RandomDamageNeverCrashesTheReader) {
  TCompiler compiler;
  const std::string main = tree.Write("main.zn", EveryDeclaration);
  ParseAndCheck(compiler, main, true);
  std::string valid;
  for (const std::string& line : compiler.DependencyLines(compiler.MainRoot)) valid += line + "\n";
  std::mt19937 random(12345);
  const std::string alphabet = "()[],:= -\n0123456789AbPtr\xC3\xFF";
  int readable = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text = valid;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const size_t at = random() % text.size();
      switch (random() % 3) {
        case 0:
          text[at] = alphabet[random() % alphabet.size()];
          break;
        case 1:
          text.erase(at, 1 + random() % 8);
          break;
        default:
          text.insert(at, 1, alphabet[random() % alphabet.size()]);
      }
    }
    if (Read(text) != nullptr) ++readable;
  }
  EXPECT_GT(readable, 0);  // damage in ignored places still reads
}

TEST_F(RecordTest, WriterReportsWhatItCannotWrite) {
  TCompiler compiler;
  const std::string main = tree.Write("main.zn", EveryDeclaration);
  ParseAndCheck(compiler, main, true);
  const std::string bad = tree.Path("missing/folder/x.dep");
  EXPECT_EXIT(MessagesToStderr(); compiler.GenerateDependenciesFile(compiler.MainRoot, bad),
              testing::ExitedWithCode(255), "Failed to write dependency file at '" + bad + "'");
  TVariableDeclNode* local = ActiveTarget->CreateVariableDeclNode()->Create(
      0, "x", ActiveTarget->CreateDatatype()->Create(TYPE_INT, nullptr, 0), nullptr);
  EXPECT_EXIT(MessagesToStderr(); (void)local->ToString(), testing::ExitedWithCode(255),
              "Semantic error: Invalid variable scope");
}

}  // namespace
}  // namespace zintrel

// The program-specific texts of a file's header, class headers and source, and its main
// function.
#include <gtest/gtest.h>

#include "../CheckedProgram.h"
#include "cpp/CPPNodes.h"
#include "support/Beside.h"
#include "support/Files.h"

namespace zintrel {
namespace {

using testing_support::CheckedProgram;

TEST(UnitTexts, MainIdentifierKeepsLettersDigitsAndUnderscores) {
  const std::pair<const char*, const char*> cases[] = {
      {"/work/my-app.zn", "myappMain"},
      {"main.zn", "mainMain"},
      {"/a/b.c/My_App2.test.zn", "My_App2testMain"},
      {"x/2048.zn", "_2048Main"},  // an identifier cannot start with a digit
      {"x/-.zn", "Main"},
  };
  for (const auto& [path, identifier] : cases) {
    TCPPProgramNode* root = TCPPProgramNode::Create();
    root->SetSourceFile(path);
    EXPECT_EQ(root->GenerateMainIdentifier(), identifier) << path;
  }
}

TEST(UnitTexts, HeaderSourceAndMainOfAFile) {
  CheckedProgram program(
      "Const Limit:Int = 10\n"
      "Global x:Int = 5\n"
      "Local y:Int = x\n"
      "Function Twice:Int(a:Int)\n  Return a * 2\nEndFunction\n"
      "Class Thing\nEndClass\n"
      "Class Other\n  Field link:Other\n  Function Make:Thing()\n  EndFunction\nEndClass\n"
      "Class Unused\nEndClass\n"
      "Local t:Thing\n"
      "y = Twice(Limit)\n"
      "Global z:String\n");
  ASSERT_EQ(program.output, "Compiling " + program.path + "\n");
  auto* root = static_cast<TCPPProgramNode*>(program.Root());
  // The core classes the test program declares are extern: no forward declarations of them.
  EXPECT_EQ(root->GenerateClassPrototypes("\t"), "\tstruct Thing;\n\tstruct Other;\n");
  EXPECT_EQ(root->GenerateHeaderCode(""),
            "struct Thing;\nstruct Other;\n\n\n"
            "const int32_t Limit = 10;\nextern int32_t x;\nextern String* z;\n\n"
            "int32_t Twice(int32_t a);\n");
  // A class header declares the classes its members are declared with, not the file's.
  EXPECT_EQ(root->GenerateClassHeaderCode("", root->Classes.at(3)),
            "struct Thing: public virtual Object {\n\tThing();\n};\n");
  EXPECT_EQ(root->GenerateClassHeaderCode("", root->Classes.at(4)),
            "struct Thing;\nstruct Other;\n\n\nstruct Other: public virtual Object {\n"
            "\tOther* link;\n\n\tstatic Thing* Make();\n\n\tOther();\n};\n");
  // Globals are defined with their default values and get their declared ones in the main
  // function, in statement order; locals live in the main function; constants are not there.
  EXPECT_EQ(root->GenerateMain("\t"),
            "\tvoid mainMain() {\n"
            "\t\tx = 5;\n\t\tint32_t y = x;\n\t\tThing* t = 0;\n\t\ty = Twice(Limit);\n"
            "\t\tz = new String(\"\");\n"
            "\t}\n");
  EXPECT_EQ(root->GenerateCode(""),
            "int32_t x = 0;\nString* z = new String(\"\");\n\n"
            "int32_t Twice(int32_t a) {\n\treturn (a * 2);\n}\n\n"
            "\nThing::Thing() {\n}\n\n\n" +
                root->Classes.at(4)->GenerateCode("") + "\n\n" +
                root->Classes.at(5)->GenerateCode("") + "\n\n" + "\n" +
                root->GenerateMain(""));
}

TEST(UnitTexts, AnEmptyFileStillHasItsMainFunction) {
  CheckedProgram program("", false);
  auto* root = static_cast<TCPPProgramNode*>(program.Root());
  EXPECT_EQ(root->GenerateHeaderCode(""), "");
  EXPECT_EQ(root->GenerateCode(""), "\nvoid mainMain() {\n}\n");
}

}  // namespace
}  // namespace zintrel

namespace zintrel {
namespace {

// A long program's classes and functions get their text on the second processor while the
// check goes on, and the writer shares what is left: the source must be the one a single
// thread writes. The program has what generation shares between items: classes whose
// parents override a method differently, and class constants folded into defaults and steps.
TEST(UnitTexts, ALongSourceIsTheSameOnTwoThreadsAsOnOne) {
  std::string source = "Const Base:Int = 3\n";
  for (int i = 0; i < 1500; ++i) {
    const std::string n = std::to_string(i);
    source += "Class A" + n + "\n  Const Limit:Int = " + n + " + Base * 2\n  Method Get:Int()\n" +
              "    Return 1\n  EndMethod\nEndClass\n" + "Class B" + n + " Extends A" + n +
              "\n  Method Get:Int()\n    Return A" + n + ".Limit\n  EndMethod\nEndClass\n" +
              "Class C" + n + " Extends A" + n + "\n  Method Get:Int()\n    Return 3\n" +
              "  EndMethod\nEndClass\n" + "Class D" + n + " Extends B" + n + ", C" + n + "\n" +
              "  Field depth:Int = A" + n + ".Limit * 2\nEndClass\n" + "Function Work" + n +
              ":Int(n:Int)\n  Local k:Int = A" + n + ".Limit + Base, s:Int\n" +
              "  For Local j:Int = 0 To n Step A" + n + ".Limit - Base\n    s = s + j * k\n" +
              "  Next\n  Local b:B" + n + " = New D" + n + "\n  Return s + b.Get()\nEndFunction\n";
  }
  std::string texts[2];
  for (bool threads : {false, true}) {
    TBesideWork::UseThreads(threads);
    CheckedProgram program(source);
    ASSERT_EQ(program.output, "Compiling " + program.path + "\n");
    TTextFileWriter out;
    out.Open(program.path + ".cpp");
    static_cast<TCPPProgramNode*>(program.Root())->WriteCode(out, "");
    ASSERT_TRUE(out.Close());
    ASSERT_TRUE(ReadFileBytes(program.path + ".cpp", texts[threads]));
  }
  TBesideWork::UseThreads(true);
  EXPECT_GT(texts[0].size(), 600000u);
  EXPECT_EQ(texts[0], texts[1]);
}

}  // namespace
}  // namespace zintrel

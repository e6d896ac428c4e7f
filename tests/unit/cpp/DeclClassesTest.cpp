// The C++ text of declarations: locals, functions, and classes with their members.
#include <gtest/gtest.h>

#include "../CheckedProgram.h"
#include "cpp/CPPNodes.h"

namespace zintrel {
namespace {

using testing_support::CheckedProgram;

TCPPClassNode* ClassOf(const CheckedProgram& program, const std::string& name) {
  for (TClassNode* cls : program.Root()->Classes)
    if (cls->Identifier == name) return static_cast<TCPPClassNode*>(cls);
  return nullptr;
}

TCPPFunctionNode* FunctionOf(const CheckedProgram& program, const std::string& name) {
  for (TFunctionNode* function : program.Root()->Functions)
    if (function->Identifier == name) return static_cast<TCPPFunctionNode*>(function);
  return nullptr;
}

TEST(DeclClasses, LocalsAreAlwaysInitialised) {
  CheckedProgram program(
      "Class Point\nEndClass\n"
      "Function Body()\n"
      "  Local u:UByte\n  Local s:String\n  Local grid:Int[,]\n  Local n:ULong = 3\n"
      "  Const none:Point = Null\n  Const c:Double = 0.5d\n"
      "EndFunction\n");
  ASSERT_EQ(program.output, "Compiling " + program.path + "\n");
  EXPECT_EQ(FunctionOf(program, "Body")->Statements->GenerateCode("\t"),
            "\t\tPoint* const none = 0;\n"
            "\t\tconst double c = 0.50000000000000000;\n"
            "\tuint8_t u = 0;\n"
            "\tString* s = new String(\"\");\n"
            "\tArray<int32_t, 2>* grid = new Array<int32_t, 2>(0);\n"
            "\tuint64_t n = ((uint64_t)(3));\n");
}

TEST(DeclClasses, FunctionsPrototypesAndDefinitions) {
  CheckedProgram program(
      "Function F:Int(a:Int, b:Int = 3)\n  a = b\nEndFunction\n"
      "Function G(a:Int)\nEndFunction\n"
      "Function H:String()\n  Return \"x\"\nEndFunction\n");
  ASSERT_EQ(program.output, "Compiling " + program.path + "\n");
  // The default value appears in the prototype only; a body that can fall off its end returns
  // the default value, unless the function returns nothing.
  EXPECT_EQ(FunctionOf(program, "F")->GenerateDeclarationCode("\t", "static "),
            "\tstatic int32_t F(int32_t a, int32_t b = 3)");
  EXPECT_EQ(FunctionOf(program, "F")->GenerateImplementationCode("", "", "X::"),
            "int32_t X::F(int32_t a, int32_t b) {\n\ta = b;\n\treturn 0;\n}");
  EXPECT_EQ(FunctionOf(program, "G")->GenerateImplementationCode("\t", "", ""),
            "\tvoid G(int32_t a) {\n\t}");
  EXPECT_EQ(FunctionOf(program, "H")->GenerateImplementationCode("", "", ""),
            "String* H() {\n\treturn new String(\"x\");\n}");
  EXPECT_EQ(FunctionOf(program, "H")->GenerateCode(""), "");
}

TEST(DeclClasses, PointDeclarationAndDefinitions) {
  CheckedProgram program(
      "Class Point\n  Field x:Int\n"
      "  Method Point(v:Int)\n    x = v\n  EndMethod\n"
      "  Method Len:Double()\n    Return x\n  EndMethod\nEndClass\n");
  ASSERT_EQ(program.output, "Compiling " + program.path + "\n");
  TCPPClassNode* point = ClassOf(program, "Point");
  EXPECT_EQ(point->GeneratePrototypeCode("\t"), "\tstruct Point");
  EXPECT_EQ(point->GenerateDeclarationCode(""),
            "struct Point: public virtual Object {\n"
            "\tint32_t x;\n\n"
            "\tPoint* __CreatePoint(int32_t v);\n"
            "\tvirtual double Len();\n\n"
            "\tPoint();\n"
            "}");
  EXPECT_EQ(point->GenerateCode(""),
            "\ndouble Point::Len() {\n\treturn ((double)(x));\n}\n\n"
            "Point* Point::__CreatePoint(int32_t v) {\n\tx = v;\n\treturn this;\n}\n\n"
            "\nPoint::Point() {\n\tx = 0;\n}\n");
}

TEST(DeclClasses, StaticMembersAbstractMethodsTwoParentsAndFinal) {
  CheckedProgram program(
      "Class Base Abstract\n  Method Area:Double() Abstract\nEndClass\n"
      "Class Other\nEndClass\n"
      "Class Box Extends Base, Other Final\n"
      "  Const Sides:Int = 4\n  Global count:Int\n  Global name:String = \"box\"\n"
      "  Field w:Float = 2.5\n  Field tag:String\n"
      "  Method Area:Double()\n    Return w\n  EndMethod\n"
      "  Function Make:Box()\n  EndFunction\nEndClass\n");
  ASSERT_EQ(program.output, "Compiling " + program.path + "\n");
  EXPECT_EQ(ClassOf(program, "Base")->GenerateDeclarationCode(""),
            "struct Base: public virtual Object {\n\tvirtual double Area() = 0;\n\n\tBase();\n}");
  EXPECT_EQ(ClassOf(program, "Base")->GenerateCode(""), "\n\nBase::Base() {\n}\n");
  EXPECT_EQ(ClassOf(program, "Box")->GenerateDeclarationCode("\t"),
            "\tstruct Box final: public virtual Base, public virtual Other {\n"
            "\t\tstatic const int32_t Sides;\n\t\tstatic int32_t count;\n\t\tstatic String* name;\n"
            "\t\tfloat w;\n\t\tString* tag;\n\n"
            "\t\tvirtual double Area();\n\n"
            "\t\tstatic Box* Make();\n\n"
            "\t\tstatic void __InitGlobals();\n"
            "\t\tBox();\n"
            "\t}");
  // Constants are defined with their values, globals with their default and given their
  // values by the class's start function; fields get theirs in the default constructor.
  EXPECT_EQ(ClassOf(program, "Box")->GenerateCode(""),
            "const int32_t Box::Sides = 4;\nint32_t Box::count = 0;\n"
            "String* Box::name = new String(\"\");\n"
            "void Box::__InitGlobals() {\n\tname = new String(\"box\");\n}\n"
            "\ndouble Box::Area() {\n\treturn ((double)(w));\n}\n\n"
            "\nBox* Box::Make() {\n\treturn 0;\n}\n\n"
            "\nBox::Box() {\n\tw = 2.50000000f;\n\ttag = new String(\"\");\n}\n");
}

TEST(DeclClasses, ParentsOverridingAMethodDifferentlyAreResolvedByTheFirst) {
  CheckedProgram program(
      "Class A\n  Method M:Int(k:Int)\n  EndMethod\nEndClass\n"
      "Class B Extends A\n  Method M:Int(k:Int)\n    Return 1\n  EndMethod\nEndClass\n"
      "Class C Extends A\n  Method M:Int(k:Int)\n    Return 2\n  EndMethod\nEndClass\n"
      "Class Single Extends B, A\nEndClass\n"
      "Class Both Extends C, B\nEndClass\n");
  ASSERT_EQ(program.output, "Compiling " + program.path + "\n");
  // B's version hides A's: no override of its own.
  EXPECT_EQ(ClassOf(program, "Single")->GenerateDeclarationCode(""),
            "struct Single: public virtual B, public virtual A {\n\tSingle();\n}");
  EXPECT_EQ(ClassOf(program, "Both")->GenerateDeclarationCode(""),
            "struct Both: public virtual C, public virtual B {\n"
            "\tvirtual int32_t M(int32_t k);\n\n\tBoth();\n}");
  EXPECT_EQ(ClassOf(program, "Both")->GenerateCode(""),
            "\nint32_t Both::M(int32_t k) {\n\treturn C::M(k);\n}\n\n\nBoth::Both() {\n}\n");
}

// Names that are C++ keywords take the reserved prefix wherever they are written, also at uses
// spelled in another case; names that only differ from a keyword in case ("Char") are kept.
TEST(DeclClasses, KeywordNamesTakeTheReservedPrefix) {
  CheckedProgram program(
      "Class template\n  Field char:Int = 1\n  Global static:Int\n"
      "  Method union:Int(this:Int)\n    Return CHAR + this + Static\n  EndMethod\nEndClass\n"
      "Class Char Extends Template\n  Method union:Int(this:Int)\n    Return Super.union(this)\n"
      "  EndMethod\nEndClass\n"
      "Function operator:template(register:Int)\n"
      "  Local auto:template = New TEMPLATE\n  auto.Char = Register + template.STATIC\n"
      "  Return auto\nEndFunction\n");
  ASSERT_EQ(program.output, "Compiling " + program.path + "\n");
  TCPPClassNode* cls = ClassOf(program, "template");
  TCPPFunctionNode* function = FunctionOf(program, "operator");
  const struct {
    std::string Code;
    const char* Expected;
  } cases[] = {
      {cls->GeneratePrototypeCode(""), "struct __zn_template"},
      {cls->GenerateDeclarationCode(""),
       "struct __zn_template: public virtual Object {\n"
       "\tint32_t __zn_char;\n\tstatic int32_t __zn_static;\n\n"
       "\tvirtual int32_t __zn_union(int32_t __zn_this);\n\n\t__zn_template();\n}"},
      {cls->GenerateCode(""),
       "int32_t __zn_template::__zn_static = 0;\n\n"
       "int32_t __zn_template::__zn_union(int32_t __zn_this) {\n"
       "\treturn ((__zn_char + __zn_this) + __zn_static);\n}\n\n"
       "\n__zn_template::__zn_template() {\n\t__zn_char = 1;\n}\n"},
      {ClassOf(program, "Char")->GenerateDeclarationCode(""),
       "struct Char: public virtual __zn_template {\n"
       "\tvirtual int32_t __zn_union(int32_t __zn_this);\n\n\tChar();\n}"},
      {ClassOf(program, "Char")->GenerateCode(""),
       "\nint32_t Char::__zn_union(int32_t __zn_this) {\n"
       "\treturn __zn_template::__zn_union(__zn_this);\n}\n\n\nChar::Char() {\n}\n"},
      {function->GenerateDeclarationCode("", ""),
       "__zn_template* __zn_operator(int32_t __zn_register)"},
      {function->GenerateImplementationCode("", "", ""),
       "__zn_template* __zn_operator(int32_t __zn_register) {\n"
       "\t__zn_template* __zn_auto = (new __zn_template);\n"
       "\t(__zn_auto)->__zn_char = (__zn_register + __zn_template::__zn_static);\n"
       "\treturn __zn_auto;\n}"},
  };
  for (const auto& entry : cases) EXPECT_EQ(entry.Code, entry.Expected);
}

}  // namespace
}  // namespace zintrel

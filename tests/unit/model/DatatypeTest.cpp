#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "cpp/CPPTarget.h"
#include "frontend/NodeTable.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "model/Scope.h"
#include "model/VariableDeclNode.h"

namespace zintrel {
namespace {

// Keeps the dependency records that travel up from the datatypes below it.
class TRecordingNode : public TStatementNode {
 public:
  std::vector<std::pair<TASTNode*, TASTNode*>> Seen;
  std::string GetName() const override { return "TRecordingNode"; }
  int CheckCorrectness(TScope*) override { return 0; }
  std::string GenerateCode(const std::string&) override { return ""; }
  bool KeepsDependencies() const override { return true; }
  int AddDependency(TASTNode* dependency, TASTNode* user) override {
    Seen.emplace_back(dependency, user);
    return 0;
  }
};

class DatatypeTest : public testing::Test {
 protected:
  void SetUp() override {
    ActiveTarget = new TCPPTarget();
    TASTNode::SetRuleLocation(nullptr);
    TASTNode::CommonRoot = nullptr;
    TASTNode::CommonSourceFile.clear();
    TASTNode::SuppressLookupErrors = 0;
  }
  void TearDown() override { TASTNode::SuppressLookupErrors = 0; }

  static TDatatype* Type(int32_t kind, TASTNode* reference = nullptr, int32_t dimension = 0) {
    return ActiveTarget->CreateDatatype()->Create(kind, reference, dimension);
  }
  static TDatatype* Ptr(TDatatype* target) { return Type(TYPE_POINTER, target); }
  static TDatatype* Array(TDatatype* element, int32_t dimension) {
    return Type(TYPE_ARRAY, element, dimension);
  }
  static TDatatype* Parse(const std::string& text) {
    return ActiveTarget->CreateDatatype()->FromString(text);
  }
  static TClassNode* Class(const std::string& name, std::vector<TClassNode*> parents = {}) {
    TClassNode* node = ActiveTarget->CreateClassNode();
    node->Identifier = name;
    for (TClassNode* parent : parents) node->ClassParents.push_back({parent->Identifier, parent});
    return node;
  }
  // A function type built field by field, the way the parser fills one; with a declaration
  // when the method flag matters.
  static TDatatype* Function(TDatatype* returnType,
                             std::vector<std::pair<std::string, TDatatype*>> parameters,
                             TFunctionNode* declaration = nullptr) {
    TDatatype* type = ActiveTarget->CreateDatatype();
    type->TypeKind = TYPE_FUNCTION;
    type->EditSignature().ReturnType = returnType;
    type->EditSignature().FunctionNode = declaration;
    for (auto& [name, parameterType] : parameters) {
      type->EditSignature().Identifiers.push_back(name);
      type->EditSignature().Parameters.push_back(parameterType);
    }
    type->EditSignature().ParameterCount = static_cast<int32_t>(parameters.size());
    type->SetupChildren();
    return type;
  }
  static TFunctionNode* Declaration(int32_t isMethod) {
    TFunctionNode* function = ActiveTarget->CreateFunctionNode();
    function->IsMethod = isMethod;
    return function;
  }
  // A datatype at a known place, for the messages.
  static TDatatype* Located(TDatatype* type) {
    type->SetSourceFile("/src/types.zn");
    type->LocationFromString("3-4:5-17");
    return type;
  }
  static std::string Report(const std::string& message) {
    return "^Semantic error: " + message + "\nIn file /src/types.zn\nIn line 3-4\nIn column 5-17\n$";
  }
};

// --- Textual form -----------------------------------------------------------------------------

TEST_F(DatatypeTest, ToStringOfScalars) {
  EXPECT_EQ(Type(TYPE_BOOL)->ToString(), "Bool");
  EXPECT_EQ(Type(TYPE_BYTE)->ToString(), "Byte");
  EXPECT_EQ(Type(TYPE_SHORT)->ToString(), "Short");
  EXPECT_EQ(Type(TYPE_INT)->ToString(), "Int");
  EXPECT_EQ(Type(TYPE_LONG)->ToString(), "Long");
  EXPECT_EQ(Type(TYPE_FLOAT)->ToString(), "Float");
  EXPECT_EQ(Type(TYPE_DOUBLE)->ToString(), "Double");
  EXPECT_EQ(Type(TYPE_STRING)->ToString(), "String");
  EXPECT_EQ(Type(TYPE_VOID)->ToString(), "Void");
  EXPECT_EQ(Type(TYPE_ANY)->ToString(), "Null");
  EXPECT_EQ(Type(TYPE_UBYTE)->ToString(), "UByte");
  EXPECT_EQ(Type(TYPE_USHORT)->ToString(), "UShort");
  EXPECT_EQ(Type(TYPE_UINT)->ToString(), "UInt");
  EXPECT_EQ(Type(TYPE_ULONG)->ToString(), "ULong");
}

TEST_F(DatatypeTest, ToStringOfComposedTypes) {
  EXPECT_EQ(Type(TYPE_COMPOUND, Class("Vector3"))->ToString(), "Vector3");
  EXPECT_EQ(Ptr(Ptr(Type(TYPE_BYTE)))->ToString(), "Byte Ptr Ptr");
  EXPECT_EQ(Ptr(Type(TYPE_VOID))->ToString(), "Void Ptr");
  EXPECT_EQ(Array(Type(TYPE_INT), 1)->ToString(), "Int[]");
  EXPECT_EQ(Array(Type(TYPE_INT), 3)->ToString(), "Int[,,]");
  EXPECT_EQ(Array(Type(TYPE_FLOAT), 3)->ToString(), "Float[,,]");
  EXPECT_EQ(Ptr(Array(Type(TYPE_UINT), 2))->ToString(), "UInt[,] Ptr");
  EXPECT_EQ(Function(Type(TYPE_INT), {{"a", Type(TYPE_INT)}, {"b", Type(TYPE_STRING)}})->ToString(),
            "Int(a:Int, b:String)");
  EXPECT_EQ(Function(Type(TYPE_VOID), {})->ToString(), "Void()");
}

TEST_F(DatatypeTest, ToStringOfAnUnknownKindAborts) {
  TDatatype* type = Located(ActiveTarget->CreateDatatype());
  type->TypeKind = 4711;
  EXPECT_EXIT(
      {
        dup2(2, 1);
        type->ToString();
      },
      testing::ExitedWithCode(255), Report("Invalid Datatype"));
}

TEST_F(DatatypeTest, FromStringOfScalars) {
  const std::vector<std::pair<std::string, int32_t>> scalars = {
      {"Bool", TYPE_BOOL},   {"Byte", TYPE_BYTE},   {"Short", TYPE_SHORT},
      {"Int", TYPE_INT},     {"Long", TYPE_LONG},   {"Float", TYPE_FLOAT},
      {"Double", TYPE_DOUBLE}, {"Void", TYPE_VOID}, {"", TYPE_VOID}};
  for (const auto& [text, kind] : scalars) {
    TDatatype* type = Parse(text);
    EXPECT_EQ(type->TypeKind, kind) << text;
    EXPECT_EQ(type->IsUnsigned, 0) << text;
    EXPECT_EQ(type->IsCompiled, 1) << text;
  }
  const std::vector<std::pair<std::string, int32_t>> unsignedScalars = {
      {"UByte", TYPE_BYTE}, {"UShort", TYPE_SHORT}, {"UInt", TYPE_INT}, {"ULong", TYPE_LONG}};
  for (const auto& [text, kind] : unsignedScalars) {
    TDatatype* type = Parse(text);
    EXPECT_EQ(type->TypeKind, kind) << text;
    EXPECT_EQ(type->IsUnsigned, 1) << text;
    EXPECT_EQ(type->ToString(), text);
  }
  TDatatype* string = Parse("String");
  EXPECT_TRUE(string->IsString());
  EXPECT_EQ(string->Identifier, "String");
}

TEST_F(DatatypeTest, FromStringMatchesExactlyElseReadsAClassName) {
  for (const std::string text : {"Object", "int", "UBool", "string", "Int Ptr2"}) {
    TDatatype* type = Parse(text);
    EXPECT_TRUE(type->IsCompound()) << text;
    EXPECT_EQ(type->Identifier, text);
    EXPECT_EQ(type->Compound, nullptr);
    EXPECT_EQ(type->ToString(), text);
  }
}

TEST_F(DatatypeTest, FromStringOfPointersAndArrays) {
  TDatatype* pointer = Parse("Byte Ptr Ptr");
  ASSERT_TRUE(pointer->IsPointer());
  ASSERT_TRUE(pointer->NestedType->IsPointer());
  EXPECT_EQ(pointer->NestedType->NestedType->TypeKind, TYPE_BYTE);
  EXPECT_EQ(pointer->NestedType->Parent, pointer);
  EXPECT_EQ(pointer->NestedType->IsCompiled, 1);
  EXPECT_EQ(pointer->ChildNodes(), std::vector<TASTNode*>{pointer->NestedType});

  TDatatype* one = Parse("Int[]");
  ASSERT_TRUE(one->IsArray());
  EXPECT_EQ(one->Dimension, 1);
  EXPECT_EQ(one->Identifier, "Array");
  EXPECT_EQ(one->NestedType->TypeKind, TYPE_INT);

  TDatatype* three = Parse("Int[,,]");
  EXPECT_EQ(three->Dimension, 3);
  EXPECT_EQ(three->ToString(), "Int[,,]");

  // An array of arrays: the last brackets belong to the outer array.
  TDatatype* nested = Parse("Point[,][]");
  EXPECT_EQ(nested->Dimension, 1);
  EXPECT_EQ(nested->NestedType->Dimension, 2);
  EXPECT_EQ(nested->NestedType->NestedType->Identifier, "Point");
}

TEST_F(DatatypeTest, FromStringOfFunctionTypes) {
  TDatatype* type = Parse("Int(a:Int, b:Byte Ptr)");
  ASSERT_TRUE(type->IsFunction());
  EXPECT_EQ(type->ReturnType()->TypeKind, TYPE_INT);
  EXPECT_EQ(type->Signature().ParameterCount, 2);
  EXPECT_EQ(type->Signature().Identifiers, (std::vector<std::string>{"a", "b"}));
  ASSERT_EQ(type->Signature().Parameters.size(), 2u);
  EXPECT_EQ(type->Signature().Parameters[0]->TypeKind, TYPE_INT);
  EXPECT_EQ(type->Signature().Parameters[1]->ToString(), "Byte Ptr");
  EXPECT_TRUE(type->Signature().ParamValues.empty());
  EXPECT_EQ(type->IsCompiled, 1);
  EXPECT_EQ(type->ChildNodes(),
            (std::vector<TASTNode*>{type->ReturnType(), type->Signature().Parameters[0],
                                    type->Signature().Parameters[1]}));

  TDatatype* none = Parse("Void()");
  EXPECT_TRUE(none->IsFunction());
  EXPECT_TRUE(none->ReturnType()->IsVoid());
  EXPECT_EQ(none->Signature().ParameterCount, 0);

  // Commas and brackets inside a parameter's type do not split the list.
  TDatatype* inner = Parse("Shape[](f:Int(x:Int, y:Int), m:Float[,], p:Void Ptr)");
  ASSERT_EQ(inner->Signature().ParameterCount, 3);
  EXPECT_EQ(inner->ReturnType()->ToString(), "Shape[]");
  EXPECT_TRUE(inner->Signature().Parameters[0]->IsFunction());
  EXPECT_EQ(inner->Signature().Parameters[0]->Signature().ParameterCount, 2);
  EXPECT_EQ(inner->Signature().Parameters[1]->Dimension, 2);
  EXPECT_TRUE(inner->Signature().Parameters[2]->IsVoidPointer());
  EXPECT_EQ(inner->Signature().Identifiers, (std::vector<std::string>{"f", "m", "p"}));
}

TEST_F(DatatypeTest, TextualFormsReadBack) {
  for (const std::string text :
       {"UByte", "ULong", "Double", "Bool", "String", "Void", "Shape", "Int[]", "Int[,,]",
        "Shape[,]", "String[] Ptr", "UShort[,] Ptr", "Void Ptr", "Byte Ptr Ptr",
        "Int(a:Int, b:Byte Ptr)", "Void(s:String[], cb:Int(n:Int) Ptr)", "Shape(p:Shape)[]"}) {
    EXPECT_EQ(Parse(text)->ToString(), text);
  }
}

// --- Equality ---------------------------------------------------------------------------------

TEST_F(DatatypeTest, NullEqualsEveryTypeBothWays) {
  TDatatype* null = Type(TYPE_ANY);
  for (TDatatype* other :
       {Type(TYPE_INT), Type(TYPE_UINT), Type(TYPE_STRING), Type(TYPE_VOID), Ptr(Type(TYPE_INT)),
        Array(Type(TYPE_BYTE), 2), Type(TYPE_COMPOUND, Class("Shape")), Type(TYPE_ANY),
        Function(Type(TYPE_INT), {{"a", Type(TYPE_INT)}})}) {
    EXPECT_EQ(null->IsUnequal(other), 0) << other->ToString();
    EXPECT_EQ(other->IsUnequal(null), 0) << other->ToString();
    EXPECT_EQ(null->IsCastable(other), 1) << other->ToString();
    EXPECT_EQ(other->IsCastable(null), 1) << other->ToString();
  }
}

TEST_F(DatatypeTest, ScalarEquality) {
  EXPECT_EQ(Type(TYPE_INT)->IsUnequal(Type(TYPE_INT)), 0);
  EXPECT_EQ(Type(TYPE_UINT)->IsUnequal(Type(TYPE_UINT)), 0);
  EXPECT_EQ(Type(TYPE_INT)->IsUnequal(Type(TYPE_UINT)), 1);
  EXPECT_EQ(Type(TYPE_UINT)->IsUnequal(Type(TYPE_INT)), 1);
  EXPECT_EQ(Type(TYPE_INT)->IsUnequal(Type(TYPE_LONG)), 1);
  EXPECT_EQ(Type(TYPE_FLOAT)->IsUnequal(Type(TYPE_DOUBLE)), 1);
  // Strings are all the same type, however they were made.
  EXPECT_EQ(Type(TYPE_STRING)->IsUnequal(Parse("String")), 0);
}

TEST_F(DatatypeTest, ClassPointerAndArrayEquality) {
  TClassNode* shape = Class("Shape");
  TClassNode* other = Class("Shape");  // same name, different class
  EXPECT_EQ(Type(TYPE_COMPOUND, shape)->IsUnequal(Type(TYPE_COMPOUND, shape)), 0);
  EXPECT_EQ(Type(TYPE_COMPOUND, shape)->IsUnequal(Type(TYPE_COMPOUND, other)), 1);

  EXPECT_EQ(Ptr(Type(TYPE_INT))->IsUnequal(Ptr(Type(TYPE_INT))), 0);
  EXPECT_EQ(Ptr(Type(TYPE_INT))->IsUnequal(Ptr(Type(TYPE_UINT))), 1);
  EXPECT_EQ(Ptr(Ptr(Type(TYPE_BYTE)))->IsUnequal(Ptr(Type(TYPE_BYTE))), 1);
  // A Null target is compatible with any target.
  EXPECT_EQ(Ptr(Type(TYPE_ANY))->IsUnequal(Ptr(Type(TYPE_DOUBLE))), 0);

  EXPECT_EQ(Array(Type(TYPE_INT), 2)->IsUnequal(Array(Type(TYPE_INT), 2)), 0);
  EXPECT_EQ(Array(Type(TYPE_INT), 2)->IsUnequal(Array(Type(TYPE_INT), 1)), 1);
  EXPECT_EQ(Array(Type(TYPE_INT), 1)->IsUnequal(Array(Type(TYPE_LONG), 1)), 1);
  EXPECT_EQ(Array(Type(TYPE_COMPOUND, shape), 1)->IsUnequal(Array(Type(TYPE_COMPOUND, other), 1)),
            1);
  EXPECT_EQ(Array(Type(TYPE_INT), 1)->IsUnequal(Ptr(Type(TYPE_INT))), 1);
}

TEST_F(DatatypeTest, FunctionTypeEquality) {
  auto make = [](TFunctionNode* declaration) {
    return Function(Type(TYPE_INT), {{"a", Type(TYPE_INT)}, {"b", Type(TYPE_STRING)}},
                    declaration);
  };
  // Parameter names do not matter.
  EXPECT_EQ(make(nullptr)->IsUnequal(
                Function(Type(TYPE_INT), {{"x", Type(TYPE_INT)}, {"y", Type(TYPE_STRING)}})),
            0);
  // The method flag counts only when both types come from declarations.
  EXPECT_EQ(make(Declaration(1))->IsUnequal(make(Declaration(0))), 1);
  EXPECT_EQ(make(Declaration(1))->IsUnequal(make(Declaration(1))), 0);
  EXPECT_EQ(make(Declaration(1))->IsUnequal(make(nullptr)), 0);
  EXPECT_EQ(make(nullptr)->IsUnequal(make(Declaration(0))), 0);

  EXPECT_EQ(make(nullptr)->IsUnequal(Function(Type(TYPE_INT), {{"a", Type(TYPE_INT)}})), 1);
  EXPECT_EQ(make(nullptr)->IsUnequal(
                Function(Type(TYPE_LONG), {{"a", Type(TYPE_INT)}, {"b", Type(TYPE_STRING)}})),
            1);
  EXPECT_EQ(make(nullptr)->IsUnequal(
                Function(Type(TYPE_INT), {{"a", Type(TYPE_INT)}, {"b", Type(TYPE_DOUBLE)}})),
            1);
  EXPECT_EQ(make(nullptr)->IsUnequal(Type(TYPE_INT)), 1);
}

// --- Implicit and explicit conversions ------------------------------------------------------

TEST_F(DatatypeTest, NumbersConvertToNumbersAndStrings) {
  EXPECT_EQ(Type(TYPE_INT)->IsCastable(Type(TYPE_UINT)), 1);
  EXPECT_EQ(Type(TYPE_UINT)->IsCastable(Type(TYPE_INT)), 1);
  EXPECT_EQ(Type(TYPE_DOUBLE)->IsCastable(Type(TYPE_BYTE)), 1);
  EXPECT_EQ(Type(TYPE_BOOL)->IsCastable(Type(TYPE_FLOAT)), 1);
  EXPECT_EQ(Type(TYPE_LONG)->IsCastable(Type(TYPE_STRING)), 1);
  EXPECT_EQ(Type(TYPE_BOOL)->IsCastable(Type(TYPE_STRING)), 1);
  // Back from a string only explicitly.
  EXPECT_EQ(Type(TYPE_STRING)->IsCastable(Type(TYPE_INT)), 0);
  EXPECT_EQ(Type(TYPE_STRING)->IsExplicitCastable(Type(TYPE_INT)), 1);
  EXPECT_EQ(Type(TYPE_STRING)->IsExplicitCastable(Type(TYPE_DOUBLE)), 1);
  EXPECT_EQ(Type(TYPE_INT)->IsCastable(Ptr(Type(TYPE_INT))), 0);
  EXPECT_EQ(Type(TYPE_INT)->IsCastable(Array(Type(TYPE_INT), 1)), 0);
}

TEST_F(DatatypeTest, EverythingConvertsToBool) {
  for (TDatatype* type :
       {Type(TYPE_STRING), Ptr(Type(TYPE_VOID)), Array(Type(TYPE_INT), 1),
        Type(TYPE_COMPOUND, Class("Shape")), Function(Type(TYPE_VOID), {}), Type(TYPE_DOUBLE)}) {
    EXPECT_EQ(type->IsCastable(Type(TYPE_BOOL)), 1) << type->ToString();
  }
}

TEST_F(DatatypeTest, StringsConvertToBytePointersOnly) {
  TDatatype* string = Type(TYPE_STRING);
  EXPECT_EQ(string->IsCastable(Ptr(Type(TYPE_BYTE))), 1);
  EXPECT_EQ(string->IsCastable(Ptr(Type(TYPE_UBYTE))), 1);
  EXPECT_EQ(string->IsCastable(Ptr(Type(TYPE_SHORT))), 0);
  EXPECT_EQ(string->IsExplicitCastable(Ptr(Type(TYPE_SHORT))), 0);
  EXPECT_EQ(string->IsCastable(Ptr(Ptr(Type(TYPE_BYTE)))), 0);
  EXPECT_EQ(string->IsCastable(Ptr(Type(TYPE_VOID))), 0);
}

TEST_F(DatatypeTest, PointerConversions) {
  TDatatype* intPtr = Ptr(Type(TYPE_INT));
  TDatatype* voidPtr = Ptr(Type(TYPE_VOID));
  EXPECT_EQ(intPtr->IsCastable(voidPtr), 1);
  EXPECT_EQ(Ptr(Ptr(Type(TYPE_BYTE)))->IsCastable(voidPtr), 1);
  EXPECT_EQ(voidPtr->IsCastable(intPtr), 0);
  EXPECT_EQ(voidPtr->IsExplicitCastable(intPtr), 1);
  EXPECT_EQ(intPtr->IsCastable(Ptr(Type(TYPE_LONG))), 0);
  EXPECT_EQ(intPtr->IsExplicitCastable(Ptr(Type(TYPE_LONG))), 1);
  EXPECT_EQ(intPtr->IsExplicitCastable(Ptr(Type(TYPE_COMPOUND, Class("Shape")))), 1);

  // Pointers and integers (Bool included) meet only in explicit casts.
  for (TDatatype* integer : {Type(TYPE_INT), Type(TYPE_ULONG), Type(TYPE_BYTE)}) {
    EXPECT_EQ(intPtr->IsCastable(integer), 0) << integer->ToString();
    EXPECT_EQ(integer->IsCastable(intPtr), 0) << integer->ToString();
    EXPECT_EQ(intPtr->IsExplicitCastable(integer), 1) << integer->ToString();
    EXPECT_EQ(integer->IsExplicitCastable(intPtr), 1) << integer->ToString();
  }
  EXPECT_EQ(Type(TYPE_BOOL)->IsExplicitCastable(intPtr), 1);
  EXPECT_EQ(Type(TYPE_DOUBLE)->IsExplicitCastable(intPtr), 0);
  EXPECT_EQ(intPtr->IsExplicitCastable(Type(TYPE_FLOAT)), 0);
  EXPECT_EQ(intPtr->IsExplicitCastable(Type(TYPE_STRING)), 0);
}

class DatatypeClassTest : public DatatypeTest {
 protected:
  void SetUp() override {
    DatatypeTest::SetUp();
    object = Class("Object");
    shape = Class("Shape", {object});
    circle = Class("Circle", {shape});
    other = Class("Other", {object});
  }
  TDatatype* Of(TClassNode* node) { return Type(TYPE_COMPOUND, node); }
  TClassNode* object = nullptr;
  TClassNode* shape = nullptr;
  TClassNode* circle = nullptr;
  TClassNode* other = nullptr;
};

TEST_F(DatatypeClassTest, SubclassToBaseImplicitlyBaseToSubclassExplicitly) {
  EXPECT_EQ(Of(circle)->IsCastable(Of(circle)), 1);
  EXPECT_EQ(Of(circle)->IsCastable(Of(shape)), 1);
  EXPECT_EQ(Of(circle)->IsCastable(Of(object)), 1);  // through Shape
  EXPECT_EQ(Of(shape)->IsCastable(Of(circle)), 0);
  EXPECT_EQ(Of(shape)->IsExplicitCastable(Of(circle)), 1);
  EXPECT_EQ(Of(other)->IsCastable(Of(shape)), 0);
  EXPECT_EQ(Of(other)->IsExplicitCastable(Of(shape)), 1);
  // An unresolved class type converts to no other class.
  EXPECT_EQ(Parse("Circle")->IsCastable(Of(shape)), 0);
}

TEST_F(DatatypeClassTest, ArraysAndStringsConvertToObjectOnly) {
  TDatatype* array = Array(Type(TYPE_INT), 1);
  TDatatype* string = Type(TYPE_STRING);
  EXPECT_EQ(array->IsCastable(Of(object)), 1);
  EXPECT_EQ(string->IsCastable(Of(object)), 1);
  EXPECT_EQ(array->IsCastable(Of(shape)), 0);
  EXPECT_EQ(string->IsCastable(Of(shape)), 0);
  // The name must be spelled exactly.
  EXPECT_EQ(array->IsCastable(Of(Class("OBJECT"))), 0);
  EXPECT_EQ(string->IsCastable(Of(Class("object"))), 0);
  // A type that merely names Object, unresolved, counts too.
  EXPECT_EQ(array->IsCastable(Parse("Object")), 1);
  EXPECT_EQ(Ptr(Type(TYPE_BYTE))->IsCastable(Of(object)), 0);
}

TEST_F(DatatypeClassTest, ExplicitCastsBetweenObjectsStringsAndArrays) {
  EXPECT_EQ(Of(shape)->IsCastable(Type(TYPE_STRING)), 0);
  EXPECT_EQ(Of(shape)->IsExplicitCastable(Type(TYPE_STRING)), 1);
  EXPECT_EQ(Of(object)->IsExplicitCastable(Array(Type(TYPE_INT), 2)), 1);
  EXPECT_EQ(Type(TYPE_STRING)->IsExplicitCastable(Of(circle)), 1);
  EXPECT_EQ(Type(TYPE_STRING)->IsExplicitCastable(Array(Type(TYPE_BYTE), 1)), 1);
  // Arrays are not cast down to classes, nor objects to numbers.
  EXPECT_EQ(Array(Type(TYPE_INT), 1)->IsExplicitCastable(Of(shape)), 0);
  EXPECT_EQ(Array(Type(TYPE_INT), 1)->IsExplicitCastable(Type(TYPE_STRING)), 0);
  EXPECT_EQ(Of(shape)->IsExplicitCastable(Type(TYPE_INT)), 0);
  EXPECT_EQ(Of(shape)->IsExplicitCastable(Ptr(Type(TYPE_VOID))), 0);
}

TEST_F(DatatypeClassTest, FunctionTypesAreCovariantInClassReturnTypes) {
  TDatatype* makesCircle = Function(Of(circle), {{"r", Type(TYPE_FLOAT)}});
  TDatatype* makesShape = Function(Of(shape), {{"a", Type(TYPE_INT)}, {"b", Type(TYPE_INT)}});
  // Parameters are not compared when the return types are classes.
  EXPECT_EQ(makesCircle->IsCastable(makesShape), 1);
  EXPECT_EQ(makesShape->IsCastable(makesCircle), 0);
  EXPECT_EQ(makesCircle->IsCastable(Function(Of(other), {{"r", Type(TYPE_FLOAT)}})), 0);
  // Other return types must match exactly, with the parameters.
  TDatatype* intOfInt = Function(Type(TYPE_INT), {{"a", Type(TYPE_INT)}});
  EXPECT_EQ(intOfInt->IsCastable(Function(Type(TYPE_INT), {{"b", Type(TYPE_INT)}})), 1);
  EXPECT_EQ(intOfInt->IsCastable(Function(Type(TYPE_LONG), {{"a", Type(TYPE_INT)}})), 0);
  EXPECT_EQ(intOfInt->IsCastable(Function(Type(TYPE_INT), {{"a", Type(TYPE_LONG)}})), 0);
  EXPECT_EQ(intOfInt->IsExplicitCastable(Function(Type(TYPE_INT), {})), 0);
  EXPECT_EQ(Function(Type(TYPE_STRING), {})->IsCastable(Function(Of(object), {})), 0);
  // A method type is not a function type.
  EXPECT_EQ(Function(Type(TYPE_INT), {}, Declaration(1))
                ->IsCastable(Function(Type(TYPE_INT), {}, Declaration(0))),
            0);
}

// --- Promotion --------------------------------------------------------------------------------

TEST_F(DatatypeTest, PromoteOfIntegers) {
  TDatatype* both = TDatatype::Promote(Type(TYPE_UINT), Type(TYPE_UINT));
  EXPECT_EQ(both->TypeKind, TYPE_INT);
  EXPECT_EQ(both->IsUnsigned, 0);
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_UBYTE), Type(TYPE_USHORT))->ToString(), "Int");
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_BOOL), Type(TYPE_BYTE))->ToString(), "Int");
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_ULONG), Type(TYPE_LONG))->ToString(), "ULong");
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_LONG), Type(TYPE_ULONG))->ToString(), "Long");
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_INT), Type(TYPE_ULONG))->ToString(), "ULong");
  // New Int types come from the target factory.
  EXPECT_NE(dynamic_cast<TCPPDatatype*>(both), nullptr);
}

TEST_F(DatatypeTest, PromoteFollowsThePriorityList) {
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_INT), Type(TYPE_STRING))->ToString(), "String");
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_DOUBLE), Type(TYPE_STRING))->ToString(), "String");
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_DOUBLE), Ptr(Type(TYPE_BYTE)))->ToString(), "Byte Ptr");
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_FLOAT), Type(TYPE_DOUBLE))->ToString(), "Double");
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_LONG), Type(TYPE_FLOAT))->ToString(), "Float");
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_INT), Type(TYPE_LONG))->ToString(), "Long");
  // Two pointers: the first wins.
  EXPECT_EQ(TDatatype::Promote(Ptr(Type(TYPE_INT)), Ptr(Type(TYPE_BYTE)))->ToString(), "Int Ptr");
  // Arrays and function types are left to the operator checks.
  EXPECT_EQ(TDatatype::Promote(Array(Type(TYPE_INT), 1), Type(TYPE_BYTE))->ToString(), "Int");

  // The result is a copy; a copied pointer shares its target.
  TDatatype* pointer = Ptr(Type(TYPE_INT));
  TDatatype* promoted = TDatatype::Promote(pointer, Type(TYPE_INT));
  EXPECT_NE(promoted, pointer);
  EXPECT_EQ(promoted->NestedType, pointer->NestedType);
  TDatatype* string = Type(TYPE_STRING);
  TDatatype* promotedString = TDatatype::Promote(Type(TYPE_INT), string);
  EXPECT_NE(promotedString, string);
  EXPECT_EQ(promotedString->Identifier, "String");
}

TEST_F(DatatypeClassTest, PromoteOfClassTypes) {
  TDatatype* circleType = Of(circle);
  TDatatype* left = TDatatype::Promote(circleType, Type(TYPE_ANY));
  TDatatype* right = TDatatype::Promote(Type(TYPE_ANY), circleType);
  for (TDatatype* copy : {left, right}) {
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, circleType);
    EXPECT_TRUE(copy->IsCompound());
    EXPECT_EQ(copy->Compound, circle);
    EXPECT_EQ(copy->Identifier, "Circle");
  }
  EXPECT_EQ(TDatatype::Promote(Of(circle), Of(shape)), nullptr);
  EXPECT_EQ(TDatatype::Promote(Of(circle), Of(circle)), nullptr);
  EXPECT_EQ(TDatatype::Promote(Of(circle), Type(TYPE_INT)), nullptr);
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_STRING), Of(object)), nullptr);
  EXPECT_TRUE(TDatatype::Promote(Type(TYPE_ANY), Type(TYPE_ANY))->IsAny());
  EXPECT_EQ(TDatatype::Promote(Type(TYPE_ANY), Type(TYPE_UINT))->ToString(), "UInt");
}

// --- Copies -----------------------------------------------------------------------------------

TEST_F(DatatypeTest, CopyKeepsKindAndSharesReferences) {
  TDatatype* unsignedCopy = Type(TYPE_USHORT)->Copy();
  EXPECT_EQ(unsignedCopy->TypeKind, TYPE_SHORT);
  EXPECT_EQ(unsignedCopy->IsUnsigned, 1);
  TDatatype* array = Array(Type(TYPE_INT), 2);
  TDatatype* arrayCopy = array->Copy();
  EXPECT_EQ(arrayCopy->ToString(), "Int[,]");
  EXPECT_EQ(arrayCopy->NestedType, array->NestedType);
  EXPECT_EQ(arrayCopy->IsUnequal(array), 0);
}

TEST_F(DatatypeTest, CopyOfAFunctionTypeAborts) {
  TDatatype* type = Located(Function(Type(TYPE_INT), {{"a", Type(TYPE_INT)}}));
  EXPECT_EXIT(
      {
        dup2(2, 1);
        type->Copy();
      },
      testing::ExitedWithCode(255), Report("Not yet implemented"));
}

TEST_F(DatatypeTest, PromoteCopiesAndSoRefusesAFunctionNextToNull) {
  TDatatype* type = Located(Function(Type(TYPE_INT), {}));
  EXPECT_EXIT(
      {
        dup2(2, 1);
        TDatatype::Promote(Type(TYPE_ANY), type);
      },
      testing::ExitedWithCode(255), Report("Not yet implemented"));
}

// --- Check of written types -------------------------------------------------------------------

class DatatypeCheckTest : public DatatypeTest {
 protected:
  void SetUp() override {
    DatatypeTest::SetUp();
    scope = new TScope();
    stringClass = Class("String");
    arrayClass = Class("Array");
    shape = Class("Shape");
    variable = ActiveTarget->CreateVariableDeclNode();
    scope->Insert("String", stringClass);
    scope->Insert("Array", arrayClass);
    scope->Insert("Shape", shape);
    scope->Insert("count", variable);
    owner = new TRecordingNode();
  }
  // Checks the type as part of a declaration that keeps dependency records.
  TDatatype* Check(TDatatype* type, TScope* in = nullptr) {
    owner->AddChildNode(type);
    type->CheckCorrectness(in != nullptr ? in : scope);
    return type;
  }
  TScope* scope = nullptr;
  TClassNode* stringClass = nullptr;
  TClassNode* arrayClass = nullptr;
  TClassNode* shape = nullptr;
  TVariableDeclNode* variable = nullptr;
  TRecordingNode* owner = nullptr;
};

TEST_F(DatatypeCheckTest, ClassTypesResolveIgnoringCaseAndRecordTheDependency) {
  TDatatype* type = Check(Parse("SHAPE"));
  EXPECT_EQ(type->Compound, shape);
  EXPECT_EQ(type->Identifier, "SHAPE");
  ASSERT_EQ(owner->Seen.size(), 1u);
  EXPECT_EQ(owner->Seen[0].first, shape);
  EXPECT_EQ(owner->Seen[0].second, type);

  // Found through an enclosing scope as well.
  TScope* inner = (new TScope())->Create(scope);
  EXPECT_EQ(Check(Parse("shape"), inner)->Compound, shape);
}

TEST_F(DatatypeCheckTest, StringsAndArraysResolveToTheirClasses) {
  // There is no keyword for strings: the parser turns a class type named string into one.
  TDatatype* written = static_cast<TDatatype*>(
      HandleToNode(TDatatype::Emit(TYPE_COMPOUND, TName("sTrInG"), 0)));
  ASSERT_TRUE(written->IsString());
  EXPECT_EQ(Check(written)->Compound, stringClass);

  TDatatype* array = Check(Array(Ptr(Parse("shape")), 2));
  EXPECT_EQ(array->Compound, arrayClass);
  EXPECT_EQ(array->NestedType->NestedType->Compound, shape);
  ASSERT_EQ(owner->Seen.size(), 3u);
  EXPECT_EQ(owner->Seen[1].first, arrayClass);
  EXPECT_EQ(owner->Seen[2].first, shape);
  EXPECT_EQ(owner->Seen[2].second, array->NestedType->NestedType);
}

TEST_F(DatatypeCheckTest, FunctionAndPointerTypesCheckWhatTheyContain) {
  TDatatype* function =
      Check(Function(Type(TYPE_VOID), {{"s", Parse("Shape")}, {"p", Ptr(Type(TYPE_VOID))}}));
  EXPECT_EQ(function->Signature().Parameters[0]->Compound, shape);
  EXPECT_EQ(Check(Function(Parse("shape"), {}))->ReturnType()->Compound, shape);
  EXPECT_EQ(Check(Ptr(Parse("Shape")))->NestedType->Compound, shape);
  EXPECT_EQ(owner->Seen.size(), 3u);
  // Scalars and a Void target need nothing.
  Check(Ptr(Type(TYPE_VOID)));
  Check(Type(TYPE_UINT));
  Check(Type(TYPE_ANY));
  EXPECT_EQ(owner->Seen.size(), 3u);
}

TEST_F(DatatypeCheckTest, UnknownClass) {
  TDatatype* type = Located(Parse("Sphere"));
  EXPECT_EXIT(
      {
        dup2(2, 1);
        type->CheckCorrectness(scope);
      },
      testing::ExitedWithCode(255), Report("Class 'Sphere' not found"));
}

TEST_F(DatatypeCheckTest, NameOfSomethingElse) {
  TDatatype* type = Located(Parse("Count"));
  EXPECT_EXIT(
      {
        dup2(2, 1);
        type->CheckCorrectness(scope);
      },
      testing::ExitedWithCode(255), Report("'Count' is not a class"));
}

TEST_F(DatatypeCheckTest, StringWithoutAStringClass) {
  TDatatype* type = Located(Type(TYPE_STRING));
  TScope* bare = new TScope();
  EXPECT_EXIT(
      {
        dup2(2, 1);
        type->CheckCorrectness(bare);
      },
      testing::ExitedWithCode(255), Report("Class 'String' not found"));
}

TEST_F(DatatypeCheckTest, UnknownClassInsideAFunctionTypeIsReportedAtTheParameter) {
  TDatatype* parameter = Located(Parse("Sphere"));
  TDatatype* function = Function(Type(TYPE_VOID), {{"s", parameter}});
  EXPECT_EXIT(
      {
        dup2(2, 1);
        function->CheckCorrectness(scope);
      },
      testing::ExitedWithCode(255), Report("Class 'Sphere' not found"));
}

TEST_F(DatatypeCheckTest, VoidOnlyAsReturnTypeOrPointerTarget) {
  TDatatype* bare = Located(Type(TYPE_VOID));
  EXPECT_EXIT(
      {
        dup2(2, 1);
        bare->CheckCorrectness(scope);
      },
      testing::ExitedWithCode(255),
      Report("Void is only allowed in conjunction with pointers or functions"));

  TDatatype* element = Located(Type(TYPE_VOID));
  TDatatype* array = Array(element, 1);
  EXPECT_EXIT(
      {
        dup2(2, 1);
        array->CheckCorrectness(scope);
      },
      testing::ExitedWithCode(255),
      Report("Void is only allowed in conjunction with pointers or functions"));

  TDatatype* parameter = Located(Type(TYPE_VOID));
  TDatatype* function = Function(Type(TYPE_VOID), {{"v", parameter}});
  EXPECT_EXIT(
      {
        dup2(2, 1);
        function->CheckCorrectness(scope);
      },
      testing::ExitedWithCode(255),
      Report("Void is only allowed in conjunction with pointers or functions"));
}

TEST_F(DatatypeCheckTest, SuppressedLookupErrorsLeaveTheTypeUnresolved) {
  TASTNode::SuppressLookupErrors = 1;
  TDatatype* missing = Check(Parse("Sphere"));
  EXPECT_EQ(missing->Compound, nullptr);
  TDatatype* notAClass = Parse("count");
  notAClass->Compound = shape;  // a stale resolution does not survive the check
  Check(notAClass);
  EXPECT_EQ(notAClass->Compound, nullptr);
  // Checking goes on behind an unresolved array class.
  TDatatype* array = Check(Array(Parse("Shape"), 1), new TScope());
  EXPECT_EQ(array->Compound, nullptr);
  EXPECT_EQ(array->NestedType->Compound, nullptr);
  TDatatype* resolved = Check(Parse("Shape"));
  EXPECT_EQ(resolved->Compound, shape);
  ASSERT_EQ(owner->Seen.size(), 1u);
  EXPECT_EQ(owner->Seen[0].second, resolved);
}

}  // namespace
}  // namespace zintrel

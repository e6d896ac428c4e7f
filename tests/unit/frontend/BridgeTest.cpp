#include <gtest/gtest.h>

#include "cpp/CPPTarget.h"
#include "frontend/Bridge.h"
#include "frontend/Tokens.h"
#include "model/NodeFactory.h"

namespace zintrel {
namespace {

// Builds trees the way the grammar's actions do, through handles.
class BridgeTest : public testing::Test {
 protected:
  void SetUp() override {
    ActiveTarget = new TCPPTarget();
    TASTNode::SetRuleLocation(nullptr);
    TClassNode::SetVisibility(0);
    root = TProgramNode::Emit();
  }
  static int32_t Name(const char* name) { return TVariableNode::Emit(TName(name), -1); }
  static int32_t Int(int64_t value) { return TLiteralNode::Emit(tok::TOK_INT, value); }
  static int32_t Type(int32_t kind) { return TDatatype::Emit(kind, -1, 0); }
  static int32_t List(std::initializer_list<int32_t> handles) {
    int32_t list = TListEmitter::EmitEmptyList();
    for (int32_t h : handles) TListEmitter::AppendToList(list, h);
    return list;
  }
  // A declaration "name:type = value" as the grammar builds it.
  static int32_t Declaration(const char* name, int32_t type, int32_t value = -1) {
    return TVariableDeclNode::Emit(TVariableNode::Emit(TName(name), type), value);
  }
  template <class T>
  static T* Node(int32_t handle) {
    return dynamic_cast<T*>(HandleToNode(handle));
  }
  int32_t root = -1;
};

TEST_F(BridgeTest, ListsAreFlattenedAndCopied) {
  int32_t a = Int(1), b = Int(2), c = Int(3);
  int32_t inner = List({a, b});
  int32_t outer = TListEmitter::EmitSingleList(c);
  TListEmitter::AppendToList(outer, inner);
  EXPECT_EQ(HandleToList(outer)->Items,
            (std::vector<TObject*>{HandleToNode(c), HandleToNode(a), HandleToNode(b)}));

  // A single list made from a list is a copy under a new handle.
  int32_t copy = TListEmitter::EmitSingleList(inner);
  EXPECT_NE(copy, inner);
  TListEmitter::AppendToList(copy, c);
  EXPECT_EQ(HandleToList(inner)->Items.size(), 2u);
  EXPECT_EQ(HandleToList(copy)->Items.size(), 3u);

  // Strings are not carried over by appending a list.
  int32_t names = TListEmitter::EmitEmptyList();
  TListEmitter::AppendStringToList(names, TName("Base"));
  TListEmitter::AppendToList(names, a);
  int32_t target = TListEmitter::EmitEmptyList();
  TListEmitter::AppendToList(target, names);
  EXPECT_EQ(HandleToList(target)->Items, (std::vector<TObject*>{HandleToNode(a)}));

  int32_t front = List({c});
  TListEmitter::PrependToList(front, List({a, b, a}));
  EXPECT_EQ(HandleToList(front)->Items,
            (std::vector<TObject*>{HandleToNode(a), HandleToNode(b), HandleToNode(c)}));
}

TEST_F(BridgeTest, TextEmitters) {
  std::string* dotted = TStringEmitter::AppendIdentifier(
      TStringEmitter::AppendConstChar(new std::string("Zintrel"), "."), TName("IO"));
  std::string* wildcard = TStringEmitter::AppendConstChar(dotted, ".*");
  EXPECT_EQ(TakeCString(wildcard), "Zintrel.IO.*");
  EXPECT_EQ(TakeCString(nullptr), "");
  EXPECT_EQ(LongFromHalves(0xFFFFFFFFu, 0x7FFFFFFFu), INT64_MAX);
}

TEST_F(BridgeTest, ALocalDeclarationOfThreeVariablesGivesThreeStatements) {
  int32_t list = TListEmitter::EmitSingleList(Declaration("a", Type(TYPE_INT)));
  TListEmitter::AppendToList(list, Declaration("b", Type(TYPE_FLOAT), Int(1)));
  TListEmitter::AppendToList(list, Declaration("c", TDatatype::Emit(TYPE_COMPOUND, TName("STRING"), 0)));
  TVariableDeclNode::ScopeVarDecl(DECL_LOCAL, list);
  int32_t block = TListEmitter::EmitEmptyList();
  TListEmitter::AppendToList(block, list);
  TStatementList* statements = TStatementList::Create(HandleToList(block));
  ASSERT_EQ(statements->Statements.size(), 3u);
  auto* c = dynamic_cast<TVariableDeclNode*>(statements->Statements[2]);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->DeclKind, DECL_LOCAL);
  EXPECT_EQ(c->Datatype->TypeKind, TYPE_STRING);  // String in any letter case
  EXPECT_EQ(c->Datatype->Identifier, "STRING");
  EXPECT_EQ(c->Datatype->Parent, c);
  auto* b = dynamic_cast<TVariableDeclNode*>(statements->Statements[1]);
  // Float's datatype is the one shared by every Float: no node's child.
  EXPECT_TRUE(b->Datatype->IsShared());
  EXPECT_EQ(b->ChildNodes(), (std::vector<TASTNode*>{b->Value}));
}

TEST_F(BridgeTest, ConstantsOfABlockAreKeptApart) {
  int32_t constant = TListEmitter::EmitSingleList(Declaration("k", Type(TYPE_INT), Int(3)));
  TVariableDeclNode::ScopeVarDecl(DECL_CONST, constant);
  int32_t call = TFunctionCall::Emit(Name("f"), TListEmitter::EmitEmptyList(), 0);
  int32_t statement = TFunctionCall::Emit(call, -1, -1);
  TStatementList* block = TStatementList::Create(HandleToList(List({statement, constant})));
  ASSERT_EQ(block->Constants.size(), 1u);
  ASSERT_EQ(block->Statements.size(), 1u);
  EXPECT_EQ(block->ChildNodes().front(), block->Constants.front());
}

TEST_F(BridgeTest, CallAsStatementSharesCalleeAndArguments) {
  int32_t args = List({Int(1), Int(2)});
  int32_t call = TFunctionCall::Emit(Name("f"), args, 0);
  int32_t statement = TFunctionCall::Emit(call, -1, -1);
  auto* first = Node<TFunctionCall>(call);
  auto* second = Node<TFunctionCall>(statement);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->IsStatement, 0);
  EXPECT_EQ(second->IsStatement, 1);
  EXPECT_EQ(second->TargetExp, first->TargetExp);
  EXPECT_EQ(second->Parameters, NodesOfList<TExpressionNode>(HandleToList(args)));
  EXPECT_EQ(second->TargetExp->Parent, second);
  // The call parsed as an expression is given up once the action is over.
  TNodeTable::ReleaseTaken();
  EXPECT_EQ(HandleToNode(call), nullptr);
  EXPECT_EQ(second->Parameters[1]->Parent, second);
  EXPECT_TRUE(Node<TFunctionCall>(TFunctionCall::Emit(Name("g"), -1, 0))->Parameters.empty());
}

TEST_F(BridgeTest, ExternBlockIsSortedAndMarked) {
  TClassNode::SetVisibility(VISIBILITY_PUBLIC);
  int32_t cls = TClassNode::Emit(TName("Thing"), -1, TListEmitter::EmitEmptyList(), 0);
  int32_t header = TVariableNode::Emit(
      TName("Print"),
      TDatatype::Emit(TYPE_FUNCTION, Type(TYPE_VOID), List({Declaration("text", Type(TYPE_INT))})));
  int32_t function = TFunctionNode::Emit(header, TListEmitter::EmitEmptyList(), 0, 0);
  int32_t global = TListEmitter::EmitSingleList(Declaration("g", Type(TYPE_INT)));
  TVariableDeclNode::ScopeVarDecl(DECL_GLOBAL, global);
  int32_t block = TListEmitter::EmitEmptyList();
  TListEmitter::AppendToList(block, cls);
  TListEmitter::AppendToList(block, function);
  TListEmitter::AppendToList(block, global);
  TProgramNode::EmitProgramExtern(root, block);

  TProgramNode* program = Node<TProgramNode>(root);
  ASSERT_EQ(program->Classes.size(), 1u);
  ASSERT_EQ(program->Functions.size(), 1u);
  ASSERT_EQ(program->Statements.size(), 1u);
  TFunctionNode* f = program->Functions[0];
  EXPECT_EQ(program->Classes[0]->IsExtern, 1);
  EXPECT_EQ(f->IsExtern, 1);
  EXPECT_EQ(f->Parameters[0]->IsExtern, 1);
  EXPECT_EQ(f->Datatype->IsExtern, 1);
  EXPECT_EQ(f->Declaration->IsExtern, 1);
  EXPECT_EQ(program->Statements[0]->IsExtern, 1);
  EXPECT_EQ(f->Parent, program);
}

TEST_F(BridgeTest, FunctionFromItsHeader) {
  int32_t params = List({Declaration("a", Type(TYPE_INT)), Declaration("b", Type(TYPE_UINT), Int(7))});
  int32_t header = TVariableNode::Emit(TName("Add"),
                                       TDatatype::Emit(TYPE_FUNCTION, Type(TYPE_LONG), params));
  auto* type = Node<TVariableNode>(header)->Datatype;
  EXPECT_EQ(type->Signature().ParameterCount, 2);
  EXPECT_EQ(type->Signature().MandatoryParamCount, 1);
  EXPECT_EQ(type->Signature().Parameters[1]->TypeKind, TYPE_INT);
  EXPECT_EQ(type->Signature().Parameters[1]->IsUnsigned, 1);

  TFunctionNode* f = Node<TFunctionNode>(TFunctionNode::Emit(header, List({}), 1, 3));
  EXPECT_EQ(f->Identifier, "Add");
  EXPECT_EQ(f->IsMethod, 1);
  EXPECT_EQ(f->IsAbstract, 1);
  EXPECT_EQ(f->IsFinal, 1);
  ASSERT_EQ(f->Parameters.size(), 2u);
  EXPECT_EQ(f->Parameters[0]->DeclKind, DECL_LOCAL);
  EXPECT_EQ(f->Parameters[1]->Identifier, "b");
  EXPECT_NE(f->Parameters[1]->Value, nullptr);
  EXPECT_EQ(f->ReturnDatatype->TypeKind, TYPE_LONG);
  EXPECT_EQ(f->Datatype->FunctionNode(), f);
  EXPECT_EQ(f->Datatype->Signature().Parameters[0], f->Parameters[0]->Datatype);
  EXPECT_EQ(f->Declaration->DeclKind, DECL_FUNCTION);
  EXPECT_EQ(f->Declaration->Datatype, f->Datatype);
  EXPECT_EQ(f->Declaration->Identifier, "Add");

  // No return type written: Void.
  int32_t bare = TVariableNode::Emit(TName("Run"),
                                     TDatatype::Emit(TYPE_FUNCTION, -1, List({})));
  EXPECT_TRUE(Node<TFunctionNode>(TFunctionNode::Emit(bare, List({}), 0, 0))->ReturnDatatype->IsVoid());
}

TEST_F(BridgeTest, ClassMembersAndConstructor) {
  auto method = [&](const char* name, int32_t returnType) {
    int32_t header = TVariableNode::Emit(TName(name),
                                         TDatatype::Emit(TYPE_FUNCTION, returnType, List({})));
    return TFunctionNode::Emit(header, List({}), 1, 0);
  };
  TClassNode::SetVisibility(VISIBILITY_PUBLIC);
  int32_t field = TListEmitter::EmitSingleList(Declaration("x", Type(TYPE_INT)));
  TVariableDeclNode::ScopeVarDecl(DECL_FIELD, field);
  TClassNode::SetVisibility(VISIBILITY_PRIVATE);
  int32_t hidden = TListEmitter::EmitSingleList(Declaration("y", Type(TYPE_INT)));
  int32_t show = method("Show", Type(TYPE_VOID));
  int32_t ctor = method("point", Type(TYPE_VOID));
  int32_t helper = TFunctionNode::Emit(
      TVariableNode::Emit(TName("Make"), TDatatype::Emit(TYPE_FUNCTION, Type(TYPE_INT), List({}))),
      List({}), 0, 0);
  int32_t parents = TListEmitter::EmitEmptyList();
  TListEmitter::AppendStringToList(parents, TName("Shape"));
  TListEmitter::AppendStringToList(parents, TName("Named"));
  int32_t body = List({field, show, hidden, ctor, helper});
  TClassNode* c = Node<TClassNode>(TClassNode::Emit(TName("Point"), parents, body, 2));

  EXPECT_EQ(TClassNode::CurrentVisibility, VISIBILITY_PUBLIC);
  ASSERT_EQ(c->ClassParents.size(), 2u);
  EXPECT_EQ(c->ClassParents[1].Name, "Named");
  EXPECT_EQ(c->IsFinal, 1);
  EXPECT_EQ(c->AbstractFlag, 0);
  ASSERT_EQ(c->Variables.size(), 2u);
  EXPECT_EQ(c->Variables[0]->Visibility, VISIBILITY_PUBLIC);
  EXPECT_EQ(c->Variables[1]->Visibility, VISIBILITY_PRIVATE);
  ASSERT_EQ(c->Methods.size(), 1u);
  ASSERT_EQ(c->Functions.size(), 1u);
  ASSERT_NE(c->Constructor, nullptr);
  TFunctionNode* constructor = c->Constructor;
  EXPECT_EQ(constructor->IsConstructor, 1);
  EXPECT_EQ(constructor->Identifier, "__CreatePoint");
  EXPECT_EQ(constructor->Declaration->Identifier, "__CreatePoint");
  EXPECT_EQ(constructor->ReturnDatatype->TypeKind, TYPE_COMPOUND);
  EXPECT_EQ(constructor->ReturnDatatype->Compound, c);
  EXPECT_EQ(constructor->Datatype->ReturnType()->Compound, c);
  EXPECT_NE(constructor->Datatype->ReturnType(), constructor->ReturnDatatype);  // a copy
  EXPECT_EQ(c->ChildNodes().front(), constructor);
}

TEST_F(BridgeTest, ConstructorWithAReturnTypeIsRejectedWhileParsing) {
  int32_t header = TVariableNode::Emit(TName("Point"),
                                       TDatatype::Emit(TYPE_FUNCTION, Type(TYPE_INT), List({})));
  int32_t ctor = TFunctionNode::Emit(header, List({}), 1, 0);
  EXPECT_EXIT(TClassNode::Emit(TName("Point"), -1, List({ctor}), 0),
              testing::ExitedWithCode(255), "");
}

TEST_F(BridgeTest, SelectJoinsCasesAroundTheDefault) {
  int32_t before = List({TCaseNode::Emit(Int(1), List({})), TCaseNode::Emit(Int(2), List({}))});
  int32_t after = List({TCaseNode::Emit(Int(3), List({}))});
  int32_t def = TDefaultNode::Emit(List({}));
  auto* select = Node<TSelectNode>(TSelectNode::Emit(Name("v"), before, def, after));
  ASSERT_EQ(select->CaseList.size(), 3u);
  EXPECT_EQ(dynamic_cast<TLiteralNode*>(select->CaseList[2]->Expression)->IntValue, 3);
  EXPECT_EQ(select->ChildNodes()[1], select->DefaultCase);
  auto* plain = Node<TSelectNode>(TSelectNode::Emit(Name("v"), before, -1, -1));
  EXPECT_EQ(plain->CaseList.size(), 2u);
  EXPECT_EQ(plain->DefaultCase, nullptr);
}

TEST_F(BridgeTest, LiteralsCarryTheirValuesAndTypes) {
  auto* ubyte = Node<TLiteralNode>(TLiteralNode::Emit(tok::TOK_UBYTE, 255));
  EXPECT_EQ(ubyte->IntValue, 255);
  EXPECT_EQ(ubyte->Datatype->TypeKind, TYPE_BYTE);
  EXPECT_EQ(ubyte->Datatype->IsUnsigned, 1);
  auto* half = Node<TLiteralNode>(TLiteralNode::Emit(tok::TOK_DOUBLE, 0x3FF8000000000000LL));
  EXPECT_EQ(half->DoubleValue, 1.5);
  EXPECT_EQ(half->Datatype->TypeKind, TYPE_DOUBLE);
  auto* text = Node<TLiteralNode>(TLiteralNode::Emit(tok::TOK_STRING, TName("hi")));
  EXPECT_EQ(text->StringValue, "hi");
  EXPECT_EQ(text->IsConstant(), 0);
  EXPECT_EQ(Node<TLiteralNode>(TLiteralNode::Emit(tok::KEY_NULL, -1))->Datatype->TypeKind, TYPE_ANY);
  EXPECT_EQ(Node<TLiteralNode>(TLiteralNode::Emit(tok::KEY_TRUE, -1))->Datatype->TypeKind, TYPE_BOOL);
  auto* self = Node<TLiteralNode>(TLiteralNode::Emit(tok::KEY_SELF, -1));
  EXPECT_EQ(self->Datatype, nullptr);  // typed once its place in the tree is known
}

TEST_F(BridgeTest, AssignmentTakesOverTheComparisonOperands) {
  int32_t target = Name("a"), value = Int(4);
  auto* assignment = Node<TAssignmentNode>(
      TAssignmentNode::Emit(TBinaryOpExpression::Emit('=', target, value)));
  EXPECT_EQ(assignment->LeftExp, HandleToNode(target));
  EXPECT_EQ(assignment->RightExp, HandleToNode(value));
  EXPECT_EQ(assignment->LeftExp->Parent, assignment);
}

TEST_F(BridgeTest, NewArrayAndNewObject) {
  auto* array = Node<TNewArrayExpression>(
      TNewArrayExpression::Emit(TDatatype::Emit(TYPE_COMPOUND, TName("Thing"), 0),
                                List({Int(2), Int(3)})));
  EXPECT_EQ(array->Datatype->TypeKind, TYPE_ARRAY);
  EXPECT_EQ(array->Datatype->Dimension, 2);
  EXPECT_EQ(array->Datatype->NestedType->Identifier, "Thing");
  int32_t arg = Int(1);
  auto* creation = Node<TNewExpression>(TNewExpression::Emit(TName("Thing"), List({arg})));
  ASSERT_EQ(creation->Parameters.size(), 1u);
  EXPECT_TRUE(creation->ChildNodes().empty());  // arguments are not adopted
  EXPECT_NE(HandleToNode(arg)->Parent, creation);
}

}  // namespace
}  // namespace zintrel

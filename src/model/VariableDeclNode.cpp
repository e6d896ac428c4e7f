#include "model/VariableDeclNode.h"

#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/Scope.h"
#include "semantics/Operators.h"

namespace zintrel {

TVariableDeclNode::TVariableDeclNode() : Visibility(TClassNode::CurrentVisibility) {
  ZINTREL_ADD_CLASS_BIT();
}

int TVariableDeclNode::CheckSignatureCorrectness(TScope* scope) {
  if (Datatype != nullptr) Datatype->CheckCorrectness(scope);
  return 0;
}

int TVariableDeclNode::CheckCorrectness(TScope* scope) {
  if (Datatype != nullptr) Datatype->CheckCorrectness(scope);
  if (Value == nullptr) {
    if (DeclKind == DECL_CONST && !IsExtern && !IsCompiled)
      Abort("Constants must be intialized", this);
  } else {
    Value->CheckCorrectness(scope);
    TDatatype* type = Value->EvaluateDatatype();
    if (type != nullptr && !type->IsCastable(Datatype))
      Abort("Unable to convert from '" + type->ToString() + "' to '" + Datatype->ToString() + "'",
            this);
    if (DeclKind == DECL_CONST && !Value->IsConstant()) Abort("Expression must be constant", Value);
    // Every implicit conversion becomes an explicit cast node.
    TTypeCastExpression::Convert(this, Value, type, Datatype, scope);
  }
  if (!scope->Insert(Identifier, this) && DeclKind != DECL_GLOBAL)
    Abort("Redefinition of '" + Identifier + "'", this);
  CorrectnessChecked = 1;
  return 0;
}

void TVariableDeclNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(Datatype);
  visitor(Value);
}

int TVariableDeclNode::SetupChildren() {
  if (Value != nullptr) AddChildNode(Value);
  if (Datatype != nullptr) AddChildNode(Datatype);
  return 0;
}

TVariableDeclNode* TVariableDeclNode::Create(int32_t kind, std::string identifier,
                                             TDatatype* datatype, TExpressionNode* value) {
  DeclKind = kind;
  Identifier = std::move(identifier);
  Datatype = datatype;
  Value = value;
  SetupChildren();
  return this;
}

int32_t TVariableDeclNode::Emit(int32_t variable, int32_t value) {
  TVariableDeclNode* declaration = ActiveTarget->CreateVariableDeclNode();
  declaration->Value = NodeCast<TExpressionNode>(HandleToNode(value));
  // The variable only carried the name and the type here.
  if (auto* v = NodeCast<TVariableNode>(HandleToNode(variable))) {
    declaration->Identifier = v->Identifier;
    declaration->Datatype = v->Datatype;
    TakeNode(variable);
  }
  declaration->SetupChildren();
  return declaration->TableID;
}

int32_t TVariableDeclNode::ScopeVarDecl(int32_t kind, int32_t list) {
  for (TVariableDeclNode* declaration : NodesOfList<TVariableDeclNode>(HandleToList(list)))
    declaration->DeclKind = kind;
  return 0;
}

int TStatementList::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  for (TVariableDeclNode* constant : Constants) constant->CheckCorrectness(scope);
  if (!Statements.empty()) PrefetchStatement(nullptr, Statements.front());
  for (TStatementNode* const* at = Statements.begin(); at != Statements.end(); ++at) {
    if (at + 1 != Statements.end()) PrefetchStatement(*at, at[1]);
    (*at)->CheckCorrectness(scope);
  }
  return 0;
}

void TStatementList::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(Constants);
  visitor(Statements);
}

int TStatementList::SetupChildren() {
  AddChildNodeList(Constants);
  AddChildNodeList(Statements);
  return 0;
}

TStatementList* TStatementList::Create(const TList* list) {
  return Create(NodesOfList<TStatementNode>(list));
}

TStatementList* TStatementList::Create(const std::vector<TStatementNode*>& statements) {
  TStatementList* block = new TStatementList();
  for (TStatementNode* statement : statements) {
    auto* declaration = NodeCast<TVariableDeclNode>(statement);
    if (declaration != nullptr && declaration->DeclKind == DECL_CONST) {
      block->Constants.push_back(declaration);
    } else {
      block->Statements.push_back(statement);
    }
  }
  block->SetupChildren();
  return block;
}

}  // namespace zintrel

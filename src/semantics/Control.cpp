#include "semantics/Control.h"

#include "frontend/Bridge.h"
#include "frontend/Target.h"
#include "model/Datatype.h"
#include "model/VariableDeclNode.h"
#include "semantics/Expression.h"

namespace zintrel {

namespace {

TExpressionNode* ExpressionOf(int32_t handle) {
  return dynamic_cast<TExpressionNode*>(HandleToNode(handle));
}

TStatementList* BlockOf(int32_t list) { return TStatementList::Create(HandleToList(list)); }

template <class T>
void AddIfSet(TASTNode* parent, T* child) {
  if (child != nullptr) parent->AddChildNode(child);
}

}  // namespace

// ElseIf and Else

void TElseIfNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Expression);
  visitor(Statements);
}

int TElseIfNode::CheckCorrectness(TScope*) { return 0; }

int TElseIfNode::SetupChildren() {
  AddIfSet(this, Expression);
  AddIfSet(this, Statements);
  return 0;
}

TElseIfNode* TElseIfNode::Create(TExpressionNode* condition, TStatementList* statements) {
  Expression = condition;
  Statements = statements;
  SetupChildren();
  return this;
}

int32_t TElseIfNode::Emit(int32_t condition, int32_t body) {
  return ActiveTarget->CreateElseIfNode()->Create(ExpressionOf(condition), BlockOf(body))->TableID;
}

void TElseNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Statements);
}

int TElseNode::CheckCorrectness(TScope*) { return 0; }

int TElseNode::SetupChildren() {
  AddIfSet(this, Statements);
  return 0;
}

TElseNode* TElseNode::Create(TStatementList* statements) {
  Statements = statements;
  SetupChildren();
  return this;
}

int32_t TElseNode::Emit(int32_t body) {
  return ActiveTarget->CreateElseNode()->Create(BlockOf(body))->TableID;
}

// If

void TIfNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(Expression);
  visitor(Statements);
  visitor(ElseBranch);
}

int TIfNode::CheckCorrectness(TScope*) { return 0; }

int TIfNode::SetupChildren() {
  AddIfSet(this, Expression);
  AddIfSet(this, Statements);
  AddChildNodeList(ElseIfList);
  AddIfSet(this, ElseBranch);
  return 0;
}

TIfNode* TIfNode::Create(TExpressionNode* condition, TStatementList* statements,
                         std::vector<TElseIfNode*> elseIfList, TElseNode* elseBranch) {
  Expression = condition;
  Statements = statements;
  ElseIfList = std::move(elseIfList);
  ElseBranch = elseBranch;
  SetupChildren();
  return this;
}

int32_t TIfNode::Emit(int32_t condition, int32_t body, int32_t elseIfList, int32_t elseBranch) {
  return ActiveTarget->CreateIfNode()
      ->Create(ExpressionOf(condition), BlockOf(body),
               NodesOfList<TElseIfNode>(HandleToList(elseIfList)),
               dynamic_cast<TElseNode*>(HandleToNode(elseBranch)))
      ->TableID;
}

// While and Repeat

void TWhileNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(Expression);
  visitor(Statements);
}

int TWhileNode::CheckCorrectness(TScope*) { return 0; }

int TWhileNode::SetupChildren() {
  AddIfSet(this, Expression);
  AddIfSet(this, Statements);
  return 0;
}

int32_t TWhileNode::Emit(int32_t condition, int32_t body) {
  TWhileNode* node = ActiveTarget->CreateWhileNode();
  node->Expression = ExpressionOf(condition);
  node->Statements = BlockOf(body);
  node->SetupChildren();
  return node->TableID;
}

void TRepeatNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(Expression);
  visitor(Statements);
}

int TRepeatNode::CheckCorrectness(TScope*) { return 0; }

int TRepeatNode::SetupChildren() {
  AddIfSet(this, Expression);
  AddIfSet(this, Statements);
  return 0;
}

int32_t TRepeatNode::Emit(int32_t condition, int32_t body) {
  TRepeatNode* node = ActiveTarget->CreateRepeatNode();
  node->Expression = ExpressionOf(condition);
  node->Statements = BlockOf(body);
  node->SetupChildren();
  return node->TableID;
}

// Select, Case and Default

void TCaseNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Expression);
  visitor(Datatype);
  visitor(Statements);
}

int TCaseNode::CheckCorrectness(TScope*) { return 0; }

int TCaseNode::SetupChildren() {
  AddIfSet(this, Expression);
  AddIfSet(this, Statements);
  return 0;
}

int32_t TCaseNode::Emit(int32_t value, int32_t body) {
  TCaseNode* node = ActiveTarget->CreateCaseNode();
  node->Expression = ExpressionOf(value);
  node->Statements = BlockOf(body);
  node->SetupChildren();
  return node->TableID;
}

void TDefaultNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Statements);
}

int TDefaultNode::CheckCorrectness(TScope*) { return 0; }

int TDefaultNode::SetupChildren() {
  AddIfSet(this, Statements);
  return 0;
}

int32_t TDefaultNode::Emit(int32_t body) {
  TDefaultNode* node = ActiveTarget->CreateDefaultNode();
  node->Statements = BlockOf(body);
  node->SetupChildren();
  return node->TableID;
}

void TSelectNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(Expression);
  visitor(Datatype);
  visitor(DefaultCase);
}

int TSelectNode::CheckCorrectness(TScope*) { return 0; }

int TSelectNode::SetupChildren() {
  AddIfSet(this, Expression);
  AddIfSet(this, DefaultCase);
  AddChildNodeList(CaseList);
  return 0;
}

int32_t TSelectNode::Emit(int32_t selector, int32_t cases, int32_t defaultCase,
                          int32_t casesAfter) {
  TSelectNode* node = ActiveTarget->CreateSelectNode();
  node->Expression = ExpressionOf(selector);
  node->DefaultCase = dynamic_cast<TDefaultNode*>(HandleToNode(defaultCase));
  node->CaseList = NodesOfList<TCaseNode>(HandleToList(cases));
  if (casesAfter >= 0) {
    std::vector<TCaseNode*> after = NodesOfList<TCaseNode>(HandleToList(casesAfter));
    node->CaseList.insert(node->CaseList.end(), after.begin(), after.end());
  }
  node->SetupChildren();
  return node->TableID;
}

// For loops

void TForWhileNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(ForStatements);
  visitor(WhileExpression);
  visitor(Statements);
}

int TForWhileNode::CheckCorrectness(TScope*) { return 0; }

int TForWhileNode::SetupChildren() {
  AddIfSet(this, ForStatements);
  AddIfSet(this, WhileExpression);
  AddIfSet(this, Statements);
  return 0;
}

int32_t TForWhileNode::Emit(int32_t initialStatements, int32_t condition, int32_t body) {
  TForWhileNode* node = ActiveTarget->CreateForWhileNode();
  node->ForStatements = BlockOf(initialStatements);
  node->WhileExpression = ExpressionOf(condition);
  node->Statements = BlockOf(body);
  node->SetupChildren();
  return node->TableID;
}

void TForNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(Variable);
  visitor(FromExpression);
  visitor(ToExpression);
  visitor(StepExpression);
  visitor(Statements);
  visitor(LoopVariable);
}

int TForNode::CheckCorrectness(TScope*) { return 0; }

int TForNode::SetupChildren() {
  AddIfSet(this, FromExpression);
  AddIfSet(this, ToExpression);
  AddIfSet(this, StepExpression);
  AddIfSet(this, Statements);
  AddIfSet(this, Variable);
  return 0;
}

int32_t TForNode::Emit(int32_t defineVariable, int32_t variable, int32_t from, int32_t to,
                       int32_t step, int32_t skipLast, int32_t body) {
  TForNode* node = ActiveTarget->CreateForNode();
  node->DefineVariable = defineVariable;
  node->Variable = ExpressionOf(variable);
  node->FromExpression = ExpressionOf(from);
  node->ToExpression = ExpressionOf(to);
  node->StepExpression = ExpressionOf(step);
  node->SkipLast = skipLast;
  node->Statements = BlockOf(body);
  node->SetupChildren();
  return node->TableID;
}

// Exit and Continue

int TExitNode::CheckCorrectness(TScope*) { return 0; }

int32_t TExitNode::Emit() { return ActiveTarget->CreateExitNode()->TableID; }

int TContinueNode::CheckCorrectness(TScope*) { return 0; }

int32_t TContinueNode::Emit() { return ActiveTarget->CreateContinueNode()->TableID; }

}  // namespace zintrel

#include "semantics/Control.h"

#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "frontend/Tokens.h"
#include "model/Datatype.h"
#include "model/Scope.h"
#include "model/VariableDeclNode.h"
#include "semantics/Expression.h"
#include "semantics/Operators.h"

namespace zintrel {

namespace {

TExpressionNode* ExpressionOf(int32_t handle) {
  return NodeCast<TExpressionNode>(HandleToNode(handle));
}

TStatementList* BlockOf(int32_t list) { return TStatementList::Create(TakeList(list)); }

template <class T>
void AddIfSet(TASTNode* parent, T* child) {
  if (child != nullptr) parent->AddChildNode(child);
}

// Every controlled block opens a scope of its own below the statement's scope. The scope serves
// only while the block is checked (no node keeps one), so it lives on the stack and its names
// are given back when the block is done.
class TBlockScope : public TScope {
 public:
  explicit TBlockScope(TScope* parent) { Parent = parent; }
};

// Exit and Continue belong to the nearest loop around them; the initial statements of a
// For-While loop are outside that loop. Functions and other statements are passed through.
bool InsideLoop(const TASTNode* node) {
  return FindEnclosing(node, [node](TASTNode* p) {
           if (NodeCast<TWhileNode>(p) || NodeCast<TRepeatNode>(p) ||
               NodeCast<TForNode>(p))
             return true;
           auto* forWhile = NodeCast<TForWhileNode>(p);
           return forWhile != nullptr && (forWhile->ForStatements == nullptr ||
                                          !node->HasParentNode(forWhile->ForStatements));
         }) != nullptr;
}

}  // namespace

// ElseIf and Else

void TElseIfNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Expression);
  visitor(Statements);
}

int TElseIfNode::CheckCorrectness(TScope* scope) {
  Expression->CheckCorrectness(scope);
  TBlockScope block(scope);
  Statements->CheckCorrectness(&block);
  return 0;
}

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
  TElseIfNode* node = ActiveTarget->CreateElseIfNode();
  node->Expression = ExpressionOf(condition);
  node->Statements = BlockOf(body);
  node->SetupChildren();
  return node->TableID;
}

void TElseNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Statements);
}

int TElseNode::CheckCorrectness(TScope* scope) {
  TBlockScope block(scope);
  Statements->CheckCorrectness(&block);
  return 0;
}

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
  TElseNode* node = ActiveTarget->CreateElseNode();
  node->Statements = BlockOf(body);
  node->SetupChildren();
  return node->TableID;
}

// If

void TIfNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(Expression);
  visitor(Statements);
  visitor(ElseIfList);
  visitor(ElseBranch);
}

int TIfNode::CheckCorrectness(TScope* scope) {
  Expression->CheckCorrectness(scope);
  TBlockScope block(scope);
  Statements->CheckCorrectness(&block);
  for (TElseIfNode* branch : ElseIfList) branch->CheckCorrectness(scope);
  if (ElseBranch != nullptr) ElseBranch->CheckCorrectness(scope);
  return 0;
}

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
  TIfNode* node = ActiveTarget->CreateIfNode();
  node->Expression = ExpressionOf(condition);
  node->Statements = BlockOf(body);
  node->ElseIfList = NodesOfList<TElseIfNode>(TakeList(elseIfList));
  node->ElseBranch = NodeCast<TElseNode>(HandleToNode(elseBranch));
  node->SetupChildren();
  return node->TableID;
}

// While and Repeat

void TWhileNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(Expression);
  visitor(Statements);
}

int TWhileNode::CheckCorrectness(TScope* scope) {
  Expression->CheckCorrectness(scope);
  TBlockScope block(scope);
  Statements->CheckCorrectness(&block);
  return 0;
}

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

int TRepeatNode::CheckCorrectness(TScope* scope) {
  // The Until condition cannot see the body's declarations.
  if (Expression != nullptr) Expression->CheckCorrectness(scope);
  TBlockScope block(scope);
  Statements->CheckCorrectness(&block);
  return 0;
}

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

int TCaseNode::CheckCorrectness(TScope* scope) {
  Expression->CheckCorrectness(scope);
  Datatype = Expression->EvaluateDatatype();
  TBlockScope block(scope);
  Statements->CheckCorrectness(&block);
  return 0;
}

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

int TDefaultNode::CheckCorrectness(TScope* scope) {
  TBlockScope block(scope);
  Statements->CheckCorrectness(&block);
  return 0;
}

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
  visitor(CaseList);
}

int TSelectNode::CheckCorrectness(TScope* scope) {
  Expression->CheckCorrectness(scope);
  Datatype = Expression->EvaluateDatatype();
  for (TCaseNode* c : CaseList) {
    c->CheckCorrectness(scope);
    if (c->Datatype == nullptr || Datatype == nullptr || !c->Datatype->IsCastable(Datatype))
      Abort("Unable to compare expression of type '" + TypeText(c->Datatype) +
                "' to Select expression of type '" + TypeText(Datatype) + "'",
            this);
  }
  if (DefaultCase != nullptr) DefaultCase->CheckCorrectness(scope);
  PerformASTTransformation(scope);
  return 0;
}

int TSelectNode::PerformASTTransformation(TScope* scope) {
  TNodeOrigin origin(this);
  TVariableDeclNode* selected = ActiveTarget->CreateVariableDeclNode()->Create(
      DECL_LOCAL, "__select" + std::to_string(TableID), Datatype, Expression);
  // selected = value, for one case value.
  std::vector<TBinaryOpExpression*> comparisons;
  auto matches = [&](TExpressionNode* value) {
    TNodeOrigin comparison(value);
    TVariableNode* x = ActiveTarget->CreateVariableNode()->Create(selected->Identifier,
                                                                  selected->Datatype->Copy());
    comparisons.push_back(ActiveTarget->CreateBinaryOpExpression()->Create('=', x, value));
    return comparisons.back();
  };
  std::vector<TStatementNode*> lowered{selected};
  if (CaseList.empty()) {
    // Nothing to compare: the selector is evaluated, then the default statements run, in a
    // block of their own as in every other Select.
    if (DefaultCase != nullptr) {
      TLiteralNode* always = ActiveTarget->CreateLiteralNode();
      always->LiteralKind = tok::KEY_TRUE;
      always->CopyLocation(DefaultCase);
      always->CheckCorrectness(nullptr);
      lowered.push_back(
          ActiveTarget->CreateIfNode()->Create(always, DefaultCase->Statements, {}, nullptr));
    }
  } else {
    std::vector<TElseIfNode*> branches;
    for (size_t i = 1; i < CaseList.size(); ++i)
      branches.push_back(ActiveTarget->CreateElseIfNode()->Create(
          matches(CaseList[i]->Expression), CaseList[i]->Statements));
    TElseNode* otherwise = DefaultCase != nullptr
                               ? ActiveTarget->CreateElseNode()->Create(DefaultCase->Statements)
                               : nullptr;
    lowered.push_back(ActiveTarget->CreateIfNode()->Create(
        matches(CaseList[0]->Expression), CaseList[0]->Statements, std::move(branches), otherwise));
  }
  CaseList.clear();
  TStatementList* replacement = TStatementList::Create(lowered);
  if (Parent != nullptr) Parent->ReplaceChildNode(this, replacement);
  // The cases' and the default's statements were checked above, where what is wrong with them
  // is reported; of the lowered form only the selector's variable and the comparisons are new.
  selected->CheckCorrectness(scope);
  for (TBinaryOpExpression* comparison : comparisons) comparison->CheckCorrectness(scope);
  return 0;
}

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
  node->DefaultCase = NodeCast<TDefaultNode>(HandleToNode(defaultCase));
  node->CaseList = NodesOfList<TCaseNode>(TakeList(cases));
  if (casesAfter >= 0) {
    std::vector<TCaseNode*> after = NodesOfList<TCaseNode>(TakeList(casesAfter));
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

int TForWhileNode::CheckCorrectness(TScope* scope) {
  TBlockScope scopeOfLoop(scope);
  TScope* loop = &scopeOfLoop;
  ForStatements->CheckCorrectness(loop);
  WhileExpression->CheckCorrectness(loop);
  WhileExpression->EvaluateDatatype();
  Statements->CheckCorrectness(loop);
  return 0;
}

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

int TForNode::CheckCorrectness(TScope* scope) {
  TBlockScope scopeOfLoop(scope);
  TScope* loop = &scopeOfLoop;
  if (DefineVariable) {
    TNodeOrigin origin(Variable != nullptr ? static_cast<TASTNode*>(Variable) : this);
    auto* variable = NodeCast<TVariableNode>(Variable);
    TVariableDeclNode* declaration = ActiveTarget->CreateVariableDeclNode()->Create(
        DECL_LOCAL, variable != nullptr ? variable->Identifier.str() : std::string(),
        variable != nullptr ? variable->Datatype : nullptr, FromExpression);
    // Reports about the declaration point at the loop variable as written.
    if (variable != nullptr) declaration->CopyLocation(variable);
    LoopVariable = declaration;
    AddChildNode(declaration);
    if (variable != nullptr) variable->Origin = declaration;
    declaration->CheckCorrectness(loop);
  } else {
    // The parser hands over "v = a" whole; its two sides are the variable and the start value.
    // They are checked one by one, so that a loop over a String reports the loop variable.
    if (auto* equality = NodeCast<TBinaryOpExpression>(Variable);
        equality != nullptr && FromExpression == nullptr) {
      TExpressionNode* start = equality->RightExp;
      ReplaceChildNode(equality, equality->LeftExp);
      FromExpression = start;
      AddChildNode(start);
    }
    Variable->CheckCorrectness(loop);
    FromExpression->CheckCorrectness(loop);
    if (!Variable->IsWritable()) Abort("Loop variable must be writable", Variable);
    LoopVariable = Variable;
  }
  TDatatype* type = Variable->EvaluateDatatype();
  if (type == nullptr || !type->IsNumeric()) Abort("Loop variable must be of numeric type", Variable);
  if (DefineVariable) FromExpression->CheckCorrectness(loop);
  ToExpression->CheckCorrectness(loop);
  TDatatype* from = FromExpression->EvaluateDatatype();
  if (from == nullptr || !from->IsNumeric())
    Abort("From expression must be of numeric type", FromExpression);
  TDatatype* to = ToExpression->EvaluateDatatype();
  if (to == nullptr || !to->IsNumeric()) Abort("To expression must be of numeric type", ToExpression);
  if (StepExpression != nullptr) {
    StepExpression->CheckCorrectness(loop);
    TDatatype* step = StepExpression->EvaluateDatatype();
    if (step == nullptr || !step->IsNumeric())
      Abort("Step expression must be of numeric type", StepExpression);
    if (!StepExpression->IsConstant()) Abort("Step expression must be constant", StepExpression);
  }
  Statements->CheckCorrectness(loop);
  return 0;
}

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

int TExitNode::CheckCorrectness(TScope*) {
  if (!InsideLoop(this)) Abort("Exit must appear inside a loop", this);
  return 0;
}

int32_t TExitNode::Emit() { return ActiveTarget->CreateExitNode()->TableID; }

int TContinueNode::CheckCorrectness(TScope*) {
  if (!InsideLoop(this)) Abort("Continue must appear inside a loop", this);
  return 0;
}

int32_t TContinueNode::Emit() { return ActiveTarget->CreateContinueNode()->TableID; }

}  // namespace zintrel

#include "semantics/Operators.h"

#include "frontend/Bridge.h"
#include "frontend/Target.h"
#include "model/Datatype.h"

namespace zintrel {

namespace {

TExpressionNode* ExpressionOf(int32_t handle) {
  return dynamic_cast<TExpressionNode*>(HandleToNode(handle));
}

}  // namespace

// Binary operators

void TBinaryOpExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(LeftExp);
  visitor(RightExp);
  visitor(Datatype);
}

int TBinaryOpExpression::CheckCorrectness(TScope*) { return 0; }

int TBinaryOpExpression::EvaluateResult() { return 0; }

int TBinaryOpExpression::IsConstant() { return 0; }

int TBinaryOpExpression::SetupChildren() {
  if (LeftExp != nullptr) AddChildNode(LeftExp);
  if (RightExp != nullptr) AddChildNode(RightExp);
  return 0;
}

TBinaryOpExpression* TBinaryOpExpression::Create(int32_t op, TExpressionNode* left,
                                                 TExpressionNode* right) {
  Operator = op;
  LeftExp = left;
  RightExp = right;
  SetupChildren();
  return this;
}

int32_t TBinaryOpExpression::Emit(int32_t op, int32_t left, int32_t right) {
  TBinaryOpExpression* node = ActiveTarget->CreateBinaryOpExpression();
  node->Operator = op;
  node->LeftExp = ExpressionOf(left);
  node->RightExp = ExpressionOf(right);
  node->SetupChildren();
  return node->TableID;
}

// Unary operators

void TUnaryOpExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetExp);
  visitor(Datatype);
}

int TUnaryOpExpression::CheckCorrectness(TScope*) { return 0; }

int TUnaryOpExpression::EvaluateResult() { return 0; }

int TUnaryOpExpression::IsConstant() { return 0; }

int TUnaryOpExpression::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

int32_t TUnaryOpExpression::Emit(int32_t op, int32_t operand) {
  TUnaryOpExpression* node = ActiveTarget->CreateUnaryOpExpression();
  node->Operator = op;
  node->TargetExp = ExpressionOf(operand);
  node->SetupChildren();
  return node->TableID;
}

// Type casts

void TTypeCastExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(Datatype);
  visitor(TargetExp);
}

int TTypeCastExpression::CheckCorrectness(TScope*) { return 0; }

int TTypeCastExpression::EvaluateResult() { return 0; }

int TTypeCastExpression::IsConstant() { return 0; }

int TTypeCastExpression::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  if (Datatype != nullptr) AddChildNode(Datatype);
  return 0;
}

TTypeCastExpression* TTypeCastExpression::Create(TExpressionNode* expression, TDatatype* datatype,
                                                 TScope* scope) {
  Datatype = datatype;
  TargetExp = expression;
  if (expression != nullptr) SetParentNode(expression->Parent);
  SetupChildren();
  if (datatype != nullptr) datatype->CheckCorrectness(scope);
  return this;
}

int32_t TTypeCastExpression::Emit(int32_t datatype, int32_t operand) {
  TTypeCastExpression* node = ActiveTarget->CreateTypeCastExpression();
  node->Datatype = dynamic_cast<TDatatype*>(HandleToNode(datatype));
  node->TargetExp = ExpressionOf(operand);
  node->SetupChildren();
  return node->TableID;
}

}  // namespace zintrel

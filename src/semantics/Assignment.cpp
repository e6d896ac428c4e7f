#include "semantics/Assignment.h"

#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "frontend/Tokens.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "semantics/Operators.h"

namespace zintrel {

void TAssignmentNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(LeftExp);
  visitor(RightExp);
}

int TAssignmentNode::CheckCorrectness(TScope* scope) {
  RightExp->CheckCorrectness(scope);
  LeftExp->CheckCorrectness(scope);
  TDatatype* right = RightExp->EvaluateDatatype();
  TDatatype* left = LeftExp->EvaluateDatatype();
  if (right == nullptr || left == nullptr || !right->IsCastable(left))
    Abort("Incompatible datatypes in assignment: Unable to convert from " + TypeText(right) +
              " to " + TypeText(left),
          this);
  if (!LeftExp->IsWritable()) Abort("Assignment target is not writable", LeftExp);
  TTypeCastExpression::Convert(this, RightExp, right, left, scope);
  return 0;
}

int TAssignmentNode::SetupChildren() {
  if (LeftExp != nullptr) AddChildNode(LeftExp);
  if (RightExp != nullptr) AddChildNode(RightExp);
  return 0;
}

int32_t TAssignmentNode::Emit(int32_t equality) {
  TAssignmentNode* node = ActiveTarget->CreateAssignmentNode();
  // The comparison the assignment was parsed as is not kept.
  if (auto* comparison = NodeCast<TBinaryOpExpression>(HandleToNode(equality))) {
    node->LeftExp = comparison->LeftExp;
    node->RightExp = comparison->RightExp;
    TakeNode(equality);
  }
  node->SetupChildren();
  return node->TableID;
}

void TReturnNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(TargetExp);
}

int TReturnNode::CheckCorrectness(TScope* scope) {
  TFunctionNode* function = EnclosingNode<TFunctionNode>(this);
  if (function == nullptr) Abort("Return may only be used inside functions or methods", this);
  TDatatype* expected = function->ReturnDatatype;
  if (function->IsConstructor) {
    if (TargetExp != nullptr && TargetExp == ImplicitSelf) return 0;
    if (TargetExp != nullptr) Abort("Constructor does not return a value", this);
    // A constructor returns the object it constructed.
    TNodeOrigin origin(this);
    TLiteralNode* self = ActiveTarget->CreateLiteralNode()->Create(expected->Copy(), "");
    self->LiteralKind = tok::KEY_SELF;
    TargetExp = self;
    ImplicitSelf = self;
    AddChildNode(self);
  } else if (expected == nullptr || expected->IsVoid()) {
    if (TargetExp != nullptr) Abort("Function does not return a value", this);
  } else {
    if (TargetExp == nullptr) Abort("Function must return a value", this);
    TargetExp->CheckCorrectness(scope);
    TDatatype* given = TargetExp->EvaluateDatatype();
    if (given == nullptr || !given->IsCastable(expected))
      Abort("Return datatype does not match function datatype", this);
    TTypeCastExpression::Convert(this, TargetExp, given, expected, scope);
  }
  return 0;
}

int TReturnNode::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

int32_t TReturnNode::Emit(int32_t value) {
  TReturnNode* node = ActiveTarget->CreateReturnNode();
  node->TargetExp = NodeCast<TExpressionNode>(HandleToNode(value));
  node->SetupChildren();
  return node->TableID;
}

void TDeleteNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(TargetExp);
}

int TDeleteNode::CheckCorrectness(TScope* scope) {
  TargetExp->CheckCorrectness(scope);
  TDatatype* type = TargetExp->EvaluateDatatype();
  if (type == nullptr || !type->IsCompound())
    Abort("Delete can only be applied to class instances", TargetExp);
  return 0;
}

int TDeleteNode::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

int32_t TDeleteNode::Emit(int32_t value) {
  TDeleteNode* node = ActiveTarget->CreateDeleteNode();
  node->TargetExp = NodeCast<TExpressionNode>(HandleToNode(value));
  node->SetupChildren();
  return node->TableID;
}

}  // namespace zintrel

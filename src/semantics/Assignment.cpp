#include "semantics/Assignment.h"

#include "frontend/Bridge.h"
#include "frontend/Target.h"
#include "semantics/Operators.h"

namespace zintrel {

void TAssignmentNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(LeftExp);
  visitor(RightExp);
}

int TAssignmentNode::CheckCorrectness(TScope*) { return 0; }

int TAssignmentNode::SetupChildren() {
  if (LeftExp != nullptr) AddChildNode(LeftExp);
  if (RightExp != nullptr) AddChildNode(RightExp);
  return 0;
}

int32_t TAssignmentNode::Emit(int32_t equality) {
  TAssignmentNode* node = ActiveTarget->CreateAssignmentNode();
  if (auto* comparison = dynamic_cast<TBinaryOpExpression*>(HandleToNode(equality))) {
    node->LeftExp = comparison->LeftExp;
    node->RightExp = comparison->RightExp;
  }
  node->SetupChildren();
  return node->TableID;
}

void TReturnNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(TargetExp);
}

int TReturnNode::CheckCorrectness(TScope*) { return 0; }

int TReturnNode::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

int32_t TReturnNode::Emit(int32_t value) {
  TReturnNode* node = ActiveTarget->CreateReturnNode();
  node->TargetExp = dynamic_cast<TExpressionNode*>(HandleToNode(value));
  node->SetupChildren();
  return node->TableID;
}

void TDeleteNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TStatementNode::VisitNodeFields(visitor);
  visitor(TargetExp);
}

int TDeleteNode::CheckCorrectness(TScope*) { return 0; }

int TDeleteNode::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

int32_t TDeleteNode::Emit(int32_t value) {
  TDeleteNode* node = ActiveTarget->CreateDeleteNode();
  node->TargetExp = dynamic_cast<TExpressionNode*>(HandleToNode(value));
  node->SetupChildren();
  return node->TableID;
}

}  // namespace zintrel

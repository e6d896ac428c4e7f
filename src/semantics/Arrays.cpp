#include "semantics/Arrays.h"

#include "frontend/Bridge.h"
#include "frontend/Target.h"
#include "model/Datatype.h"

namespace zintrel {

// Indexing

void TIndexExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetExp);
  visitor(Datatype);
}

int TIndexExpression::CheckCorrectness(TScope*) { return 0; }

int TIndexExpression::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  AddChildNodeArray(Indices);
  return 0;
}

int32_t TIndexExpression::Emit(int32_t target, int32_t indices) {
  TIndexExpression* node = ActiveTarget->CreateIndexExpression();
  node->TargetExp = dynamic_cast<TExpressionNode*>(HandleToNode(target));
  node->Indices = NodesOfList<TExpressionNode>(HandleToList(indices));
  node->SetupChildren();
  return node->TableID;
}

// Array literals

void TAutoArrayExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(Datatype);
}

int TAutoArrayExpression::CheckCorrectness(TScope*) { return 0; }

int TAutoArrayExpression::SetupChildren() {
  AddChildNodeArray(Values);
  return 0;
}

int32_t TAutoArrayExpression::Emit(int32_t values) {
  TAutoArrayExpression* node = ActiveTarget->CreateAutoArrayExpression();
  node->Values = NodesOfList<TExpressionNode>(HandleToList(values));
  node->SetupChildren();
  return node->TableID;
}

// New arrays

void TNewArrayExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(Datatype);
}

int TNewArrayExpression::CheckCorrectness(TScope*) { return 0; }

int TNewArrayExpression::SetupChildren() {
  AddChildNodeArray(Sizes);
  if (Datatype != nullptr) AddChildNode(Datatype);
  return 0;
}

int32_t TNewArrayExpression::Emit(int32_t elementType, int32_t sizes) {
  TNewArrayExpression* node = ActiveTarget->CreateNewArrayExpression();
  node->Sizes = NodesOfList<TExpressionNode>(HandleToList(sizes));
  node->Datatype = ActiveTarget->CreateDatatype()->Create(
      TYPE_ARRAY, HandleToNode(elementType), static_cast<int32_t>(node->Sizes.size()));
  node->SetupChildren();
  return node->TableID;
}

// Addresses

void TAddressExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetExp);
  visitor(Datatype);
}

int TAddressExpression::CheckCorrectness(TScope*) { return 0; }

int TAddressExpression::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

int32_t TAddressExpression::Emit(int32_t operand) {
  TAddressExpression* node = ActiveTarget->CreateAddressExpression();
  node->TargetExp = dynamic_cast<TExpressionNode*>(HandleToNode(operand));
  node->SetupChildren();
  return node->TableID;
}

}  // namespace zintrel

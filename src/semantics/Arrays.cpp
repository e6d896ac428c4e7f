#include "semantics/Arrays.h"

#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "model/Datatype.h"

namespace zintrel {

// Indexing

void TIndexExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetExp);
  visitor(Datatype);
  visitor(Indices);
}

int TIndexExpression::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  TargetExp->CheckCorrectness(scope);
  for (size_t i = 0; i < Indices.size(); ++i) {
    if (Indices[i] == nullptr) continue;
    Indices[i]->CheckCorrectness(scope);
    TDatatype* type = Indices[i]->EvaluateDatatype();
    if (type == nullptr || !type->IsInteger()) Abort("Index expression must be an integer", Indices[i]);
  }
  TDatatype* type = TargetExp->EvaluateDatatype();
  if (type != nullptr && type->IsPointer()) {
    if (Indices.size() != 1) Abort("Invalid number of dimensions", this);
    Datatype = type->NestedType;
    if (Datatype == nullptr || Datatype->IsVoid())
      Abort("Dereferencing void pointers is not allowed", this);
  } else if (type != nullptr && type->IsArray()) {
    IsArray = 1;
    if (static_cast<int32_t>(Indices.size()) != type->Dimension)
      Abort("Invalid number of dimensions", this);
    Datatype = type->NestedType;
  } else {
    Abort("Expression is not indexable", TargetExp);
  }
  return 0;
}

int TIndexExpression::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  AddChildNodeArray(Indices);
  return 0;
}

int32_t TIndexExpression::Emit(int32_t target, int32_t indices) {
  TIndexExpression* node = ActiveTarget->CreateIndexExpression();
  node->TargetExp = NodeCast<TExpressionNode>(HandleToNode(target));
  node->Indices = NodesOfList<TExpressionNode>(TakeList(indices));
  node->SetupChildren();
  return node->TableID;
}

// Array literals

void TAutoArrayExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(Datatype);
  visitor(Values);
}

int TAutoArrayExpression::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  TDatatype* element = nullptr;
  for (size_t i = 0; i < Values.size(); ++i) {
    if (Values[i] == nullptr) continue;
    Values[i]->CheckCorrectness(scope);
    TDatatype* type = Values[i]->EvaluateDatatype();
    if (element == nullptr) {
      element = type;
    } else if (element->IsUnequal(type)) {
      // No conversion between element types: [1, 2.5] is rejected.
      Abort("Auto-array elements must have identical types", this);
    }
  }
  TNodeOrigin origin(this);
  if (element == nullptr) element = ActiveTarget->CreateDatatype()->Create(TYPE_ANY, nullptr, 0);
  Datatype = ActiveTarget->CreateDatatype()->Create(TYPE_ARRAY, element, 1);
  AddChildNode(Datatype);
  // The element type comes from an element that is checked above; checking it again here would
  // walk the whole nested type at every level of [[[...]]].
  Datatype->ResolveClass(scope);
  return 0;
}

int TAutoArrayExpression::SetupChildren() {
  AddChildNodeArray(Values);
  return 0;
}

int32_t TAutoArrayExpression::Emit(int32_t values) {
  TAutoArrayExpression* node = ActiveTarget->CreateAutoArrayExpression();
  node->Values = NodesOfList<TExpressionNode>(TakeList(values));
  node->SetupChildren();
  return node->TableID;
}

// New arrays

void TNewArrayExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(Datatype);
  visitor(Sizes);
}

int TNewArrayExpression::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  for (TExpressionNode* size : Sizes)
    if (size != nullptr) size->CheckCorrectness(scope);
  if (Datatype != nullptr) Datatype->CheckCorrectness(scope);
  return 0;
}

int TNewArrayExpression::SetupChildren() {
  AddChildNodeArray(Sizes);
  if (Datatype != nullptr) AddChildNode(Datatype);
  return 0;
}

int32_t TNewArrayExpression::Emit(int32_t elementType, int32_t sizes) {
  TNewArrayExpression* node = ActiveTarget->CreateNewArrayExpression();
  node->Sizes = NodesOfList<TExpressionNode>(TakeList(sizes));
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

int TAddressExpression::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  TargetExp->CheckCorrectness(scope);
  if (!TargetExp->IsLValue()) Abort("Expression is not addressable", TargetExp);
  TNodeOrigin origin(this);
  TDatatype* target = TargetExp->EvaluateDatatype();
  Datatype = ActiveTarget->CreateDatatype()->Create(
      TYPE_POINTER, target != nullptr ? target->Copy() : nullptr, 0);
  AddChildNode(Datatype);
  return 0;
}

int TAddressExpression::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

int32_t TAddressExpression::Emit(int32_t operand) {
  TAddressExpression* node = ActiveTarget->CreateAddressExpression();
  node->TargetExp = NodeCast<TExpressionNode>(HandleToNode(operand));
  node->SetupChildren();
  return node->TableID;
}

}  // namespace zintrel

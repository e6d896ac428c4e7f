#include "semantics/Expression.h"

#include "frontend/Bridge.h"
#include "frontend/Target.h"
#include "frontend/Tokens.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "model/VariableDeclNode.h"

namespace zintrel {

int TExpressionNode::SetIntResult(int64_t value) {
  GenericResult.Int = value;
  return 0;
}

int TExpressionNode::SetFloatResult(float value) {
  GenericResult.Float = value;
  return 0;
}

int TExpressionNode::SetDoubleResult(double value) {
  GenericResult.Double = value;
  return 0;
}

// Literals

namespace {

bool IsIntegerLiteralKind(int32_t kind) {
  return (kind >= tok::TOK_BYTE && kind <= tok::TOK_LONG) ||
         (kind >= tok::TOK_UBYTE && kind <= tok::TOK_ULONG);
}

}  // namespace

void TLiteralNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(Datatype);
}

bool TLiteralNode::IsSelf() const { return LiteralKind == tok::KEY_SELF; }

bool TLiteralNode::IsSuper() const { return LiteralKind == tok::KEY_SUPER; }

int TLiteralNode::IsConstant() { return LiteralKind == tok::TOK_STRING ? 0 : 1; }

int TLiteralNode::EvaluateResult() { return 0; }

int TLiteralNode::CheckCorrectness(TScope* scope) {
  SetCommonRoot(Root);
  if (!IsSelf() && !IsSuper() && Datatype == nullptr) {
    int32_t kind = 0;
    if (LiteralKind == tok::KEY_TRUE || LiteralKind == tok::KEY_FALSE) {
      kind = TYPE_BOOL;
    } else if (LiteralKind == tok::KEY_NULL) {
      kind = TYPE_ANY;
    } else if (LiteralKind >= tok::TOK_BYTE && LiteralKind <= tok::TOK_ULONG) {
      kind = LiteralKind + 512;
    }
    Datatype = ActiveTarget->CreateDatatype()->Create(kind, nullptr, 0);
  }
  Children.clear();
  if (Datatype != nullptr) {
    AddChildNode(Datatype);
    if (scope != nullptr) Datatype->CheckCorrectness(scope);
  }
  return 0;
}

int32_t TLiteralNode::Emit(int32_t kind, int64_t value) {
  TLiteralNode* literal = ActiveTarget->CreateLiteralNode();
  literal->LiteralKind = kind;
  if (IsIntegerLiteralKind(kind)) {
    literal->IntValue = value;
  } else if (kind == tok::TOK_FLOAT) {
    literal->FloatValue = FloatFromBits(static_cast<uint64_t>(value));
  } else if (kind == tok::TOK_DOUBLE) {
    literal->DoubleValue = DoubleFromBits(static_cast<uint64_t>(value));
  }
  if (!literal->IsSelf() && !literal->IsSuper()) literal->CheckCorrectness(nullptr);
  return literal->TableID;
}

int32_t TLiteralNode::Emit(int32_t kind, std::string* text) {
  TLiteralNode* literal = ActiveTarget->CreateLiteralNode();
  literal->LiteralKind = kind;
  literal->StringValue = TakeCString(text);
  literal->CheckCorrectness(nullptr);
  return literal->TableID;
}

// Variables

void TVariableNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(Datatype);
  visitor(Origin);
}

int TVariableNode::CheckCorrectness(TScope*) { return 0; }

int TVariableNode::EvaluateResult() { return 0; }

int TVariableNode::IsWritable() {
  return Origin != nullptr && Origin->DeclKind == DECL_CONST ? 0 : 1;
}

int TVariableNode::IsConstant() {
  return Origin != nullptr && Origin->DeclKind == DECL_CONST ? 1 : 0;
}

int TVariableNode::SetupChildren() {
  if (Datatype != nullptr) AddChildNode(Datatype);
  return 0;
}

TVariableNode* TVariableNode::Create(std::string identifier, TDatatype* datatype) {
  Identifier = std::move(identifier);
  Datatype = datatype;
  SetupChildren();
  return this;
}

int32_t TVariableNode::Emit(std::string* name, int32_t datatype) {
  TVariableNode* variable = ActiveTarget->CreateVariableNode();
  variable->Identifier = TakeCString(name);
  variable->Datatype = dynamic_cast<TDatatype*>(HandleToNode(datatype));
  variable->SetupChildren();
  return variable->TableID;
}

// Grouping

void TGroupingExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetExp);
  visitor(Datatype);
}

int TGroupingExpression::CheckCorrectness(TScope*) { return 0; }

int TGroupingExpression::EvaluateResult() { return 0; }

int TGroupingExpression::IsLValue() { return TargetExp != nullptr ? TargetExp->IsLValue() : 0; }

int TGroupingExpression::IsWritable() {
  return TargetExp != nullptr ? TargetExp->IsWritable() : 0;
}

int TGroupingExpression::IsConstant() {
  return TargetExp != nullptr ? TargetExp->IsConstant() : 0;
}

int TGroupingExpression::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

int32_t TGroupingExpression::Emit(int32_t expression) {
  TGroupingExpression* grouping = ActiveTarget->CreateGroupingExpression();
  grouping->TargetExp = dynamic_cast<TExpressionNode*>(HandleToNode(expression));
  grouping->SetupChildren();
  return grouping->TableID;
}

}  // namespace zintrel

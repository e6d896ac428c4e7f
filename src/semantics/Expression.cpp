#include "semantics/Expression.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "frontend/Tokens.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "model/Scope.h"
#include "model/VariableDeclNode.h"

namespace zintrel {

// Truncation toward zero; values outside the 64-bit range (and NaN) saturate instead of being
// undefined.
int64_t DoubleToInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9223372036854775807.0) return INT64_MAX;
  if (value <= -9223372036854775808.0) return INT64_MIN;
  return static_cast<int64_t>(value);
}

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

int64_t TExpressionNode::GetCastedIntResult() {
  TDatatype* type = EvaluateDatatype();
  if (type == nullptr) return 0;
  if (type->IsInteger()) return GetIntResult();
  if (type->TypeKind == TYPE_FLOAT) return DoubleToInt64(GetFloatResult());
  if (type->TypeKind == TYPE_DOUBLE) return DoubleToInt64(GetDoubleResult());
  return 0;
}

double TExpressionNode::GetCastedDoubleResult() {
  TDatatype* type = EvaluateDatatype();
  if (type == nullptr) return 0.0;
  if (type->IsInteger()) return static_cast<double>(GetIntResult());
  if (type->TypeKind == TYPE_FLOAT) return GetFloatResult();
  if (type->TypeKind == TYPE_DOUBLE) return GetDoubleResult();
  return 0.0;
}

std::string TExpressionNode::GetCastedStringResult() {
  TDatatype* type = EvaluateDatatype();
  if (type == nullptr) return std::string();
  char text[64];
  if (type->IsInteger()) return std::to_string(GetIntResult());
  if (type->TypeKind == TYPE_FLOAT) {
    std::snprintf(text, sizeof text, "%#.9g", static_cast<double>(GetFloatResult()));
    return text;
  }
  if (type->TypeKind == TYPE_DOUBLE) {
    std::snprintf(text, sizeof text, "%#.17lg", GetDoubleResult());
    return text;
  }
  return std::string();
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

int TLiteralNode::EvaluateResult() {
  if (LiteralKind == tok::KEY_TRUE) {
    SetIntResult(1);
  } else if (LiteralKind == tok::KEY_FALSE) {
    SetIntResult(0);
  } else if (LiteralKind == tok::KEY_NULL) {
    GenericResult.Int = 0;
  } else if (IsIntegerLiteralKind(LiteralKind) ||
             (LiteralKind >= TYPE_BYTE && LiteralKind <= TYPE_LONG)) {
    SetIntResult(IntValue);
  } else if (LiteralKind == tok::TOK_FLOAT || LiteralKind == TYPE_FLOAT) {
    SetFloatResult(FloatValue);
  } else if (LiteralKind == tok::TOK_DOUBLE || LiteralKind == TYPE_DOUBLE) {
    SetDoubleResult(DoubleValue);
  }
  return 0;
}

TLiteralNode* TLiteralNode::Create(TDatatype* datatype, std::string_view text) {
  Datatype = datatype;
  LiteralKind = datatype != nullptr ? datatype->TypeKind : 0;
  std::string value(text);
  if ((LiteralKind >= TYPE_BYTE && LiteralKind <= TYPE_LONG) ||
      (LiteralKind >= tok::TOK_UBYTE && LiteralKind <= tok::TOK_ULONG)) {
    IntValue = static_cast<int64_t>(std::strtoll(value.c_str(), nullptr, 10));
  } else if (LiteralKind == TYPE_FLOAT) {
    FloatValue = std::strtof(value.c_str(), nullptr);
  } else if (LiteralKind == TYPE_DOUBLE) {
    DoubleValue = std::strtod(value.c_str(), nullptr);
  }
  return this;
}

int TLiteralNode::CheckCorrectness(TScope* scope) {
  // A literal of a built-in kind takes its shared datatype and makes no node: only the others
  // need to name themselves as the origin of what is made while they are checked.
  if (!IsSelf() && !IsSuper() && (Datatype == nullptr || Datatype->IsShared())) return Check(scope);
  TNodeOrigin origin(this);
  return Check(scope);
}

int TLiteralNode::Check(TScope* scope) {
  if (IsSelf() || IsSuper()) {
    const char* name = IsSelf() ? "Self" : "Super";
    // Classes are never nested in functions, so the function found is inside the class.
    TClassNode* owner = EnclosingNode<TClassNode>(this);
    TFunctionNode* function = EnclosingNode<TFunctionNode>(this);
    if (owner == nullptr) Abort(std::string("Use of ") + name + " is only allowed within classes", this);
    if (function == nullptr)
      Abort(std::string("Use of ") + name + " is only allowed within functions", this);
    if (IsSelf() && !function->IsMethod) Abort("Use of Self is only allowed within methods", this);
    TClassNode* typeClass = owner;
    if (IsSuper()) typeClass = owner->ClassParents.empty() ? nullptr : owner->ClassParents[0].Class;
    Datatype = ActiveTarget->CreateDatatype()->Create(TYPE_COMPOUND, typeClass, 0);
    if (typeClass == nullptr && IsSuper() && !owner->ClassParents.empty())
      Datatype->Identifier = owner->ClassParents[0].Name;
  } else if (Datatype == nullptr) {
    int32_t kind = 0;
    if (LiteralKind == tok::KEY_TRUE || LiteralKind == tok::KEY_FALSE) {
      kind = TYPE_BOOL;
    } else if (LiteralKind == tok::KEY_NULL) {
      kind = TYPE_ANY;
    } else if (LiteralKind >= tok::TOK_BYTE && LiteralKind <= tok::TOK_ULONG) {
      kind = LiteralKind + tok::LITERAL_TYPE_OFFSET;
    }
    Datatype = LiteralKind == tok::TOK_STRING ? TDatatype::SharedString(nullptr)
                                              : TDatatype::Shared(kind);
  }
  if (scope != nullptr && Datatype != nullptr && Datatype->IsShared() && Datatype->IsString()) {
    // String literals share the type of the String class the scope finds, and record that use
    // themselves; when it finds none, the literal gets a type of its own, which reports it.
    // (Checking the shared type below does nothing.)
    if (auto* stringClass = NodeCast<TClassNode>(scope->Find(Datatype->Identifier))) {
      Datatype = TDatatype::SharedString(stringClass);
      AddDependency(stringClass, this);
    } else {
      TNodeOrigin origin(this);
      Datatype = ActiveTarget->CreateDatatype()->Create(TYPE_STRING, nullptr, 0);
    }
  }
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

int32_t TLiteralNode::Emit(int32_t kind, TName text) {
  TLiteralNode* literal = ActiveTarget->CreateLiteralNode();
  literal->LiteralKind = kind;
  literal->StringValue = text;
  literal->CheckCorrectness(nullptr);
  return literal->TableID;
}

// Variables

void TVariableNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(Datatype);
  visitor(Origin);
}

int TVariableNode::CheckCorrectness(TScope* scope) {
  if (Datatype != nullptr) Datatype->CheckCorrectness(scope);
  Origin = NodeCast<TVariableDeclNode>(scope->Find(Identifier));
  if (Origin == nullptr) Abort("'" + Identifier + "' is undeclared", this);
  if (Datatype != nullptr && Datatype->IsUnequal(Origin->Datatype))
    Abort("Variable datatype does not match declared datatype", this);
  AddDependency(Origin, this);
  // From here the node shows its declaration's type; the written one is no child any more.
  Datatype = Origin->Datatype;
  return 0;
}

int TExpressionNode::EvaluateConstantOf(TVariableDeclNode* origin) {
  GuardStack(this);
  if (origin == nullptr) return 0;
  if (origin->Value == nullptr)
    Abort("Extern constants are not allowed in constant expressions", this);
  if (!origin->ValueFolded) {
    origin->Value->EvaluateResult();
    origin->ValueFolded = 1;
  }
  GenericResult = origin->Value->GenericResult;
  return 0;
}

int TVariableNode::EvaluateResult() { return EvaluateConstantOf(Origin); }

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

int32_t TVariableNode::Emit(TName name, int32_t datatype) {
  TVariableNode* variable = ActiveTarget->CreateVariableNode();
  variable->Identifier = name;
  variable->Datatype = NodeCast<TDatatype>(HandleToNode(datatype));
  variable->SetupChildren();
  return variable->TableID;
}

// Grouping

void TGroupingExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(TargetExp);
  visitor(Datatype);
}

int TGroupingExpression::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  if (TargetExp == nullptr) return 0;
  TargetExp->CheckCorrectness(scope);
  Datatype = TargetExp->EvaluateDatatype();
  return 0;
}

int TGroupingExpression::EvaluateResult() {
  GuardStack(this);
  if (TargetExp == nullptr) return 0;
  TargetExp->EvaluateResult();
  GenericResult = TargetExp->GenericResult;
  return 0;
}

int TGroupingExpression::IsLValue() {
  GuardStack(this); return TargetExp != nullptr ? TargetExp->IsLValue() : 0; }

int TGroupingExpression::IsWritable() {
  GuardStack(this);
  return TargetExp != nullptr ? TargetExp->IsWritable() : 0;
}

int TGroupingExpression::IsConstant() {
  GuardStack(this);
  return TargetExp != nullptr ? TargetExp->IsConstant() : 0;
}

int TGroupingExpression::SetupChildren() {
  if (TargetExp != nullptr) AddChildNode(TargetExp);
  return 0;
}

int32_t TGroupingExpression::Emit(int32_t expression) {
  TGroupingExpression* grouping = ActiveTarget->CreateGroupingExpression();
  grouping->TargetExp = NodeCast<TExpressionNode>(HandleToNode(expression));
  grouping->SetupChildren();
  return grouping->TableID;
}

}  // namespace zintrel

#include "semantics/Operators.h"

#include <cmath>

#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "frontend/Lexer.h"
#include "frontend/Tokens.h"
#include "model/ClassNode.h"
#include "model/Datatype.h"

namespace zintrel {

namespace {

TExpressionNode* ExpressionOf(int32_t handle) {
  return NodeCast<TExpressionNode>(HandleToNode(handle));
}

}  // namespace

// Binary operators

void TBinaryOpExpression::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TExpressionNode::VisitNodeFields(visitor);
  visitor(LeftExp);
  visitor(RightExp);
  visitor(Datatype);
}

namespace {

bool IsComparison(int32_t op) {
  return op == '=' || op == tok::TOK_NE || op == '<' || op == '>' || op == tok::TOK_LE ||
         op == tok::TOK_GE;
}

bool IsLogical(int32_t op) { return op == tok::KEY_AND || op == tok::KEY_OR; }

bool IsBitwise(int32_t op) {
  return op == '&' || op == '|' || op == '~' || op == tok::KEY_SHL || op == tok::KEY_SHR ||
         op == tok::KEY_SAR;
}

bool IsIntegerOrPointer(const TDatatype* t) { return t->IsInteger() || t->IsPointer(); }

TDatatype* NewType(int32_t kind) { return TDatatype::Shared(kind); }


// Keeps an integer result in the range of its type: Bool is 0 or 1, Byte and Short keep their
// low bits; Int and Long keep all 64 bits.
int64_t NormaliseInteger(uint64_t value, const TDatatype* type) {
  if (type->TypeKind == TYPE_BOOL) return value != 0 ? 1 : 0;
  if (type->TypeKind == TYPE_BYTE) return static_cast<int64_t>(value & 0xFF);
  if (type->TypeKind == TYPE_SHORT) return static_cast<int64_t>(value & 0xFFFF);
  return static_cast<int64_t>(value);
}

// Stores a real result by the expression's type: integer types truncate toward zero.
void StoreReal(TExpressionNode* node, double value, const TDatatype* type) {
  if (type->IsInteger()) {
    node->SetIntResult(NormaliseInteger(static_cast<uint64_t>(DoubleToInt64(value)), type));
  } else if (type->TypeKind == TYPE_FLOAT) {
    node->SetFloatResult(static_cast<float>(value));
  } else if (type->TypeKind == TYPE_DOUBLE) {
    node->SetDoubleResult(value);
  }
}

}  // namespace

int TBinaryOpExpression::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  LeftExp->CheckCorrectness(scope);
  RightExp->CheckCorrectness(scope);
  TNodeOrigin origin(this);
  TDatatype* l = LeftExp->EvaluateDatatype();
  TDatatype* r = RightExp->EvaluateDatatype();
  // The operator's text, in quotes, is wanted only for a message.
  auto op = [this] {
    std::string text(1, '\'');
    text += TLexer::TokenToString(Operator);
    text += '\'';
    return text;
  };
  TDatatype* result = nullptr;
  if (l == nullptr || r == nullptr) {
    Abort(op() + " is not applicable to expressions of type '" + TypeText(l) + "' and '" +
              TypeText(r) + "'",
          this);
  } else if (IsIntegerOrPointer(l) && IsIntegerOrPointer(r)) {
    if (IsComparison(Operator) || IsLogical(Operator)) {
      result = NewType(TYPE_BOOL);
    } else if (Operator == '^') {
      if (l->IsPointer() || r->IsPointer()) Abort("Operator ^ not applicable to pointers", this);
      result = NewType(TYPE_FLOAT);
    } else {
      if (l->IsPointer() && r->IsPointer() && l->IsUnequal(r))
        Abort("Pointer arithmetic on pointers of different types is not allowed", this);
      result = TDatatype::Promote(l, r);
    }
  } else if ((l->IsReal() || r->IsReal()) && (l->IsPointer() || r->IsPointer())) {
    Abort("Pointer arithmetic on floating point types is not allowed", this);
  } else if ((l->IsReal() || r->IsReal()) && l->IsNumeric() && r->IsNumeric()) {
    // Reals go with numbers only; a real with a string is a string operation, with anything
    // else no operation at all.
    if (IsBitwise(Operator)) Abort(op() + " only applicable to integers", this);
    result = IsComparison(Operator) || IsLogical(Operator) ? NewType(TYPE_BOOL)
                                                           : TDatatype::Promote(l, r);
  } else if (l->IsString() || r->IsString()) {
    if (Operator != '+') Abort(op() + " is not applicable to strings", this);
    // The result shares the String type of the operand that is one, once that names its class.
    const TDatatype* text = l->IsString() ? l : r;
    result = text->Compound != nullptr ? TDatatype::SharedString(text->Compound)
                                       : NewType(TYPE_STRING);
  } else if ((l->IsCompound() || l->IsAny()) && (r->IsCompound() || r->IsAny())) {
    if (Operator != '=' && Operator != tok::TOK_NE)
      Abort(op() + " is not applicable to classes", this);
    result = NewType(TYPE_BOOL);
  } else {
    Abort(op() + " is not applicable to expressions of type '" + l->ToString() + "' and '" +
              r->ToString() + "'",
          this);
  }
  // A second check (a Select's case value is checked again in its comparison) replaces the
  // first result.
  if (Datatype != nullptr) {
    ReplaceChildNode(Datatype, result);
  } else {
    Datatype = result;
    AddChildNode(Datatype);
  }
  return 0;
}

int TBinaryOpExpression::EvaluateResult() {
  GuardStack(this);
  LeftExp->EvaluateResult();
  RightExp->EvaluateResult();
  TDatatype* l = LeftExp->EvaluateDatatype();
  TDatatype* r = RightExp->EvaluateDatatype();
  if (l == nullptr || r == nullptr || Datatype == nullptr) return 0;
  if (l->IsPointer() || r->IsPointer()) Abort("Not yet implemented", this);
  if (l->IsInteger() && r->IsInteger()) {
    // Two's complement arithmetic on 64 bits, wrapping.
    const int64_t a = LeftExp->GetIntResult();
    const int64_t b = RightExp->GetIntResult();
    const uint64_t ua = static_cast<uint64_t>(a);
    const uint64_t ub = static_cast<uint64_t>(b);
    uint64_t value = 0;
    switch (Operator) {
      case '+': value = ua + ub; break;
      case '-': value = ua - ub; break;
      case '*': value = ua * ub; break;
      case '/':
      case tok::KEY_MOD:
        if (b == 0) Abort("Division by zero in constant expression", this);
        if (b == -1) {
          value = Operator == '/' ? 0 - ua : 0;  // INT64_MIN / -1 wraps
        } else {
          value = static_cast<uint64_t>(Operator == '/' ? a / b : a % b);
        }
        break;
      case '&': value = ua & ub; break;
      case '|': value = ua | ub; break;
      case '~': value = ua ^ ub; break;
      case tok::KEY_SHL: value = ua << (ub & 63); break;
      case tok::KEY_SHR: value = ua >> (ub & 63); break;
      case tok::KEY_SAR:
        value = static_cast<uint64_t>(a < 0 ? ~(~a >> (ub & 63)) : a >> (ub & 63));
        break;
      case '<': value = a < b; break;
      case '>': value = a > b; break;
      case tok::TOK_LE: value = a <= b; break;
      case tok::TOK_GE: value = a >= b; break;
      case '=': value = a == b; break;
      case tok::TOK_NE: value = a != b; break;
      case tok::KEY_AND: value = a != 0 && b != 0; break;
      case tok::KEY_OR: value = a != 0 || b != 0; break;
      case '^':
        StoreReal(this, std::pow(static_cast<double>(a), static_cast<double>(b)), Datatype);
        return 0;
      default: return 0;
    }
    SetIntResult(NormaliseInteger(value, Datatype));
    return 0;
  }
  if (l->IsNumeric() && r->IsNumeric()) {
    const double a = LeftExp->GetCastedDoubleResult();
    const double b = RightExp->GetCastedDoubleResult();
    double value = 0;
    switch (Operator) {
      case '+': value = a + b; break;
      case '-': value = a - b; break;
      case '*': value = a * b; break;
      case '/': value = a / b; break;
      case tok::KEY_MOD: value = std::fmod(a, b); break;
      case '^': value = std::pow(a, b); break;
      case '<': value = a < b; break;
      case '>': value = a > b; break;
      case tok::TOK_LE: value = a <= b; break;
      case tok::TOK_GE: value = a >= b; break;
      case '=': value = a == b; break;
      case tok::TOK_NE: value = a != b; break;
      case tok::KEY_AND: value = a != 0 && b != 0; break;
      case tok::KEY_OR: value = a != 0 || b != 0; break;
      default: return 0;
    }
    StoreReal(this, value, Datatype);
  }
  return 0;
}

int TBinaryOpExpression::IsConstant() {
  GuardStack(this);
  return LeftExp != nullptr && RightExp != nullptr && LeftExp->IsConstant() &&
                 RightExp->IsConstant() && (Datatype == nullptr || !Datatype->IsString())
             ? 1
             : 0;
}

int TBinaryOpExpression::SetupChildren() {
  // The result type joins the operands when the operator is checked.
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

int TUnaryOpExpression::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  TargetExp->CheckCorrectness(scope);
  Datatype = TargetExp->EvaluateDatatype();
  if (Operator == '-' && (Datatype == nullptr || !(Datatype->IsNumeric() || Datatype->IsPointer())))
    Abort("Negation is only applicable to numbers", this);
  if (Operator == '~' && (Datatype == nullptr || !IsIntegerOrPointer(Datatype)))
    Abort("Bitwise complement is only applicable to integers", this);
  return 0;
}

int TUnaryOpExpression::EvaluateResult() {
  GuardStack(this);
  TargetExp->EvaluateResult();
  TDatatype* type = TargetExp->EvaluateDatatype();
  if (type == nullptr) return 0;
  const uint64_t v = static_cast<uint64_t>(TargetExp->GetIntResult());
  const bool integer = IsIntegerOrPointer(type);
  if (Operator == '-') {
    if (integer) SetIntResult(static_cast<int64_t>(0 - v));
    else if (type->TypeKind == TYPE_FLOAT) SetFloatResult(-TargetExp->GetFloatResult());
    else if (type->TypeKind == TYPE_DOUBLE) SetDoubleResult(-TargetExp->GetDoubleResult());
  } else if (Operator == '~') {
    if (type->TypeKind == TYPE_BOOL) SetIntResult(v == 0 ? 1 : 0);
    else if (type->TypeKind == TYPE_BYTE) SetIntResult(static_cast<int64_t>(~v & 0xFF));
    else if (type->TypeKind == TYPE_SHORT) SetIntResult(static_cast<int64_t>(~v & 0xFFFF));
    else if (integer) SetIntResult(static_cast<int64_t>(~v));
  } else if (Operator == tok::KEY_NOT) {
    if (integer) SetIntResult(v == 0 ? 1 : 0);
    else if (type->TypeKind == TYPE_FLOAT) SetFloatResult(TargetExp->GetFloatResult() == 0.0f ? 1.0f : 0.0f);
    else if (type->TypeKind == TYPE_DOUBLE) SetDoubleResult(TargetExp->GetDoubleResult() == 0.0 ? 1.0 : 0.0);
  }
  return 0;
}

int TUnaryOpExpression::IsConstant() {
  GuardStack(this);
  return TargetExp != nullptr && TargetExp->IsConstant() ? 1 : 0;
}

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

int TTypeCastExpression::CheckCorrectness(TScope* scope) {
  GuardStack(this);
  TargetExp->CheckCorrectness(scope);
  // The target type is checked too, so that a class named in a written cast is resolved.
  if (Datatype != nullptr) Datatype->CheckCorrectness(scope);
  TDatatype* from = TargetExp->EvaluateDatatype();
  if (from == nullptr || Datatype == nullptr || !from->IsExplicitCastable(Datatype))
    Abort("Unable to cast from '" + TypeText(from) + "' to '" + TypeText(Datatype) + "'", this);
  UseSourceClass(from);
  return 0;
}

// C++ converts between classes only where it sees the whole class it converts from, so that
// class counts as used by the file even when the file never names it (an object that a
// function of another file returns, passed on as one of its parents).
void TTypeCastExpression::UseSourceClass(const TDatatype* from) {
  if (from != nullptr && from->IsCompound() && from->Compound != nullptr)
    AddDependency(from->Compound, this);
}

int TTypeCastExpression::EvaluateResult() {
  GuardStack(this);
  TargetExp->EvaluateResult();
  TDatatype* from = TargetExp->EvaluateDatatype();
  TDatatype* to = Datatype;
  if (from == nullptr || to == nullptr) return 0;
  if (from->IsInteger()) {
    const int64_t v = TargetExp->GetIntResult();
    const uint64_t u = static_cast<uint64_t>(v);
    switch (to->TypeKind) {
      case TYPE_BOOL: SetIntResult(v != 0 ? 1 : 0); break;
      case TYPE_BYTE: SetIntResult(static_cast<int64_t>(u & 0xFF)); break;
      case TYPE_SHORT: SetIntResult(static_cast<int64_t>(u & 0xFFFF)); break;
      case TYPE_INT: SetIntResult(static_cast<int32_t>(static_cast<uint32_t>(u))); break;
      case TYPE_LONG:
      case TYPE_POINTER: SetIntResult(v); break;
      case TYPE_FLOAT: SetFloatResult(static_cast<float>(static_cast<double>(v))); break;
      case TYPE_DOUBLE: SetDoubleResult(static_cast<double>(v)); break;
      default: break;
    }
  } else if (from->IsReal()) {
    const double d = TargetExp->GetCastedDoubleResult();
    const uint64_t truncated = static_cast<uint64_t>(DoubleToInt64(d));
    switch (to->TypeKind) {
      case TYPE_BOOL: SetIntResult(TargetExp->GenericResult.Int != 0 ? 1 : 0); break;
      case TYPE_BYTE: SetIntResult(static_cast<int64_t>(truncated & 0xFF)); break;
      case TYPE_SHORT: SetIntResult(static_cast<int64_t>(truncated & 0xFFFF)); break;
      case TYPE_INT: SetIntResult(static_cast<int32_t>(static_cast<uint32_t>(truncated))); break;
      case TYPE_LONG: SetIntResult(static_cast<int64_t>(truncated)); break;
      case TYPE_FLOAT: SetFloatResult(static_cast<float>(d)); break;
      case TYPE_DOUBLE: SetDoubleResult(d); break;
      default: break;
    }
  }
  return 0;
}

int TTypeCastExpression::IsConstant() {
  GuardStack(this);
  return TargetExp != nullptr && TargetExp->IsConstant() && Datatype != nullptr &&
                 Datatype->IsNumeric()
             ? 1
             : 0;
}

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

void TTypeCastExpression::Convert(TASTNode* parent, TExpressionNode* value,
                                  const TDatatype* given, TDatatype* target, TScope* scope) {
  if (given == nullptr || !given->IsUnequal(target)) return;
  TNodeOrigin origin(value);
  TTypeCastExpression* cast =
      ActiveTarget->CreateTypeCastExpression()->Create(value, target->Copy(), scope);
  parent->ReplaceChildNode(value, cast);
  cast->UseSourceClass(given);
}

int32_t TTypeCastExpression::Emit(int32_t datatype, int32_t operand) {
  TTypeCastExpression* node = ActiveTarget->CreateTypeCastExpression();
  node->Datatype = NodeCast<TDatatype>(HandleToNode(datatype));
  node->TargetExp = ExpressionOf(operand);
  node->SetupChildren();
  return node->TableID;
}

}  // namespace zintrel

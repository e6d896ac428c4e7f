// C++ text of binary and unary operators and of type casts.
//
// The checker gives every operation a type; C++ gives it one by its own promotion rules, which
// differ for small and unsigned integers. Where they differ, the text converts explicitly, so
// that the program computes values of the types the checker gave them.
#include "cpp/CPPNodes.h"
#include "cpp/Text.h"
#include "frontend/Lexer.h"
#include "frontend/Tokens.h"

namespace zintrel {

namespace {

// An integer type as C++ sees it: its width and signedness.
struct TIntShape {
  int Bits;
  bool Unsigned;
  bool operator==(const TIntShape&) const = default;
};

// The type of an integer operand after C++'s integral promotion: everything narrower than
// int (Bool, Byte, Short, signed or not) becomes int.
TIntShape Promoted(const TDatatype* type) {
  if (type->TypeKind == TYPE_LONG) return {64, type->IsUnsigned != 0};
  if (type->TypeKind == TYPE_INT) return {32, type->IsUnsigned != 0};
  return {32, false};
}

// The common type of C++'s usual arithmetic conversions of two promoted integer types.
TIntShape Common(TIntShape a, TIntShape b) {
  if (a.Bits != b.Bits) return a.Bits > b.Bits ? a : b;
  return {a.Bits, a.Unsigned || b.Unsigned};
}

const char* IntTypeText(TIntShape shape) {
  if (shape.Bits == 64) return shape.Unsigned ? "uint64_t" : "int64_t";
  return shape.Unsigned ? "uint32_t" : "int32_t";
}

bool IsInteger(const TDatatype* type) { return type != nullptr && type->IsInteger(); }

bool IsNonNegativeLiteral(TExpressionNode* node) {
  auto* literal = NodeCast<TLiteralNode>(node);
  return literal != nullptr && IsInteger(literal->EvaluateDatatype()) && literal->IntValue >= 0;
}

bool IsComparison(int32_t op) {
  return op == '=' || op == tok::TOK_NE || op == '<' || op == '>' || op == tok::TOK_LE ||
         op == tok::TOK_GE;
}

bool IsLogical(int32_t op) { return op == tok::KEY_AND || op == tok::KEY_OR; }

// A conversion around text appended next: "((type)(" before it and "))" after it. Decided
// before the text is written, so that nothing is ever inserted into text already written.
void OpenConversion(std::string& out, bool convert, std::string_view type) {
  if (!convert) return;
  out += "((";
  out += type;
  out += ")(";
}

void CloseConversion(std::string& out, bool convert) {
  if (convert) out += "))";
}

}  // namespace

void AppendConverted(std::string& out, std::string_view type, TExpressionNode* operand,
                     const std::string& indent) {
  out += "((";
  out += type;
  out += ")(";
  AppendNodeCode(out, operand, indent);
  out += "))";
}

const char* WideComparisonType(TExpressionNode* left, TExpressionNode* right) {
  if (left == nullptr || right == nullptr) return nullptr;
  TDatatype* l = left->EvaluateDatatype();
  TDatatype* r = right->EvaluateDatatype();
  if (!IsInteger(l) || !IsInteger(r)) return nullptr;
  const TIntShape a = Promoted(l);
  const TIntShape b = Promoted(r);
  if (a.Unsigned == b.Unsigned) return nullptr;
  // A constant that is not negative compares the same either way.
  if (IsNonNegativeLiteral(a.Unsigned ? right : left)) return nullptr;
  // int64_t holds every value but those of a ULong past its signed range.
  const TIntShape unsignedSide = a.Unsigned ? a : b;
  return unsignedSide.Bits == 64 ? "__int128" : "int64_t";
}

std::string TCPPBinaryOpExpression::OperatorToCode() {
  switch (Operator) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '&':
    case '|':
    case '<':
    case '>':
    case tok::TOK_LE:
    case tok::TOK_GE: return TLexer::TokenToString(Operator);
    case tok::KEY_MOD: return "%";
    case tok::KEY_AND: return "&&";
    case tok::KEY_OR: return "||";
    case '~': return "^";
    case tok::KEY_SHL: return "<<";
    case tok::KEY_SHR: return ">>";
    case '=': return "==";
    case tok::TOK_NE: return "!=";
    case tok::KEY_SAR: Abort("Not yet implemented", this);
    default: return std::string();
  }
}

std::string TCPPBinaryOpExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPBinaryOpExpression::AppendCode(std::string& out, const std::string& indent) {
  TDatatype* l = LeftExp->EvaluateDatatype();
  TDatatype* r = RightExp->EvaluateDatatype();
  const bool numeric = l != nullptr && r != nullptr && l->IsNumeric() && r->IsNumeric();
  auto plain = [&](std::string_view op) {
    out += '(';
    AppendNodeCode(out, LeftExp, indent);
    out += ' ';
    out += op;
    out += ' ';
    AppendNodeCode(out, RightExp, indent);
    out += ')';
  };
  auto call = [&](const char* function) {
    out += function;
    out += " (";
    AppendNodeCode(out, LeftExp, indent);
    out += ", ";
    AppendNodeCode(out, RightExp, indent);
    out += ')';
  };
  if (numeric) {
    const bool doubleResult = Datatype != nullptr && Datatype->TypeKind == TYPE_DOUBLE;
    if (Operator == '^') return call(doubleResult ? "pow" : "powf");
    if (Operator == tok::KEY_MOD && (l->IsReal() || r->IsReal()))
      return call(doubleResult ? "fmod" : "fmodf");
    const std::string op = OperatorToCode();
    if (!l->IsInteger() || !r->IsInteger() || IsLogical(Operator)) return plain(op);
    AppendIntegerCode(out, indent, op);
    return;
  }
  // String concatenation: "(s)->Append(x)", or "(s)->Prepend(x)" when the string is on the right.
  auto concatenate = [&](TExpressionNode* text, const char* method, TExpressionNode* value) {
    out += '(';
    AppendNodeCode(out, text, indent);
    out += ")->";
    out += method;
    out += '(';
    AppendNodeCode(out, value, indent);
    out += ')';
  };
  if (l != nullptr && l->IsString()) return concatenate(LeftExp, "Append", RightExp);
  if (r != nullptr && r->IsString()) return concatenate(RightExp, "Prepend", LeftExp);
  const std::string op = OperatorToCode();
  if (l != nullptr && r != nullptr && (l->IsPointer() || r->IsPointer()) &&
      (l->IsPointer() || l->IsInteger()) && (r->IsPointer() || r->IsInteger())) {
    AppendPointerCode(out, indent, op);
    return;
  }
  if (l != nullptr && r != nullptr && l->IsCompound() && r->IsCompound() && l->Compound != nullptr &&
      r->Compound != nullptr && !l->Compound->HasParent(r->Compound) &&
      !r->Compound->HasParent(l->Compound)) {
    // Objects of unrelated classes are compared as objects.
    out += '(';
    AppendConverted(out, "Object*", LeftExp, indent);
    out += ' ';
    out += op;
    out += ' ';
    AppendConverted(out, "Object*", RightExp, indent);
    out += ')';
    return;
  }
  plain(op);
}

void TCPPBinaryOpExpression::AppendIntegerCode(std::string& out, const std::string& indent,
                                              const std::string& op) {
  TDatatype* l = LeftExp->EvaluateDatatype();
  TDatatype* r = RightExp->EvaluateDatatype();
  auto operand = [&](TExpressionNode* node, const char* convertTo) {
    if (convertTo != nullptr) {
      AppendConverted(out, convertTo, node, indent);
    } else {
      AppendNodeCode(out, node, indent);
    }
  };
  auto binary = [&](const char* leftTo, const char* rightTo) {
    out += '(';
    operand(LeftExp, leftTo);
    out += ' ';
    out += op;
    out += ' ';
    operand(RightExp, rightTo);
    out += ')';
  };
  const char* wide = WideComparisonType(LeftExp, RightExp);
  if (IsComparison(Operator)) {
    // Compared by value, as constants are folded, never as C++ compares mixed signedness.
    if (wide != nullptr) return binary(wide, wide);
    return binary(nullptr, nullptr);
  }
  if (Datatype == nullptr || !Datatype->IsInteger()) return binary(nullptr, nullptr);
  const TIntShape result = Promoted(Datatype);
  TIntShape computed = Common(Promoted(l), Promoted(r));
  const char* leftTo = nullptr;
  const char* rightTo = nullptr;
  if (Operator == tok::KEY_SHR) {
    // A logical shift: on the unsigned type of the result's width.
    computed = {result.Bits, true};
    if (!(Promoted(l) == computed)) leftTo = IntTypeText(computed);
  } else if (Operator == tok::KEY_SHL) {
    // C++ shifts in the left operand's type; the result's may be wider.
    computed = result;
    if (!(Promoted(l) == result)) leftTo = IntTypeText(result);
  } else if (wide != nullptr && (Operator == '/' || Operator == tok::KEY_MOD)) {
    // Division depends on the signedness of its operands: divide their values.
    computed = {128, false};
    leftTo = rightTo = wide;
  }
  const bool convert = !(computed == result);
  OpenConversion(out, convert, IntTypeText(result));
  binary(leftTo, rightTo);
  CloseConversion(out, convert);
}

void TCPPBinaryOpExpression::AppendPointerCode(std::string& out, const std::string& indent,
                                              const std::string& op) {
  TDatatype* l = LeftExp->EvaluateDatatype();
  TDatatype* r = RightExp->EvaluateDatatype();
  const bool bothPointers = l->IsPointer() && r->IsPointer();
  const bool offset = (Operator == '+' && !bothPointers) || (Operator == '-' && !r->IsPointer());
  const bool comparison = IsComparison(Operator);
  auto plain = [&] {
    out += '(';
    AppendNodeCode(out, LeftExp, indent);
    out += ' ';
    out += op;
    out += ' ';
    AppendNodeCode(out, RightExp, indent);
    out += ')';
  };
  // Offsets, comparisons of two pointers or with 0, and logical operators are C++'s own.
  if (offset || IsLogical(Operator) ||
      (comparison && (bothPointers || IsNonNegativeLiteral(l->IsPointer() ? RightExp : LeftExp)))) {
    plain();
    return;
  }
  const bool convert = !comparison && Datatype != nullptr;
  OpenConversion(out, convert, convert ? CPPTypeText(Datatype) : std::string());
  if (bothPointers && Operator == '-') {
    plain();
  } else {
    // Everything else computes on the addresses as numbers.
    out += '(';
    AppendConverted(out, "uintptr_t", LeftExp, indent);
    out += ' ';
    out += op;
    out += ' ';
    AppendConverted(out, "uintptr_t", RightExp, indent);
    out += ')';
  }
  CloseConversion(out, convert);
}

std::string TCPPUnaryOpExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

namespace {

// An expression whose parent takes it as a truth value: a condition, an operand of And, Or or
// Not, or the operand of a cast to Bool.
bool UsedAsCondition(TASTNode* parent) {
  if (auto* binary = NodeCast<TBinaryOpExpression>(parent)) return IsLogical(binary->Operator);
  if (auto* unary = NodeCast<TUnaryOpExpression>(parent)) return unary->Operator == tok::KEY_NOT;
  if (auto* cast = NodeCast<TTypeCastExpression>(parent))
    return cast->Datatype != nullptr && cast->Datatype->IsBoolean();
  return NodeCast<TIfNode>(parent) != nullptr || NodeCast<TElseIfNode>(parent) != nullptr ||
         NodeCast<TWhileNode>(parent) != nullptr ||
         NodeCast<TRepeatNode>(parent) != nullptr ||
         NodeCast<TForWhileNode>(parent) != nullptr;
}

}  // namespace

void TCPPUnaryOpExpression::AppendCode(std::string& out, const std::string& indent) {
  // The negation of the most negative Int or Long literal wraps around to itself; written as
  // a negation, C++ would report the overflow of a constant.
  if (auto* literal = NodeCast<TLiteralNode>(TargetExp); literal != nullptr && Operator == '-' &&
      ((literal->LiteralKind == tok::TOK_INT && literal->IntValue == INT32_MIN) ||
       (literal->LiteralKind == tok::TOK_LONG && literal->IntValue == INT64_MIN))) {
    AppendNodeCode(out, TargetExp, indent);
    return;
  }
  if (Operator == '+') {
    AppendNodeCode(out, TargetExp, indent);
    return;
  }
  TDatatype* type = Datatype;
  const bool isBool = type != nullptr && type->TypeKind == TYPE_BOOL;
  // Bool, Byte and Short are promoted to int by C++: the result is converted back.
  const bool narrow = type != nullptr && type->IsInteger() && type->TypeKind != TYPE_INT &&
                      type->TypeKind != TYPE_LONG;
  const bool pointer = type != nullptr && type->IsPointer();
  // The complement of a Bool is its negation; Not of a number is 1 or 0 of its type.
  const bool negation = Operator == tok::KEY_NOT || (Operator == '~' && isBool);
  const bool convert =
      negation ? type != nullptr && type->IsNumeric() && !isBool : narrow || pointer;
  // Not of a string, object, array, pointer or function value is 1 or 0 of that type too, where
  // the value is used as one.
  const bool reference = negation && type != nullptr && !type->IsNumeric() && !isBool &&
                         !UsedAsCondition(Parent);
  OpenConversion(out, convert, convert ? CPPTypeText(type) : std::string());
  if (reference) {
    out += "((";
    out += CPPTypeText(type);
    out += ")(uintptr_t)";
  }
  if (negation) {
    out += "!(";
    AppendNodeCode(out, TargetExp, indent);
  } else {
    out += Operator == '-' ? "-(" : "~(";
    if (pointer) {
      AppendConverted(out, Operator == '-' ? "intptr_t" : "uintptr_t", TargetExp, indent);
    } else {
      AppendNodeCode(out, TargetExp, indent);
    }
  }
  out += ')';
  if (reference) out += ')';
  CloseConversion(out, convert);
}

std::string TCPPTypeCastExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

namespace {

// A cast to Bool is written as its operand where C++ converts the value to bool anyway (a Bool
// variable's value, an argument, a condition, an operand of Not, And, Or); anywhere else (in
// arithmetic, a comparison, a conversion to text, a loop bound) its value must be 1 or 0.
bool ConvertsToBool(TASTNode* parent) {
  if (auto* binary = NodeCast<TBinaryOpExpression>(parent)) return IsLogical(binary->Operator);
  if (auto* unary = NodeCast<TUnaryOpExpression>(parent)) return unary->Operator == tok::KEY_NOT;
  return NodeCast<TVariableDeclNode>(parent) != nullptr ||
         NodeCast<TAssignmentNode>(parent) != nullptr ||
         NodeCast<TFunctionCall>(parent) != nullptr ||
         NodeCast<TReturnNode>(parent) != nullptr ||
         NodeCast<TAutoArrayExpression>(parent) != nullptr ||
         NodeCast<TIfNode>(parent) != nullptr || NodeCast<TElseIfNode>(parent) != nullptr ||
         NodeCast<TWhileNode>(parent) != nullptr ||
         NodeCast<TRepeatNode>(parent) != nullptr ||
         NodeCast<TForWhileNode>(parent) != nullptr;
}

// The runtime's parse of a string for each number type.
const char* ParseOf(const TDatatype* type) {
  if (type->IsReal()) return "ToDouble";
  if (type->TypeKind == TYPE_LONG || (type->TypeKind == TYPE_INT && type->IsUnsigned)) return "ToLong";
  return "ToInt";
}

}  // namespace

void TCPPTypeCastExpression::AppendCode(std::string& out, const std::string& indent) {
  TDatatype* from = TargetExp->EvaluateDatatype();
  TDatatype* to = Datatype;
  auto wrapped = [&](const char* before, const char* after) {
    out += before;
    AppendNodeCode(out, TargetExp, indent);
    out += after;
  };
  if (from == nullptr || to == nullptr || from->IsUnequal(to) == 0) return wrapped("(", ")");
  if (to->IsBoolean()) {
    if (from->IsCompound()) return wrapped("((", ") != NULL)");
    const bool convert = !ConvertsToBool(Parent);
    OpenConversion(out, convert, "bool");
    // A Null string or array is false, not a crash.
    if (from->IsString() || from->IsArray()) {
      wrapped("__zn::HasLength(", ")");
    } else {
      wrapped("(", ")");
    }
    CloseConversion(out, convert);
    return;
  }
  if (to->IsString()) return wrapped("((new String(\"\"))->Append(", "))");
  if (to->IsCompound() || (to->IsArray() && (from->IsCompound() || from->IsString()))) {
    if (to->IsCompound() && from->IsCompound() && from->Compound != nullptr &&
        to->Compound != nullptr && from->Compound->HasParent(to->Compound))
      return wrapped("(", ")");
    // Down-casts are checked at run time (the runtime's DownCast: dynamic_cast, with a
    // shortcut for an object of exactly the class asked for).
    out += "(__zn::DownCast<";
    out += CPPTypeText(to);
    out += ">(";
    AppendNodeCode(out, TargetExp, indent);
    out += "))";
    return;
  }
  if (to->IsPointer() && from->IsString() && to->NestedType != nullptr &&
      to->NestedType->TypeKind == TYPE_BYTE) {
    // A string's characters are a char*; as UByte Ptr they are converted explicitly.
    if (to->NestedType->IsUnsigned) return wrapped("((uint8_t*)((", ")->Data))");
    return wrapped("((", ")->Data)");
  }
  const std::string type = CPPTypeText(to);
  out += "((";
  out += type;
  out += ")(";
  if (from->IsString() && to->IsNumeric()) {
    // Text is converted by the runtime's parse, then to the number type.
    wrapped("(", ")->");
    out += ParseOf(to);
    out += "()";
  } else if ((from->IsPointer() && to->IsInteger()) || (from->IsInteger() && to->IsPointer())) {
    // Through the integer of a pointer's width, so no width is lost or made up silently.
    AppendConverted(out, "intptr_t", TargetExp, indent);
  } else {
    AppendNodeCode(out, TargetExp, indent);
  }
  out += "))";
}

}  // namespace zintrel

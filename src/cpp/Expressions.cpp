// C++ text of literals, variables and parenthesised expressions.
#include "cpp/CPPNodes.h"
#include "cpp/Text.h"
#include "frontend/Tokens.h"

namespace zintrel {

std::string CPPTypeText(TDatatype* type) {
  if (type == nullptr) return std::string();
  return type->GenerateCode(std::string());
}

std::string TCPPLiteralNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPLiteralNode::AppendCode(std::string& out, const std::string&) {
  switch (LiteralKind) {
    case tok::KEY_TRUE: out += '1'; return;
    case tok::KEY_FALSE:
    case tok::KEY_NULL: out += '0'; return;
    // Super as a value is the object itself, seen as its first parent (C++ converts this up).
    case tok::KEY_SELF:
    case tok::KEY_SUPER: out += "this"; return;
    case tok::TOK_BYTE:
    case tok::TOK_SHORT:
      // A value past the signed type's range (200 as a Byte) is converted explicitly: C++
      // warns about the silent overflow of a plain 200 stored into a char.
      if (IntValue > (LiteralKind == tok::TOK_BYTE ? 127 : 32767)) {
        out += LiteralKind == tok::TOK_BYTE ? "((char)(" : "((int16_t)(";
        out += DecimalText(IntValue);
        out += "))";
        return;
      }
      out += DecimalText(IntValue);
      return;
    case tok::TOK_INT: out += DecimalText(IntValue); return;
    case tok::TOK_LONG: out += LongText(IntValue); return;
    case tok::TOK_UBYTE: out += NarrowUnsignedText(IntValue, TYPE_BYTE); return;
    case tok::TOK_USHORT: out += NarrowUnsignedText(IntValue, TYPE_SHORT); return;
    case tok::TOK_UINT: out += UnsignedText(IntValue); return;
    case tok::TOK_ULONG: out += ULongText(IntValue); return;
    case tok::TOK_FLOAT: out += FloatText(FloatValue); return;
    case tok::TOK_DOUBLE: out += DoubleText(DoubleValue); return;
    case tok::TOK_STRING:
      out += "new String(\"";
      AppendEscapedText(out, StringValue);
      out += "\")";
      return;
    default: break;
  }
  // A constant's value rebuilt from its text carries its type's kind: written like the literal
  // of that type, so that the value is not lost from the generated code.
  if (Datatype == nullptr || LiteralKind != Datatype->TypeKind) return;
  const bool isUnsigned = Datatype->IsUnsigned != 0;
  switch (LiteralKind) {
    case TYPE_BOOL: out += IntValue != 0 ? "1" : "0"; return;
    case TYPE_BYTE:
    case TYPE_SHORT:
      out += isUnsigned ? NarrowUnsignedText(IntValue, LiteralKind) : DecimalText(IntValue);
      return;
    case TYPE_INT: out += isUnsigned ? UnsignedText(IntValue) : DecimalText(IntValue); return;
    case TYPE_LONG: out += isUnsigned ? ULongText(IntValue) : LongText(IntValue); return;
    case TYPE_FLOAT: out += FloatText(FloatValue); return;
    case TYPE_DOUBLE: out += DoubleText(DoubleValue); return;
    default: return;
  }
}

std::string TCPPVariableNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPVariableNode::AppendCode(std::string& out, const std::string&) {
  // Every use is written with the declaration's spelling: names are case-insensitive here and
  // case-sensitive in C++.
  AppendCPPIdentifier(out, Origin != nullptr ? Origin->Identifier : Identifier);
}

std::string TCPPGroupingExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPGroupingExpression::AppendCode(std::string& out, const std::string& indent) {
  out += '(';
  AppendNodeCode(out, TargetExp, indent);
  out += ')';
}

}  // namespace zintrel

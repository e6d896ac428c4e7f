// C++ text of indexing, array literals, new arrays and addresses.
#include <typeinfo>

#include "cpp/CPPNodes.h"
#include "cpp/Text.h"
#include "frontend/Tokens.h"

namespace zintrel {

namespace {

void AppendList(std::string& out, const std::vector<TExpressionNode*>& list,
                const std::string& indent) {
  bool first = true;
  for (TExpressionNode* element : list) {
    if (!first) out += ", ";
    first = false;
    AppendNodeCode(out, element, indent);
  }
}

// The element type of an array type.
std::string ElementTypeText(TDatatype* arrayType) {
  return CPPTypeText(arrayType != nullptr ? arrayType->NestedType : nullptr);
}

}  // namespace

std::string TCPPIndexExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPIndexExpression::AppendCode(std::string& out, const std::string& indent) {
  if (IsArray) {
    out += "(*";
    AppendNodeCode(out, TargetExp, indent);
    out += "->At(";
    AppendList(out, Indices, indent);
    out += "))";
  } else {
    out += '(';
    AppendNodeCode(out, TargetExp, indent);
    out += '[';
    if (!Indices.empty()) AppendNodeCode(out, Indices.front(), indent);
    out += "])";
  }
}

std::string TCPPAutoArrayExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPAutoArrayExpression::AppendCode(std::string& out, const std::string& indent) {
  const std::string element = ElementTypeText(Datatype);
  TDatatype* elementType = Datatype != nullptr ? Datatype->NestedType : nullptr;
  const bool numeric = elementType != nullptr && elementType->IsNumeric();
  out += "new Array<";
  out += element;
  out += ", 1>(";
  out += std::to_string(Values.size());
  for (TExpressionNode* value : Values) {
    out += ", ";
    if (!numeric && value != nullptr && typeid(*value) == typeid(TCPPLiteralNode) &&
        static_cast<TLiteralNode*>(value)->LiteralKind == tok::KEY_NULL) {
      // Long literals pass their elements through C's variable arguments, where a plain 0
      // would be an int, not a pointer.
      out += "((";
      out += element;
      out += ")(0))";
    } else {
      AppendNodeCode(out, value, indent);
    }
  }
  out += ')';
}

std::string TCPPNewArrayExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPNewArrayExpression::AppendCode(std::string& out, const std::string& indent) {
  out += "(new Array<";
  out += ElementTypeText(Datatype);
  out += ", ";
  out += std::to_string(Sizes.size());
  out += ">(-1";
  for (TExpressionNode* size : Sizes) {
    out += ", ";
    AppendNodeCode(out, size, indent);
  }
  out += "))";
}

std::string TCPPAddressExpression::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPAddressExpression::AppendCode(std::string& out, const std::string& indent) {
  out += "(&";
  AppendNodeCode(out, TargetExp, indent);
  out += ')';
}

}  // namespace zintrel

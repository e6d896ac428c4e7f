// C++ spelling of types and of their default values.
#include "cpp/CPPNodes.h"
#include "cpp/Text.h"

namespace zintrel {

namespace {

TCPPDatatype* CPP(TDatatype* type) { return static_cast<TCPPDatatype*>(type); }

const char* const NoWay = "Wtf man it doesn't work that way";

// The parameter types of a function type, as abstract declarators separated by ", ".
std::string ParameterTypes(TDatatype* type) {
  std::string text;
  const TFunctionTypeParts& parts = type->Signature();
  for (size_t i = 0; i < parts.Parameters.size(); ++i) {
    if (i != 0) text += ", ";
    text += CPP(parts.Parameters[i])->GenerateCode("");
  }
  return text;
}

}  // namespace

int TCPPDatatype::NeedsDeclarator() const {
  if (TypeKind == TYPE_FUNCTION) return 1;
  if (TypeKind == TYPE_POINTER && NestedType != nullptr)
    return static_cast<const TCPPDatatype*>(NestedType)->NeedsDeclarator();
  return 0;
}

std::string TCPPDatatype::GenerateCode(const std::string& name) {
  return GenerateByAppending(this, name);
}

void TCPPDatatype::AppendCode(std::string& out, const std::string& name) {
  const char* const u = IsUnsigned != 0 ? "u" : "";
  auto plain = [&](const char* spelling) {
    out += u;
    out += spelling;
  };
  switch (TypeKind) {
    case TYPE_VOID: return plain("void");
    case TYPE_BOOL: return plain("bool");
    case TYPE_BYTE: out += IsUnsigned != 0 ? "uint8_t" : "char"; return;
    case TYPE_SHORT: return plain("int16_t");
    case TYPE_INT: return plain("int32_t");
    case TYPE_LONG: return plain("int64_t");
    case TYPE_FLOAT: return plain("float");
    case TYPE_DOUBLE: return plain("double");
    case TYPE_STRING: return plain("String*");
    case TYPE_COMPOUND:
      out += u;
      AppendCPPIdentifier(out, Compound != nullptr ? Compound->Identifier : Identifier);
      out += '*';
      return;
    case TYPE_POINTER:
      if (NestedType == nullptr) break;
      // A pointer to a function keeps the name inside the function's declarator.
      if (CPP(NestedType)->NeedsDeclarator()) return CPP(NestedType)->AppendCode(out, "*" + name);
      out += u;
      CPP(NestedType)->AppendCode(out, name);
      out += '*';
      return;
    case TYPE_ARRAY:
      if (NestedType == nullptr) break;
      out += u;
      out += "Array<";
      CPP(NestedType)->AppendCode(out, "");
      out += ", ";
      out += std::to_string(Dimension);
      out += ">*";
      return;
    case TYPE_FUNCTION: {
      if (ReturnType() == nullptr) break;
      // The declarator of a returned function type wraps this one, so that a function
      // returning a function type is still one valid C++ declarator.
      const std::string inner = u + ("(*" + name + ") (" + ParameterTypes(this) + ")");
      return CPP(ReturnType())->AppendDeclarator(out, inner);
    }
    default: break;
  }
  Abort(NoWay, this);
}

void TCPPDatatype::AppendDeclarator(std::string& out, const std::string& name) {
  if (NeedsDeclarator()) return AppendCode(out, name);
  AppendCode(out, "");
  out += ' ';
  out += name;
}

std::string TCPPDatatype::GenerateAutoValue(const std::string&) {
  switch (TypeKind) {
    case TYPE_BOOL:
    case TYPE_BYTE:
    case TYPE_SHORT:
    case TYPE_INT:
    case TYPE_LONG:
    case TYPE_POINTER:
    case TYPE_COMPOUND:
    case TYPE_FUNCTION: return "0";
    case TYPE_FLOAT: return "0.0f";
    case TYPE_DOUBLE: return "0.0";
    case TYPE_STRING: return "new String(\"\")";
    case TYPE_ARRAY:
      if (NestedType == nullptr) break;
      return "new Array<" + CPP(NestedType)->GenerateCode("") + ", " + std::to_string(Dimension) +
             ">(0)";
    default: break;
  }
  Abort(NoWay, this);
}

}  // namespace zintrel

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
  const std::string u = IsUnsigned != 0 ? "u" : "";
  switch (TypeKind) {
    case TYPE_VOID: return u + "void";
    case TYPE_BOOL: return u + "bool";
    case TYPE_BYTE: return IsUnsigned != 0 ? "uint8_t" : "char";
    case TYPE_SHORT: return u + "int16_t";
    case TYPE_INT: return u + "int32_t";
    case TYPE_LONG: return u + "int64_t";
    case TYPE_FLOAT: return u + "float";
    case TYPE_DOUBLE: return u + "double";
    case TYPE_STRING: return u + "String*";
    case TYPE_COMPOUND:
      return u + CPPIdentifier(Compound != nullptr ? Compound->Identifier : Identifier) + "*";
    case TYPE_POINTER:
      if (NestedType == nullptr) break;
      // A pointer to a function keeps the name inside the function's declarator.
      if (CPP(NestedType)->NeedsDeclarator()) return CPP(NestedType)->GenerateCode("*" + name);
      return u + CPP(NestedType)->GenerateCode(name) + "*";
    case TYPE_ARRAY:
      if (NestedType == nullptr) break;
      return u + "Array<" + CPP(NestedType)->GenerateCode("") + ", " + std::to_string(Dimension) +
             ">*";
    case TYPE_FUNCTION: {
      if (ReturnType() == nullptr) break;
      // The declarator of a returned function type wraps this one, so that a function
      // returning a function type is still one valid C++ declarator.
      const std::string inner = u + "(*" + name + ") (" + ParameterTypes(this) + ")";
      return CPP(ReturnType())->GenerateDeclarator(inner);
    }
    default: break;
  }
  Abort(NoWay, this);
}

std::string TCPPDatatype::GenerateDeclarator(const std::string& name) {
  if (NeedsDeclarator()) return GenerateCode(name);
  return GenerateCode("") + " " + name;
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

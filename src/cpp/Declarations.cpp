// C++ text of variable declarations and of functions, methods and constructors.
#include <vector>

#include "cpp/CPPNodes.h"
#include "cpp/Text.h"

namespace zintrel {

namespace {

TCPPDatatype* CPP(TDatatype* type) { return static_cast<TCPPDatatype*>(type); }
TCPPVariableDeclNode* CPP(TVariableDeclNode* declaration) {
  return static_cast<TCPPVariableDeclNode*>(declaration);
}

// Types whose values are pointers: a constant of such a type is a constant pointer, and the
// const goes next to the name ("Point* const p"); in front it would make the object (or a
// function's result) constant instead, which no use of the value expects.
bool HoldsPointer(const TDatatype* type) {
  switch (type->TypeKind) {
    case TYPE_STRING:
    case TYPE_COMPOUND:
    case TYPE_POINTER:
    case TYPE_ARRAY:
    case TYPE_FUNCTION: return true;
    default: return false;
  }
}

// The declaration of the function's name with its parameters: the return type wraps it, so a
// returned function type keeps it inside its declarator.
void AppendFunctionDeclarator(std::string& out, TFunctionNode* function, const std::string& name,
                              bool withValues) {
  TCPPDatatype* returned = CPP(function->ReturnDatatype);
  const bool wrapped = returned->NeedsDeclarator() != 0;
  std::string declarator;
  std::string& text = wrapped ? declarator : out;
  if (!wrapped) {
    returned->AppendCode(out, "");
    out += ' ';
  }
  text += name;
  text += '(';
  for (size_t i = 0; i < function->Parameters.size(); ++i) {
    if (i != 0) text += ", ";
    TCPPVariableDeclNode* parameter = CPP(function->Parameters[i]);
    if (withValues)
      parameter->AppendImplementationCode(text, "", "", "");
    else
      parameter->AppendDeclarationCode(text, "", "", "");
  }
  text += ')';
  if (wrapped) returned->AppendCode(out, declarator);
}

// True when a value names a class member or a declaration of another file: in a header, the
// class may be declared only, and the other file's header is not included.
bool NamesOutside(TExpressionNode* value, const TProgramNode* root) {
  std::vector<TASTNode*> pending{value};
  while (!pending.empty()) {
    TASTNode* node = pending.back();
    pending.pop_back();
    if (node == nullptr || node->AsExpression() == nullptr) continue;
    if (NodeCast<TMemberAccessExpression>(node) != nullptr) return true;
    if (auto* variable = NodeCast<TVariableNode>(node))
      if (variable->Origin != nullptr && variable->Origin->Root() != root) return true;
    node->ForEachChild([&pending](TASTNode* child) { pending.push_back(child); });
  }
  return false;
}

// The folded value of a constant expression of a number type as a literal's text; empty when
// there is none.
std::string FoldedText(TExpressionNode* value) {
  TDatatype* type = value->EvaluateDatatype();
  if (type == nullptr || value->IsConstant() == 0) return std::string();
  EvaluateForText(value);
  const bool isUnsigned = type->IsUnsigned != 0;
  const int64_t integer = value->GetIntResult();
  switch (type->TypeKind) {
    case TYPE_BOOL: return integer != 0 ? "1" : "0";
    case TYPE_BYTE: return isUnsigned ? NarrowUnsignedText(integer, TYPE_BYTE) : DecimalText(static_cast<int8_t>(integer));
    case TYPE_SHORT: return isUnsigned ? NarrowUnsignedText(integer, TYPE_SHORT) : DecimalText(static_cast<int16_t>(integer));
    case TYPE_INT: return isUnsigned ? UnsignedText(integer) : DecimalText(integer);
    case TYPE_LONG: return isUnsigned ? ULongText(integer) : LongText(integer);
    case TYPE_FLOAT: return FloatText(value->GetFloatResult());
    case TYPE_DOUBLE: return DoubleText(value->GetDoubleResult());
    default: return std::string();
  }
}

}  // namespace

void TCPPVariableDeclNode::AppendDeclarationCode(std::string& out, const std::string& indent,
                                                 const std::string& prefix,
                                                 const std::string& qualifier) {
  out += indent;
  out += prefix;
  TCPPDatatype* type = CPP(Datatype);
  if (DeclKind == DECL_CONST && HoldsPointer(Datatype))
    return type->AppendDeclarator(out, "const " + qualifier + CPPIdentifier(Identifier));
  if (DeclKind == DECL_CONST) out += "const ";
  if (type->NeedsDeclarator()) return type->AppendDeclarator(out, qualifier + CPPIdentifier(Identifier));
  type->AppendCode(out, "");
  out += ' ';
  out += qualifier;
  AppendCPPIdentifier(out, Identifier);
}

void TCPPVariableDeclNode::AppendImplementationCode(std::string& out, const std::string& indent,
                                                    const std::string& prefix,
                                                    const std::string& qualifier) {
  AppendDeclarationCode(out, indent, prefix, qualifier);
  if (Value == nullptr) return;
  out += " = ";
  // Constants and default values go into headers, where a class's constant or another file's
  // cannot be named: such values are written folded.
  const std::string folded = NamesOutside(Value, Root()) ? FoldedText(Value) : std::string();
  if (folded.empty())
    AppendNodeCode(out, Value, indent);
  else
    out += folded;
}

std::string TCPPVariableDeclNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPVariableDeclNode::AppendCode(std::string& out, const std::string& indent) {
  AppendDeclarationCode(out, indent, "", "");
  out += " = ";
  if (Value != nullptr)
    AppendNodeCode(out, Value, indent);
  else
    out += Datatype->GenerateAutoValue(indent);
}

std::string TCPPFunctionNode::GenerateCode(const std::string&) { return std::string(); }

std::string TCPPFunctionNode::GenerateDeclarationCode(const std::string& indent,
                                                      const std::string& prefix) {
  std::string text;
  AppendDeclarationCode(text, indent, prefix);
  return text;
}

void TCPPFunctionNode::AppendDeclarationCode(std::string& out, const std::string& indent,
                                             const std::string& prefix) {
  out += indent;
  out += prefix;
  AppendFunctionDeclarator(out, this, CPPIdentifier(Identifier), true);
  if (IsAbstract != 0) out += " = 0";
}

std::string TCPPFunctionNode::GenerateImplementationCode(const std::string& indent,
                                                         const std::string& prefix,
                                                         const std::string& qualifier) {
  std::string text;
  AppendImplementationCode(text, indent, prefix, qualifier);
  return text;
}

void TCPPFunctionNode::AppendImplementationCode(std::string& text, const std::string& indent,
                                                const std::string& prefix,
                                                const std::string& qualifier) {
  const std::string name = qualifier + CPPIdentifier(Identifier);
  text += indent;
  text += prefix;
  AppendFunctionDeclarator(text, this, name, false);
  text += " {\n";
  AppendNodeCode(text, Statements, indent + "\t");
  const bool endsInReturn = Statements != nullptr && !Statements->Statements.empty() &&
                            NodeCast<TReturnNode>(Statements->Statements.back()) != nullptr;
  if (!endsInReturn && !ReturnDatatype->IsVoid()) {
    text += indent;
    text += "\treturn ";
    text += IsConstructor != 0 ? "this" : ReturnDatatype->GenerateAutoValue(indent);
    text += ";\n";
  }
  text += indent;
  text += '}';
}

std::string TCPPFunctionNode::GenerateForwardingCode(const std::string& indent,
                                                     const std::string& qualifier,
                                                     const std::string& target) {
  const std::string name = CPPIdentifier(Identifier);
  std::string text = indent;
  AppendFunctionDeclarator(text, this, qualifier + name, false);
  text += " {\n";
  text += indent + (ReturnDatatype->IsVoid() ? "\t" : "\treturn ") + target + "::" + name + "(";
  for (size_t i = 0; i < Parameters.size(); ++i) {
    if (i != 0) text += ", ";
    AppendCPPIdentifier(text, Parameters[i]->Identifier);
  }
  text += ");\n";
  text += indent;
  text += "}";
  return text;
}

}  // namespace zintrel

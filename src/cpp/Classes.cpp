// C++ text of classes: the forward declaration, the struct declaration, and the out-of-class
// definitions of the members with the default constructor.
#include "cpp/CPPNodes.h"
#include "cpp/Text.h"

namespace zintrel {

namespace {

TCPPVariableDeclNode* CPP(TVariableDeclNode* declaration) {
  return static_cast<TCPPVariableDeclNode*>(declaration);
}
TCPPFunctionNode* CPP(TFunctionNode* function) { return static_cast<TCPPFunctionNode*>(function); }

// Every parent is a virtual base. Object must be one, or a class with two parents would hold
// two Objects and its conversion to Object would be ambiguous; and a class reached along two
// paths (D extends B and C, both extending A) must be one, or D would hold two copies of A's
// fields and could not be converted to A. A class cannot know whether a later class, maybe in
// another program using its module, closes such a diamond, so every parent is virtual.
void AppendParents(const TClassNode* cls, std::string& text) {
  bool first = true;
  for (const TClassParent& parent : cls->ClassParents) {
    text += first ? ": " : ", ";
    first = false;
    text += "public virtual ";
    text += parent.Class != nullptr ? parent.Class->Identifier : parent.Name;
  }
}

}  // namespace

std::string TCPPClassNode::GeneratePrototypeCode(const std::string& indent) {
  return indent + "struct " + Identifier;
}

std::string TCPPClassNode::GenerateDeclarationCode(const std::string& indent) {
  const std::string i = indent + "\t";
  std::string text = indent + "struct " + Identifier;
  AppendParents(this, text);
  text += " {\n";
  for (TVariableDeclNode* variable : Variables) {
    const bool isStatic = variable->DeclKind == DECL_GLOBAL || variable->DeclKind == DECL_CONST;
    text += CPP(variable)->GenerateDeclarationCode(i, isStatic ? "static " : "", "") + ";\n";
  }
  if (!Variables.empty()) text += "\n";
  if (Constructor != nullptr) text += CPP(Constructor)->GenerateDeclarationCode(i, "") + ";\n";
  for (TFunctionNode* method : Methods)
    text += CPP(method)->GenerateDeclarationCode(i, "virtual ") + ";\n";
  if (!Methods.empty()) text += "\n";
  for (TFunctionNode* function : Functions)
    text += CPP(function)->GenerateDeclarationCode(i, "static ") + ";\n";
  if (!Functions.empty()) text += "\n";
  text += i + Identifier + "();\n";
  text += indent + "}";
  return text;
}

std::string TCPPClassNode::GenerateCode(const std::string& indent) {
  const std::string q = Identifier + "::";
  std::string text;
  // Static members are defined here; fields get their values in the default constructor.
  for (TVariableDeclNode* variable : Variables) {
    if (variable->DeclKind == DECL_FIELD) continue;
    if (variable->Value != nullptr) {
      text += CPP(variable)->GenerateImplementationCode(indent, "", q) + ";\n";
    } else if (variable->DeclKind == DECL_GLOBAL) {
      text += CPP(variable)->GenerateDeclarationCode(indent, "", q) + " = " +
              variable->Datatype->GenerateAutoValue(indent + "\t") + ";\n";
    }
  }
  if (!Methods.empty()) text += "\n";
  for (TFunctionNode* method : Methods)
    if (method->IsAbstract == 0) text += CPP(method)->GenerateImplementationCode(indent, "", q) + "\n\n";
  if (Constructor != nullptr)
    text += CPP(Constructor)->GenerateImplementationCode(indent, "", q) + "\n\n";
  if (!Functions.empty()) text += "\n";
  for (TFunctionNode* function : Functions)
    if (function->IsAbstract == 0)
      text += CPP(function)->GenerateImplementationCode(indent, "", q) + "\n\n";
  text += "\n" + indent + q + Identifier + "() {\n";
  for (TVariableDeclNode* variable : Variables) {
    if (variable->DeclKind != DECL_FIELD) continue;
    text += indent + "\t" + variable->Identifier + " = ";
    if (variable->Value != nullptr)
      AppendNodeCode(text, variable->Value, indent + "\t");
    else
      text += variable->Datatype->GenerateAutoValue(indent + "\t");
    text += ";\n";
  }
  text += indent + "}\n";
  return text;
}

}  // namespace zintrel

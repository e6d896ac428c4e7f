// C++ text of classes: the forward declaration, the struct declaration, and the out-of-class
// definitions of the members with the default constructor.
#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>

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

std::string Lower(const std::string& name) {
  std::string lower = name;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// A method that a class answers a call with, and the classes whose method of that name it
// overrides at the top of the hierarchy.
struct TOverrider {
  TClassNode* Owner;
  TFunctionNode* Method;
  std::set<const TClassNode*> Roots;
};
using TOverriderMap = std::map<std::string, std::vector<TOverrider>>;

struct TClassOverriders {
  TOverriderMap Final;                 // by lower-cased method name
  std::vector<TOverrider> Forwarded;   // methods the class must override itself (below)
};

// With virtual bases, a class whose parents override the same inherited method differently
// (Shape and Named both override Object's ToString, Circle extends both) has no unique final
// overrider, and C++ rejects it. Such a class gets an override of its own that passes the call
// on to the version of its first parent that has one, the parent Super names. Computed once
// per class, so a hierarchy of diamonds is walked once per class, not once per path.
const TClassOverriders& Overriders(TClassNode* cls) {
  static std::unordered_map<const TClassNode*, TClassOverriders> known;
  auto found = known.find(cls);
  if (found != known.end()) return found->second;
  TASTNode::GuardStack(cls);
  TClassOverriders result;
  TOverriderMap& inherited = result.Final;
  for (const TClassParent& parent : cls->ClassParents) {
    if (parent.Class == nullptr) continue;
    for (const auto& [name, entries] : Overriders(parent.Class).Final) {
      std::vector<TOverrider>& list = inherited[name];
      for (const TOverrider& entry : entries) {
        auto same = std::find_if(list.begin(), list.end(),
                                 [&](const TOverrider& o) { return o.Method == entry.Method; });
        if (same == list.end())
          list.push_back(entry);
        else
          same->Roots.insert(entry.Roots.begin(), entry.Roots.end());
      }
    }
  }
  for (auto& [name, list] : inherited) {
    if (list.size() < 2) continue;
    // A version is hidden by one of a class derived from its class.
    std::vector<TOverrider> kept;
    for (const TOverrider& entry : list) {
      bool hidden = false;
      for (const TOverrider& other : list)
        if (other.Owner != entry.Owner && other.Owner->HasParent(entry.Owner) != 0) hidden = true;
      if (!hidden) kept.push_back(entry);
    }
    list = kept;
  }
  std::set<std::string> own;
  for (TFunctionNode* method : cls->Methods) own.insert(Lower(method->Identifier));
  for (auto& [name, list] : inherited) {
    if (list.size() < 2 || own.count(name) != 0) continue;
    bool shared = false;
    for (size_t a = 0; a < list.size() && !shared; ++a)
      for (size_t b = a + 1; b < list.size() && !shared; ++b)
        for (const TClassNode* root : list[a].Roots)
          if (list[b].Roots.count(root) != 0) shared = true;
    if (!shared) continue;
    TOverrider forwarded{cls, list.front().Method, {}};
    for (const TOverrider& entry : list) forwarded.Roots.insert(entry.Roots.begin(), entry.Roots.end());
    result.Forwarded.push_back(list.front());
    list = {forwarded};
  }
  for (TFunctionNode* method : cls->Methods) {
    std::vector<TOverrider>& list = inherited[Lower(method->Identifier)];
    TOverrider entry{cls, method, {}};
    for (const TOverrider& overridden : list)
      entry.Roots.insert(overridden.Roots.begin(), overridden.Roots.end());
    if (entry.Roots.empty()) entry.Roots.insert(cls);
    list = {entry};
  }
  return known.emplace(cls, std::move(result)).first->second;
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
  const std::vector<TOverrider>& forwarded = Overriders(this).Forwarded;
  for (const TOverrider& entry : forwarded)
    text += CPP(entry.Method)->GenerateDeclarationCode(i, "virtual ") + ";\n";
  if (!Methods.empty() || !forwarded.empty()) text += "\n";
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
  const std::vector<TOverrider>& forwarded = Overriders(this).Forwarded;
  if (!Methods.empty() || !forwarded.empty()) text += "\n";
  for (TFunctionNode* method : Methods)
    if (method->IsAbstract == 0) text += CPP(method)->GenerateImplementationCode(indent, "", q) + "\n\n";
  for (const TOverrider& entry : forwarded)
    if (entry.Method->IsAbstract == 0)
      text += CPP(entry.Method)->GenerateForwardingCode(indent, q, entry.Owner->Identifier) + "\n\n";
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

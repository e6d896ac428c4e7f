// C++ text of classes: the forward declaration, the struct declaration, and the out-of-class
// definitions of the members with the default constructor.
#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
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
    AppendCPPIdentifier(text, parent.Class != nullptr ? parent.Class->Identifier.str() : parent.Name);
  }
}

std::string Lower(const std::string& name) {
  std::string lower = name;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// A method a class answers a call with itself: one it declares or one it passes on.
struct TOverrider {
  TClassNode* Owner;
  TFunctionNode* Method;
};

bool IsOrDerives(const TClassNode* cls, const TClassNode* base) {
  return cls == base || cls->HasParent(base) != 0;
}

// With virtual bases, a class whose parents override the same inherited method differently
// (Shape and Named both override Object's ToString, Circle extends both) has no unique final
// overrider, and C++ rejects it. Such a class gets an override of its own that passes the call
// on to the version reached through its earliest parent that reaches one. Only classes with
// several parents need one; each is worked out once, walking each ancestor once.
const std::vector<TOverrider>& Forwarded(TClassNode* cls) {
  // Never destroyed: a second thread generating a long program's text may still be at work
  // while the process ends.
  static const auto& none = *new std::vector<TOverrider>();
  static auto& known = *new std::unordered_map<const TClassNode*, std::vector<TOverrider>>();
  if (cls->ClassParents.size() < 2) return none;
  // A long file's classes are generated on two threads. The entries stay in place as the map
  // grows, so a result may be read after the lock is gone.
  static auto& guard = *new std::recursive_mutex();
  const std::lock_guard<std::recursive_mutex> lock(guard);
  auto found = known.find(cls);
  if (found != known.end()) return found->second;
  TASTNode::GuardStack(cls);

  // Every ancestor, once, with the methods it answers itself, by lower-cased name.
  std::map<std::string, std::vector<TOverrider>> declared;
  std::vector<TClassNode*> pending;
  std::unordered_set<const TClassNode*> seen;
  for (const TClassParent& parent : cls->ClassParents)
    if (parent.Class != nullptr && seen.insert(parent.Class).second) pending.push_back(parent.Class);
  while (!pending.empty()) {
    TClassNode* ancestor = pending.back();
    pending.pop_back();
    for (TFunctionNode* method : ancestor->Methods)
      declared[Lower(method->Identifier)].push_back({ancestor, method});
    for (const TOverrider& passed : Forwarded(ancestor))
      declared[Lower(passed.Method->Identifier)].push_back({ancestor, passed.Method});
    for (const TClassParent& parent : ancestor->ClassParents)
      if (parent.Class != nullptr && seen.insert(parent.Class).second) pending.push_back(parent.Class);
  }

  std::vector<TOverrider> result;
  for (TFunctionNode* method : cls->Methods) declared.erase(Lower(method->Identifier));
  for (const auto& [name, versions] : declared) {
    if (versions.size() < 2) continue;
    // The final versions: those no other version overrides in a class derived from theirs.
    std::vector<TOverrider> finals;
    for (const TOverrider& version : versions) {
      bool overridden = false;
      for (const TOverrider& other : versions)
        if (other.Owner != version.Owner && other.Owner->HasParent(version.Owner) != 0)
          overridden = true;
      if (!overridden) finals.push_back(version);
    }
    if (finals.size() < 2) continue;
    // Versions that override no common method are two methods of the same name, which C++
    // keeps apart; only overrides of one method need the class's own.
    bool common = false;
    for (size_t a = 0; a < finals.size() && !common; ++a)
      for (size_t b = a + 1; b < finals.size() && !common; ++b)
        for (const TOverrider& root : versions)
          if (IsOrDerives(finals[a].Owner, root.Owner) && IsOrDerives(finals[b].Owner, root.Owner))
            common = true;
    if (!common) continue;
    bool chosen = false;
    for (const TClassParent& parent : cls->ClassParents) {
      for (const TOverrider& version : finals) {
        if (parent.Class == nullptr || !IsOrDerives(parent.Class, version.Owner)) continue;
        result.push_back(version);
        chosen = true;
        break;
      }
      if (chosen) break;
    }
  }
  return known.emplace(cls, std::move(result)).first->second;
}

}  // namespace

bool TCPPClassNode::HasGlobalValues() const {
  for (TVariableDeclNode* variable : Variables)
    if (variable->DeclKind == DECL_GLOBAL && variable->Value != nullptr) return true;
  return false;
}

std::string TCPPClassNode::GeneratePrototypeCode(const std::string& indent) {
  return indent + "struct " + CPPIdentifier(Identifier);
}

std::string TCPPClassNode::GenerateDeclarationCode(const std::string& indent) {
  const std::string i = indent + "\t";
  std::string text = indent + "struct " + CPPIdentifier(Identifier);
  // No class extends a Final one: g++ may then call its methods directly.
  if (IsFinal) text += " final";
  AppendParents(this, text);
  text += " {\n";
  for (TVariableDeclNode* variable : Variables) {
    const bool isStatic = variable->DeclKind == DECL_GLOBAL || variable->DeclKind == DECL_CONST;
    CPP(variable)->AppendDeclarationCode(text, i, isStatic ? "static " : "", "");
    text += ";\n";
  }
  if (!Variables.empty()) text += "\n";
  auto prototype = [&](TFunctionNode* function, const char* prefix) {
    CPP(function)->AppendDeclarationCode(text, i, prefix);
    text += ";\n";
  };
  if (Constructor != nullptr) prototype(Constructor, "");
  for (TFunctionNode* method : Methods) prototype(method, "virtual ");
  const std::vector<TOverrider>& forwarded = Forwarded(this);
  for (const TOverrider& entry : forwarded) prototype(entry.Method, "virtual ");
  if (!Methods.empty() || !forwarded.empty()) text += "\n";
  for (TFunctionNode* function : Functions) prototype(function, "static ");
  if (!Functions.empty()) text += "\n";
  if (HasGlobalValues()) text += i + "static void __InitGlobals();\n";
  text += i + CPPIdentifier(Identifier) + "();\n";
  text += indent + "}";
  return text;
}

std::string TCPPClassNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPClassNode::AppendCode(std::string& text, const std::string& indent) {
  const std::string q = CPPIdentifier(Identifier) + "::";
  // Static members are defined here; fields get their values in the default constructor and
  // globals theirs in the file's main function (in C++'s static initialisation they would run
  // before the runtime starts and before the program's globals have their values).
  for (TVariableDeclNode* variable : Variables) {
    if (variable->DeclKind == DECL_FIELD) continue;
    if (variable->Value != nullptr && variable->DeclKind != DECL_GLOBAL) {
      CPP(variable)->AppendImplementationCode(text, indent, "", q);
      text += ";\n";
    } else if (variable->DeclKind == DECL_GLOBAL) {
      CPP(variable)->AppendDeclarationCode(text, indent, "", q);
      text += " = ";
      text += variable->Datatype->GenerateAutoValue(indent + "\t");
      text += ";\n";
    }
  }
  if (HasGlobalValues()) {
    // In the class's scope, where the values may name its members as they are written.
    text += indent + "void " + q + "__InitGlobals() {\n";
    for (TVariableDeclNode* variable : Variables) {
      if (variable->DeclKind != DECL_GLOBAL || variable->Value == nullptr) continue;
      text += indent + "\t" + CPPIdentifier(variable->Identifier) + " = ";
      AppendNodeCode(text, variable->Value, indent + "\t");
      text += ";\n";
    }
    text += indent + "}\n";
  }
  const std::vector<TOverrider>& forwarded = Forwarded(this);
  if (!Methods.empty() || !forwarded.empty()) text += "\n";
  for (TFunctionNode* method : Methods)
    if (method->IsAbstract == 0) {
      CPP(method)->AppendImplementationCode(text, indent, "", q);
      text += "\n\n";
    }
  for (const TOverrider& entry : forwarded)
    if (entry.Method->IsAbstract == 0)
      text += CPP(entry.Method)->GenerateForwardingCode(indent, q,
                                                        CPPIdentifier(entry.Owner->Identifier)) +
              "\n\n";
  if (Constructor != nullptr) {
    CPP(Constructor)->AppendImplementationCode(text, indent, "", q);
    text += "\n\n";
  }
  if (!Functions.empty()) text += "\n";
  for (TFunctionNode* function : Functions) {
    if (function->IsAbstract != 0) continue;
    CPP(function)->AppendImplementationCode(text, indent, "", q);
    text += "\n\n";
  }
  text += "\n" + indent + q + CPPIdentifier(Identifier) + "() {\n";
  for (TVariableDeclNode* variable : Variables) {
    if (variable->DeclKind != DECL_FIELD) continue;
    text += indent + "\t" + CPPIdentifier(variable->Identifier) + " = ";
    if (variable->Value != nullptr)
      AppendNodeCode(text, variable->Value, indent + "\t");
    else
      text += variable->Datatype->GenerateAutoValue(indent + "\t");
    text += ";\n";
  }
  text += indent;
  text += "}\n";
}

}  // namespace zintrel

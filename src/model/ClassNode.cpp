#include "model/ClassNode.h"

#include <unordered_set>

#include "support/Text.h"
#include "frontend/Bridge.h"
#include "model/NodeFactory.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "model/ProgramNode.h"
#include "model/Scope.h"
#include "model/VariableDeclNode.h"
#include "modules/DependencyNode.h"

namespace zintrel {

int32_t TClassNode::CurrentVisibility = 0;
int64_t TClassNode::ParentsGeneration = 0;

void TClassNode::ParentsChanging() {
  if (AncestorsWalked == 0) return;
  AncestorsWalked = 0;
  ++ParentsGeneration;
}

TClassNode::TClassNode() {
  ZINTREL_ADD_CLASS_BIT();
  Dependencies = (new TDependencyNode())->Create(SourceFile(), nullptr);
}

int TClassNode::CheckCorrectness(TScope* scope) {
  TClassScope* staticScope = (new TClassScope())->CreateClassScope(scope, this, 1);
  TClassScope* instanceScope = (new TClassScope())->CreateClassScope(scope, this, 0);
  for (TVariableDeclNode* variable : Variables)
    variable->CheckCorrectness(variable->DeclKind == DECL_FIELD ? instanceScope : staticScope);
  if (Constructor != nullptr) {
    if (!Constructor->IsMethod) Abort("Constructor has to be a method", Constructor);
    Constructor->CheckCorrectness(instanceScope);
  }
  for (TFunctionNode* function : Functions) function->CheckCorrectness(staticScope);
  for (TFunctionNode* method : Methods) method->CheckCorrectness(instanceScope);
  return 0;
}

int TClassNode::AddDependency(TASTNode* dependency, TASTNode* user) {
  if (CheckingSignature) Dependencies->RecordUse(dependency, user);
  return TASTNode::AddDependency(dependency, user);
}

int TClassNode::ResolveParents(TScope* scope) {
  // Lookups before the parents are known are not kept.
  for (auto* found : FoundMembers)
    if (found != nullptr) found->clear();
  ParentsChanging();
  if (!IsExtern && ClassParents.empty()) ClassParents.push_back(TClassParent{"Object", nullptr});
  std::vector<TClassParent> resolved;
  for (const TClassParent& entry : ClassParents)
    if (entry.Class != nullptr) resolved.push_back(entry);
  for (const TClassParent& entry : ClassParents) {
    if (entry.Class != nullptr) continue;
    auto* parent = NodeCast<TClassNode>(scope->Find(entry.Name));
    if (parent != nullptr) {
      if (parent->IsFinal) Abort("Unable to extend final class '" + parent->Identifier + "'", this);
      resolved.push_back(TClassParent{entry.Name, parent});
      parent->ClassChildren.push_back(this);
      AddDependency(parent, this);
    } else if (SuppressLookupErrors) {
      resolved.push_back(entry);
    } else {
      Abort("Class '" + entry.Name + "' not found", this);
    }
  }
  ClassParents = std::move(resolved);
  return 0;
}

int TClassNode::CheckSignatureCorrectness(TScope* scope) {
  TScope* members = (new TScope())->Create(scope);
  CheckingSignature = 1;
  TASTNode* savedSignatureClass = SignatureClass;
  SignatureClass = this;
  if (Constructor != nullptr) {
    Constructor->CheckSignatureCorrectness(members);
    InsertMember(members, Constructor->Declaration, 1);
  }
  for (TFunctionNode* function : Functions) {
    function->CheckSignatureCorrectness(members);
    if (function->IsAbstract) AbstractFunctions.push_back(function);
    InsertMember(members, function->Declaration, 0);
  }
  for (TVariableDeclNode* variable : Variables) {
    variable->CheckSignatureCorrectness(members);
    InsertMember(members, variable, 0);
  }
  for (TFunctionNode* method : Methods) {
    method->CheckSignatureCorrectness(members);
    if (method->IsAbstract) AbstractFunctions.push_back(method);
    InsertMember(members, method->Declaration, 1);
  }
  CheckingSignature = 0;
  SignatureClass = savedSignatureClass;
  IntermediateScope = members;
  return 0;
}

int TClassNode::InsertMember(TScope* scope, TVariableDeclNode* declaration, int32_t isMethod) {
  const TName name = declaration->Identifier;
  if (!scope->Insert(name, declaration)) Abort("Redefinition of '" + name + "'", declaration);
  // Not remembered: each class brings new names, whose misses would be kept at every level
  // above it. The answers of this one search are kept, so a hierarchy of diamonds is still
  // searched once per class, not once per path.
  const TName key = name.Folded();
  TMemberAnswers answers;
  std::string overriddenSpelling;
  for (const TClassParent& entry : ClassParents) {
    if (entry.Class == nullptr) continue;
    TVariableDeclNode* inherited = entry.Class->FindMemberByKey(name, key, 0, &answers);
    if (inherited == nullptr) continue;
    if (isMethod) {
      if (!declaration->Datatype->IsCastable(inherited->Datatype))
        Abort("Overriding method '" + name + "' differs by type", declaration);
      TFunctionNode* function =
          inherited->Datatype != nullptr ? inherited->Datatype->FunctionNode() : nullptr;
      if (function != nullptr && function->IsFinal)
        Abort("Unable to override final method '" + name + "'", declaration);
      if (overriddenSpelling.empty()) overriddenSpelling = inherited->Identifier;
    } else {
      Abort("Redefinition of '" + name + "' inherited from '" + entry.Class->Identifier + "'",
            declaration);
    }
  }
  // Names are case-insensitive here and case-sensitive in C++: an override takes the spelling
  // of the method it overrides, or it would be another method there.
  if (!overriddenSpelling.empty() && overriddenSpelling != declaration->Identifier) {
    if (declaration->Datatype != nullptr && declaration->Datatype->FunctionNode() != nullptr)
      declaration->Datatype->FunctionNode()->Identifier = overriddenSpelling;
    declaration->Identifier = overriddenSpelling;
  }
  return 0;
}

TVariableDeclNode* TClassNode::FindOwnMember(const TName& key, int32_t isStatic) {
  if (MemberIndex == nullptr) {
    MemberIndex = new TNameTable<TMemberSlots>();
    for (TVariableDeclNode* variable : Variables) {
      TMemberSlots& slots = (*MemberIndex)[variable->Identifier.Folded()];
      if (slots.Variable == nullptr) slots.Variable = variable;
      if (slots.StaticVariable == nullptr &&
          (variable->DeclKind == DECL_CONST || variable->DeclKind == DECL_GLOBAL))
        slots.StaticVariable = variable;
    }
    for (TFunctionNode* method : Methods) {
      TMemberSlots& slots = (*MemberIndex)[method->Identifier.Folded()];
      if (slots.Method == nullptr) slots.Method = method->Declaration;
    }
    for (TFunctionNode* function : Functions) {
      TMemberSlots& slots = (*MemberIndex)[function->Identifier.Folded()];
      if (slots.Function == nullptr) slots.Function = function->Declaration;
    }
  }
  auto found = MemberIndex->find(key);
  if (found == MemberIndex->end()) return nullptr;
  const TMemberSlots& slots = found->second;
  if (isStatic ? slots.StaticVariable : slots.Variable)
    return isStatic ? slots.StaticVariable : slots.Variable;
  if (!isStatic && slots.Method != nullptr) return slots.Method;
  return slots.Function;
}

int TClassNode::IsAbstract() {
  if (!AbstractChecked) {
    AbstractChecked = 1;
    for (const TClassParent& entry : ClassParents) {
      if (entry.Class == nullptr || !entry.Class->IsAbstract()) continue;
      for (TFunctionNode* inherited : entry.Class->AbstractFunctions)
        if (IntermediateScope == nullptr || IntermediateScope->Find(inherited->Identifier) == nullptr)
          AbstractFunctions.push_back(inherited);
    }
  }
  return AbstractFlag || !AbstractFunctions.empty() ? 1 : 0;
}

void TClassNode::VisitNodeFields(TNodeFieldVisitor& visitor) {
  TASTNode::VisitNodeFields(visitor);
  visitor(Constructor);
  visitor(Variables);
  visitor(Methods);
  visitor(Functions);
}

int TClassNode::SetupChildren() {
  if (Constructor != nullptr) AddChildNode(Constructor);
  AddChildNodeList(Variables);
  AddChildNodeList(Methods);
  AddChildNodeList(Functions);
  return 0;
}

int TClassNode::HasParent(const TClassNode* parent) const {
  // Each ancestor is visited once, however many paths lead to it.
  std::vector<const TClassNode*> pending{this};
  std::unordered_set<const TClassNode*> seen;
  while (!pending.empty()) {
    const TClassNode* c = pending.back();
    pending.pop_back();
    for (const TClassParent& entry : c->ClassParents) {
      if (entry.Class == nullptr) continue;
      if (entry.Class == parent) return 1;
      if (seen.insert(entry.Class).second) pending.push_back(entry.Class);
    }
  }
  return 0;
}

TVariableDeclNode* TClassNode::FindMember(const TName& name, int32_t isStatic) {
  return FindMemberByKey(name, name.Folded(), isStatic, nullptr);
}

TVariableDeclNode* TClassNode::FindMemberByKey(const TName& name, const TName& key,
                                               int32_t isStatic, TMemberAnswers* answers) {
  GuardStack(this);
  auto*& found = FoundMembers[isStatic ? 1 : 0];
  if (found != nullptr) {
    auto known = found->find(key);
    if (known != found->end()) return known->second;
  }
  if (answers != nullptr) {
    auto known = answers->find(this);
    if (known != answers->end()) return known->second;
  }
  TVariableDeclNode* result = FindMemberUncached(name, key, isStatic, answers);
  if (answers != nullptr) {
    answers->emplace(this, result);
  } else {
    if (found == nullptr) found = new TNameTable<TVariableDeclNode*>();
    found->try_emplace(key, result);
  }
  return result;
}

TVariableDeclNode* TClassNode::FindMemberUncached(const TName& name, const TName& key,
                                                  int32_t isStatic, TMemberAnswers* answers) {
  if (Constructor != nullptr && Constructor->Identifier.Folded() == key)
    return Constructor->Declaration;
  if (TVariableDeclNode* own = FindOwnMember(key, isStatic)) return own;
  TVariableDeclNode* result = nullptr;
  for (const TClassParent& entry : ClassParents) {
    if (entry.Class == nullptr) continue;
    TVariableDeclNode* inherited = entry.Class->FindMemberByKey(name, key, isStatic, answers);
    if (inherited == nullptr) continue;
    // A second answer is ambiguous, even the same declaration reached through two parents.
    if (result != nullptr) Abort("Class member '" + name + "' is ambiguous", this);
    result = inherited;
  }
  return result;
}

int32_t TClassNode::SetVisibility(int32_t visibility) {
  CurrentVisibility = visibility;
  return 0;
}

int32_t TClassNode::Emit(TName name, int32_t parents, int32_t body, int32_t flags) {
  TClassNode* c = ActiveTarget->CreateClassNode();
  c->Identifier = name;
  if (TList* names = TakeList(parents)) {
    for (TObject* item : names->Items)
      if (item != nullptr && item->ObjectKind == TObject::Kind::String)
        c->ClassParents.push_back(TClassParent{static_cast<TStringObject*>(item)->Value, nullptr});
  }
  c->AbstractFlag = (flags & tok::FLAG_ABSTRACT) != 0;
  c->IsFinal = (flags & tok::FLAG_FINAL) != 0;
  TList* members = TakeList(body);
  for (TVariableDeclNode* variable : NodesOfList<TVariableDeclNode>(members))
    c->Variables.push_back(variable);
  const TName lowerName = c->Identifier.Folded();
  for (TFunctionNode* function : NodesOfList<TFunctionNode>(members)) {
    if (function->Identifier.Folded() == lowerName) {
      // With several members named like the class, the last one is the constructor.
      c->Constructor = function;
      function->TransformToConstructor(c);
    } else if (function->IsMethod) {
      c->Methods.push_back(function);
    } else {
      c->Functions.push_back(function);
    }
  }
  c->SetupChildren();
  SetVisibility(VISIBILITY_PUBLIC);
  return c->TableID;
}

}  // namespace zintrel

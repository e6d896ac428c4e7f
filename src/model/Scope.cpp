#include "model/Scope.h"

#include "model/ClassNode.h"
#include "model/VariableDeclNode.h"
#include "support/Text.h"

namespace zintrel {

TASTNode* TScope::Find(std::string_view name) {
  const std::string key = ToLower(name);
  for (TScope* scope = this;;) {
    auto found = scope->Nodes.find(key);
    if (found != scope->Nodes.end()) return found->second;
    scope = scope->Parent;
    if (scope == nullptr) return nullptr;
    if (scope->FindsOwnWay) return scope->Find(name);
  }
}

int TScope::Insert(std::string_view name, TASTNode* node) {
  return SafeInsert(Nodes, ToLower(name), node);
}

TScope* TScope::Create(TScope* parent) {
  Parent = parent;
  return this;
}

TScope* TScope::Copy() const {
  TScope* copy = new TScope();
  copy->Nodes = Nodes;
  copy->Parent = Parent;
  return copy;
}

int TScope::SafeInsert(std::unordered_map<std::string, TASTNode*>& map, std::string key,
                       TASTNode* node) {
  return map.try_emplace(std::move(key), node).second ? 1 : 0;
}

TASTNode* TClassScope::Find(std::string_view name) {
  if (Compound != nullptr)
    if (TVariableDeclNode* member = Compound->FindMember(name, IsStatic)) return member;
  return TScope::Find(name);
}

TClassScope* TClassScope::CreateClassScope(TScope* parent, TClassNode* compound,
                                           int32_t isStatic) {
  Parent = parent;
  Compound = compound;
  IsStatic = isStatic;
  return this;
}

}  // namespace zintrel

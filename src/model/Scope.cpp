#include "model/Scope.h"

#include "model/ClassNode.h"
#include "model/VariableDeclNode.h"

namespace zintrel {

TASTNode* TScope::Find(const TName& name) {
  const TName key = name.Folded();
  for (TScope* scope = this;;) {
    if (!scope->Nodes.empty()) {
      auto found = scope->Nodes.find(key);
      if (found != scope->Nodes.end()) return found->second;
    }
    scope = scope->Parent;
    if (scope == nullptr) return nullptr;
    if (scope->FindsOwnWay) return scope->Find(name);
  }
}

int TScope::Insert(const TName& name, TASTNode* node) { return SafeInsert(Nodes, name, node); }

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

int TScope::SafeInsert(TNameMap& map, const TName& name, TASTNode* node) {
  return map.try_emplace(name.Folded(), node).second ? 1 : 0;
}

TASTNode* TClassScope::Find(const TName& name) {
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

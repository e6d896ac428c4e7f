#include "model/Scope.h"

#include "model/ClassNode.h"
#include "model/VariableDeclNode.h"
#include "support/Text.h"

namespace zintrel {

TASTNode* TScope::Find(std::string_view name) {
  // Most names are short: they are lower-cased on the stack.
  char buffer[64];
  std::string longKey;
  std::string_view key;
  if (name.size() <= sizeof buffer) {
    for (size_t i = 0; i < name.size(); ++i) {
      const char c = name[i];
      buffer[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    key = std::string_view(buffer, name.size());
  } else {
    longKey = ToLower(name);
    key = longKey;
  }
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

int TScope::SafeInsert(TNameMap& map, std::string key, TASTNode* node) {
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

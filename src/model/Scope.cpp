#include "model/Scope.h"

#include "model/ClassNode.h"
#include "model/VariableDeclNode.h"

namespace zintrel {

std::string LowerName(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return key;
}

TASTNode* TScope::FindKey(const std::string& key) {
  auto found = Nodes.find(key);
  if (found != Nodes.end()) return found->second;
  return Parent != nullptr ? Parent->FindKey(key) : nullptr;
}

int TScope::Insert(std::string_view name, TASTNode* node) {
  return SafeInsert(Nodes, LowerName(name), node);
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
  return map.emplace(std::move(key), node).second ? 1 : 0;
}

TASTNode* TClassScope::FindKey(const std::string& key) {
  if (Compound != nullptr)
    if (TVariableDeclNode* member = Compound->FindMember(key, IsStatic)) return member;
  return TScope::FindKey(key);
}

TClassScope* TClassScope::CreateClassScope(TScope* parent, TClassNode* compound,
                                           int32_t isStatic) {
  Parent = parent;
  Compound = compound;
  IsStatic = isStatic;
  return this;
}

}  // namespace zintrel

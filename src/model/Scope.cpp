#include "model/Scope.h"

#include <bit>

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

TNameMap::iterator TNameMap::find(const TName& key) const {
  if (Slots.empty()) {
    for (const value_type& entry : Entries)
      if (entry.first == key) return &entry;
    return end();
  }
  const size_t mask = Slots.size() - 1;
  for (size_t slot = Hash(key) & mask;; slot = (slot + 1) & mask) {
    const uint32_t entry = Slots[slot];
    if (entry == 0) return end();
    if (Entries[entry - 1].first == key) return &Entries[entry - 1];
  }
}

std::pair<TNameMap::iterator, bool> TNameMap::try_emplace(const TName& key, TASTNode* node) {
  if (iterator found = find(key); found != end()) return {found, false};
  if (Entries.empty()) Entries.reserve(4);
  Entries.emplace_back(key, node);
  const auto count = static_cast<uint32_t>(Entries.size());
  if (count > LinearLimit) {
    // At most half of the slots are in use; their number is a power of two.
    if (Slots.size() < 2 * size_t{count}) {
      Slots.assign(std::bit_ceil(4 * size_t{count}), 0);
      for (uint32_t entry = 1; entry < count; ++entry) Index(entry);
    }
    Index(count);
  }
  return {&Entries.back(), true};
}

void TNameMap::Index(uint32_t entry) {
  const size_t mask = Slots.size() - 1;
  size_t slot = Hash(Entries[entry - 1].first) & mask;
  while (Slots[slot] != 0) slot = (slot + 1) & mask;
  Slots[slot] = entry;
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

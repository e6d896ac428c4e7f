#pragma once
// Sets and maps of pointers that only grow: open addressing in a power-of-two table at most half
// full, so that a lookup is a multiply, a shift and a probe or two, with no node per element.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zintrel {

// Pointers with a value each. Null is never a key.
template <class Value>
class TPointerTable {
 public:
  // The key's value, or null when the key is not in the table.
  const Value* find(const void* key) const {
    if (Slots.empty() || key == nullptr) return nullptr;
    for (size_t slot = Start(key);; slot = (slot + 1) & (Slots.size() - 1)) {
      if (Slots[slot].Key == key) return &Slots[slot].Item;
      if (Slots[slot].Key == nullptr) return nullptr;
    }
  }
  Value* find(const void* key) {
    return const_cast<Value*>(static_cast<const TPointerTable*>(this)->find(key));
  }
  // The key's value, added with the value given when the key is new (true) and unchanged when
  // it is in the table already (false), in one probe. Null is never a key: it gives null.
  std::pair<Value*, bool> try_emplace(const void* key, Value value) {
    if (key == nullptr) return {nullptr, false};
    size_t slot = 0;
    if (!Slots.empty()) {
      for (slot = Start(key); Slots[slot].Key != nullptr; slot = (slot + 1) & (Slots.size() - 1))
        if (Slots[slot].Key == key) return {&Slots[slot].Item, false};
    }
    if (2 * (Count + 1) > Slots.size()) {
      Grow();
      slot = Start(key);
      while (Slots[slot].Key != nullptr) slot = (slot + 1) & (Slots.size() - 1);
    }
    Slots[slot] = TSlot{key, value};
    ++Count;
    return {&Slots[slot].Item, true};
  }
  // False when the key is null or in the table already (its value is then unchanged).
  bool insert(const void* key, Value value) { return try_emplace(key, value).second; }
  size_t size() const { return Count; }

 private:
  struct TSlot {
    const void* Key = nullptr;
    [[no_unique_address]] Value Item{};
  };
  size_t Start(const void* key) const {
    // Fibonacci hashing: the high bits of the product spread nearby addresses apart.
    const uint64_t mixed = reinterpret_cast<uintptr_t>(key) * 0x9E3779B97F4A7C15u;
    return static_cast<size_t>(mixed >> Shift);
  }
  void Place(const TSlot& entry) {
    size_t slot = Start(entry.Key);
    while (Slots[slot].Key != nullptr) slot = (slot + 1) & (Slots.size() - 1);
    Slots[slot] = entry;
  }
  void Grow() {
    std::vector<TSlot> old;
    old.swap(Slots);
    const size_t size = old.empty() ? 16 : old.size() * 2;
    Slots.assign(size, TSlot{});
    Shift = 64 - std::countr_zero(size);
    for (const TSlot& entry : old)
      if (entry.Key != nullptr) Place(entry);
  }
  std::vector<TSlot> Slots;
  size_t Count = 0;
  int Shift = 64;
};

// Pointers alone: a table whose values take no room.
class TPointerSet {
 public:
  bool contains(const void* pointer) const { return Table.find(pointer) != nullptr; }
  // False when the pointer was in the set already. Null is never an element.
  bool insert(const void* pointer) { return Table.insert(pointer, TNone{}); }
  size_t size() const { return Table.size(); }

 private:
  struct TNone {};
  TPointerTable<TNone> Table;
};

// Pointers with a 32-bit number each (an element's place in a list).
using TPointerIndex = TPointerTable<uint32_t>;

}  // namespace zintrel

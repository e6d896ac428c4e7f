#pragma once
// Sets and maps of pointers that only grow: open addressing in a power-of-two table at most half
// full, so that a lookup is a multiply, a shift and a probe or two, with no node per element.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zintrel {

class TPointerSet {
 public:
  bool contains(const void* pointer) const {
    if (Slots.empty() || pointer == nullptr) return false;
    for (size_t slot = Start(pointer);; slot = (slot + 1) & (Slots.size() - 1)) {
      if (Slots[slot] == pointer) return true;
      if (Slots[slot] == nullptr) return false;
    }
  }
  // False when the pointer was in the set already. Null is never an element.
  bool insert(const void* pointer) {
    if (pointer == nullptr || contains(pointer)) return false;
    if (2 * (Count + 1) > Slots.size()) Grow();
    Place(pointer);
    ++Count;
    return true;
  }
  size_t size() const { return Count; }

 private:
  size_t Start(const void* pointer) const {
    // Fibonacci hashing: the high bits of the product spread nearby addresses apart.
    const uint64_t mixed = reinterpret_cast<uintptr_t>(pointer) * 0x9E3779B97F4A7C15u;
    return static_cast<size_t>(mixed >> Shift);
  }
  void Place(const void* pointer) {
    size_t slot = Start(pointer);
    while (Slots[slot] != nullptr) slot = (slot + 1) & (Slots.size() - 1);
    Slots[slot] = pointer;
  }
  void Grow() {
    std::vector<const void*> old;
    old.swap(Slots);
    const size_t size = old.empty() ? 16 : old.size() * 2;
    Slots.assign(size, nullptr);
    Shift = 64 - std::countr_zero(size);
    for (const void* pointer : old)
      if (pointer != nullptr) Place(pointer);
  }
  std::vector<const void*> Slots;
  size_t Count = 0;
  int Shift = 64;
};

// A map from pointers to 32-bit values that only grows, in the same kind of table.
class TPointerIndex {
 public:
  // The value of the key, or null.
  const uint32_t* find(const void* key) const {
    if (Slots.empty() || key == nullptr) return nullptr;
    for (size_t slot = Start(key);; slot = (slot + 1) & (Slots.size() - 1)) {
      if (Slots[slot].first == key) return &Slots[slot].second;
      if (Slots[slot].first == nullptr) return nullptr;
    }
  }
  // Adds a key that is not in the map yet (null is never a key).
  void insert(const void* key, uint32_t value) {
    if (key == nullptr) return;
    if (2 * (Count + 1) > Slots.size()) Grow();
    Place(key, value);
    ++Count;
  }
  size_t size() const { return Count; }

 private:
  using TSlot = std::pair<const void*, uint32_t>;
  size_t Start(const void* key) const {
    const uint64_t mixed = reinterpret_cast<uintptr_t>(key) * 0x9E3779B97F4A7C15u;
    return static_cast<size_t>(mixed >> Shift);
  }
  void Place(const void* key, uint32_t value) {
    size_t slot = Start(key);
    while (Slots[slot].first != nullptr) slot = (slot + 1) & (Slots.size() - 1);
    Slots[slot] = TSlot(key, value);
  }
  void Grow() {
    std::vector<TSlot> old;
    old.swap(Slots);
    const size_t size = old.empty() ? 8 : old.size() * 2;
    Slots.assign(size, TSlot(nullptr, 0));
    Shift = 64 - std::countr_zero(size);
    for (const TSlot& slot : old)
      if (slot.first != nullptr) Place(slot.first, slot.second);
  }
  std::vector<TSlot> Slots;
  size_t Count = 0;
  int Shift = 64;
};

}  // namespace zintrel

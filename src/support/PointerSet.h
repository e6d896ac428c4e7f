#pragma once
// A set of pointers that only grows: open addressing in a power-of-two table at most half full,
// so that a lookup is a multiply, a shift and a probe or two, with no node per element.
#include <bit>
#include <cstddef>
#include <cstdint>
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

}  // namespace zintrel

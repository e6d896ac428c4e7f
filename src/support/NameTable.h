#pragma once
// Tables keyed by names, in insertion order. Most hold a few names (the locals of a block, the
// members of a class), which are found by comparing them one by one (one pointer each); larger
// ones also keep an open-addressing index.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "support/Name.h"

namespace zintrel {

template <class Value>
class TNameTable {
 public:
  using value_type = std::pair<TName, Value>;
  using iterator = value_type*;
  using const_iterator = const value_type*;

  iterator begin() { return Entries.data(); }
  iterator end() { return Entries.data() + Entries.size(); }
  const_iterator begin() const { return Entries.data(); }
  const_iterator end() const { return Entries.data() + Entries.size(); }
  size_t size() const { return Entries.size(); }
  bool empty() const { return Entries.empty(); }
  void clear() {
    Entries.clear();
    Slots.clear();
  }
  iterator find(const TName& key) { return Entries.data() + Place(key); }
  const_iterator find(const TName& key) const { return Entries.data() + Place(key); }
  // Adds the name with the value unless the table has it already (its value then stays).
  std::pair<iterator, bool> try_emplace(const TName& key, Value value) {
    if (const size_t place = Place(key); place != Entries.size()) return {&Entries[place], false};
    if (Entries.empty()) Entries.reserve(4);
    Entries.emplace_back(key, std::move(value));
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
  // The name's value, made with Value{} when the name is new.
  Value& operator[](const TName& key) { return try_emplace(key, Value{}).first->second; }

 private:
  static constexpr size_t LinearLimit = 8;
  static size_t Hash(const TName& key) { return TNameHash{}(key); }
  // The place of the name's entry; the number of entries when there is none.
  size_t Place(const TName& key) const {
    if (Slots.empty()) {
      for (size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i].first == key) return i;
      return Entries.size();
    }
    const size_t mask = Slots.size() - 1;
    for (size_t slot = Hash(key) & mask;; slot = (slot + 1) & mask) {
      const uint32_t entry = Slots[slot];
      if (entry == 0) return Entries.size();
      if (Entries[entry - 1].first == key) return entry - 1;
    }
  }
  void Index(uint32_t entry) {
    const size_t mask = Slots.size() - 1;
    size_t slot = Hash(Entries[entry - 1].first) & mask;
    while (Slots[slot] != 0) slot = (slot + 1) & mask;
    Slots[slot] = entry;
  }
  std::vector<value_type> Entries;
  // Entry number + 1 per slot, 0 for a free slot; empty while the table is small.
  std::vector<uint32_t> Slots;
};

}  // namespace zintrel

#include "support/Name.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "support/Text.h"

namespace zintrel {

namespace {

// Open addressing over the spellings; entries are never removed, and the table keeps them
// reachable until the process ends.
struct TNameTable {
  std::vector<const void*> Slots = std::vector<const void*>(1024, nullptr);
  size_t Count = 0;
};

// Eight bytes at a time, then mixed so that the low bits the table uses depend on every byte.
size_t HashOf(std::string_view text) {
  uint64_t h = text.size() * 0x9E3779B97F4A7C15u;
  size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    h = (h ^ word) * 0xFF51AFD7ED558CCDu;
    h ^= h >> 32;
  }
  // The last bytes: overlapping reads instead of a byte loop (the length is in h already).
  const size_t left = text.size() - at;
  const char* tail = text.data() + at;
  uint64_t rest = 0;
  if (left >= 4) {
    uint32_t low, high;
    std::memcpy(&low, tail, 4);
    std::memcpy(&high, tail + left - 4, 4);
    rest = (uint64_t{high} << 32) | low;
  } else if (left != 0) {
    rest = static_cast<uint64_t>(static_cast<unsigned char>(tail[0])) |
           static_cast<uint64_t>(static_cast<unsigned char>(tail[left / 2])) << 8 |
           static_cast<uint64_t>(static_cast<unsigned char>(tail[left - 1])) << 16;
  }
  h ^= rest;
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDu;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53u;
  h ^= h >> 33;
  return static_cast<size_t>(h);
}

TNameTable& Table() {
  // Never destroyed: the entries stay reachable through it until the process has ended.
  static auto* table = new TNameTable();
  return *table;
}

}  // namespace

const TName::TEntry* TName::Empty() {
  static const TEntry* empty = Intern("");
  return empty;
}

const TName::TEntry* TName::Fold(const std::string& text) { return Intern(ToLower(text)); }

const TName::TEntry* TName::Intern(std::string_view text) {
  TNameTable& table = Table();
  const size_t hash = HashOf(text);
  for (size_t mask = table.Slots.size() - 1, slot = hash & mask;; slot = (slot + 1) & mask) {
    const auto* entry = static_cast<const TEntry*>(table.Slots[slot]);
    if (entry == nullptr) break;
    if (entry->Hash == hash && entry->Text == text) return entry;
  }
  const auto* entry = new TEntry{std::string(text), hash, nullptr};
  // Kept at most half full; growing places every entry anew.
  if (2 * (table.Count + 1) > table.Slots.size()) {
    std::vector<const void*> slots(table.Slots.size() * 2, nullptr);
    const size_t mask = slots.size() - 1;
    for (const void* old : table.Slots) {
      if (old == nullptr) continue;
      size_t slot = static_cast<const TEntry*>(old)->Hash & mask;
      while (slots[slot] != nullptr) slot = (slot + 1) & mask;
      slots[slot] = old;
    }
    table.Slots.swap(slots);
  }
  const size_t mask = table.Slots.size() - 1;
  size_t slot = hash & mask;
  while (table.Slots[slot] != nullptr) slot = (slot + 1) & mask;
  table.Slots[slot] = entry;
  ++table.Count;
  return entry;
}

}  // namespace zintrel

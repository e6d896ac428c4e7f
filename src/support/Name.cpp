#include "support/Name.h"

#include <cstdint>
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

size_t HashOf(std::string_view text) {
  uint64_t h = 0xcbf29ce484222325u;
  for (char c : text) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
  return static_cast<size_t>(h ^ (h >> 29));
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
  for (size_t mask = table.Slots.size() - 1, slot = HashOf(text) & mask;;
       slot = (slot + 1) & mask) {
    const auto* entry = static_cast<const TEntry*>(table.Slots[slot]);
    if (entry == nullptr) break;
    if (entry->Text == text) return entry;
  }
  const auto* entry = new TEntry{std::string(text), nullptr};
  // Kept at most half full; growing places every entry anew.
  if (2 * (table.Count + 1) > table.Slots.size()) {
    std::vector<const void*> slots(table.Slots.size() * 2, nullptr);
    const size_t mask = slots.size() - 1;
    for (const void* old : table.Slots) {
      if (old == nullptr) continue;
      size_t slot = HashOf(static_cast<const TEntry*>(old)->Text) & mask;
      while (slots[slot] != nullptr) slot = (slot + 1) & mask;
      slots[slot] = old;
    }
    table.Slots.swap(slots);
  }
  const size_t mask = table.Slots.size() - 1;
  size_t slot = HashOf(text) & mask;
  while (table.Slots[slot] != nullptr) slot = (slot + 1) & mask;
  table.Slots[slot] = entry;
  ++table.Count;
  return entry;
}

}  // namespace zintrel

#pragma once
// Names as the program spells them (identifiers of declarations, uses and class types),
// interned: each spelling is stored once for the whole run, and finds its lower-cased form once,
// since names compare case-insensitively. A name is one pointer, so the many nodes holding one
// stay small, and a lookup takes the lower-cased form without building it.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace zintrel {

class TName {
 public:
  TName() : Entry(Empty()) {}
  TName(std::string_view text) : Entry(Intern(text)) {}  // NOLINT: names convert freely
  TName(const std::string& text) : Entry(Intern(text)) {}  // NOLINT
  TName(const char* text) : Entry(Intern(text)) {}         // NOLINT

  const std::string& str() const { return Entry->Text; }
  operator const std::string&() const { return Entry->Text; }  // NOLINT
  operator std::string_view() const { return Entry->Text; }     // NOLINT
  // The spelling with ASCII letters lower-cased, as names are compared.
  const std::string& Lower() const { return FoldedEntry()->Text; }
  // The name of that spelling: names that differ only in case have the same folded name.
  TName Folded() const { return TName(FoldedEntry()); }
  // The same pointer for the same spelling, for hashing.
  const void* Identity() const { return Entry; }
  // The name whose Identity() that is.
  static TName FromIdentity(const void* identity) {
    return TName(static_cast<const TEntry*>(identity));
  }

  const char* c_str() const { return Entry->Text.c_str(); }
  const char* data() const { return Entry->Text.data(); }
  size_t size() const { return Entry->Text.size(); }
  size_t length() const { return Entry->Text.size(); }
  bool empty() const { return Entry->Text.empty(); }
  char operator[](size_t i) const { return Entry->Text[i]; }
  std::string::const_iterator begin() const { return Entry->Text.begin(); }
  std::string::const_iterator end() const { return Entry->Text.end(); }
  int compare(const std::string& other) const { return Entry->Text.compare(other); }

  // Spellings compare as written: "Count" and "count" are two names that share Lower().
  friend bool operator==(const TName& a, const TName& b) { return a.Entry == b.Entry; }
  friend bool operator==(const TName& a, const std::string& b) { return a.Entry->Text == b; }
  friend bool operator==(const TName& a, const char* b) { return a.Entry->Text == b; }
  friend bool operator<(const TName& a, const TName& b) { return a.Entry->Text < b.Entry->Text; }

  friend std::string operator+(const std::string& a, const TName& b) { return a + b.str(); }
  friend std::string operator+(std::string&& a, const TName& b) { return std::move(a) + b.str(); }
  friend std::string operator+(const char* a, const TName& b) { return a + b.str(); }
  friend std::string operator+(const TName& a, const std::string& b) { return a.str() + b; }
  friend std::string operator+(const TName& a, const char* b) { return a.str() + b; }
  friend std::string operator+(const TName& a, char b) { return a.str() + b; }
  friend std::ostream& operator<<(std::ostream& out, const TName& name) {
    return out << name.str();
  }

 private:
  struct TEntry {
    std::string Text;
    size_t Hash;  // of Text, for the intern table
    // The entry of the lower-cased spelling (itself when it is one), found on first use: texts
    // never looked up (string literals) get none.
    mutable const TEntry* Folded;
  };
  explicit TName(const TEntry* entry) : Entry(entry) {}
  const TEntry* FoldedEntry() const {
    if (Entry->Folded == nullptr) Entry->Folded = Fold(Entry->Text);
    return Entry->Folded;
  }
  static const TEntry* Fold(const std::string& text);
  static const TEntry* Empty();
  static const TEntry* Intern(std::string_view text);
  const TEntry* Entry;
};

// Hashes names by spelling, for maps keyed by names (folded ones where case does not count).
struct TNameHash {
  size_t operator()(const TName& name) const {
    const auto bits = reinterpret_cast<uintptr_t>(name.Identity());
    return static_cast<size_t>((bits >> 4) * 0x9E3779B97F4A7C15u >> 16);
  }
};

}  // namespace zintrel

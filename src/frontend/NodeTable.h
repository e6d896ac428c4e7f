#pragma once
// The node handle table: the parser refers to every node and list it builds by a 32-bit handle.
// Entries are never removed or reused, so every node and list lives until the process ends.
#include <cstdint>
#include <string>
#include <vector>

namespace zintrel {

class TASTNode;

// Memory that is never given back, carved from large blocks: for what lives until the process
// ends (nodes, lists, scopes, dependency nodes, targets), with no per-object heap bookkeeping.
void* AllocateForever(size_t size);

// A base for the classes whose objects live until the process ends.
struct TForever {
  static void* operator new(size_t size) { return AllocateForever(size); }
  static void operator delete(void*) noexcept {}
};

// Base of everything the handle table can hold.
class TObject : public TForever {
 public:
  enum class Kind : uint8_t { Node, List, String };
  explicit TObject(Kind kind) : ObjectKind(kind) {}
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  const Kind ObjectKind;
};

// A string element of a list (class parent names).
class TStringObject : public TObject {
 public:
  explicit TStringObject(std::string value) : TObject(Kind::String), Value(std::move(value)) {}
  std::string Value;
};

// An insertion-ordered list made for the parser; holds nodes, or strings for parent-name lists.
class TList : public TObject {
 public:
  TList() : TObject(Kind::List) {}
  std::vector<TObject*> Items;
};

class TNodeTable {
 public:
  static constexpr int32_t InitialCapacity = 1024;
  // Stores the object under the next free handle and returns that handle; the table's room
  // doubles when it is full (entries already stored never move).
  static int32_t RegisterHandle(TObject* object);
  // Replaces the entry of a handle that was already given out.
  static void ReplaceEntry(int32_t handle, TObject* object);
  static TObject* HandleToObject(int32_t handle);
  static TASTNode* HandleToNode(int32_t handle);
  static TList* HandleToList(int32_t handle);
  static int32_t NodeCount();
  static size_t Capacity();
};

inline TASTNode* HandleToNode(int32_t handle) { return TNodeTable::HandleToNode(handle); }
inline TList* HandleToList(int32_t handle) { return TNodeTable::HandleToList(handle); }
inline int32_t RegisterHandle(TObject* object) { return TNodeTable::RegisterHandle(object); }

}  // namespace zintrel

#pragma once
// The node handle table: the parser refers to every node and list it builds by a 32-bit handle.
// A node's handle is its own until the process ends (handles number the nodes in the order they
// were made); the handle of a list given up goes to the next list made.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include <sanitizer/asan_interface.h>

namespace zintrel {

class TASTNode;

// Memory that is never given back, carved from large blocks: for what lives until the process
// ends (nodes, lists, scopes, dependency nodes, targets), with no per-object heap bookkeeping.
struct TForeverBlock {
  static char* Next;
  static size_t Left;
  // Starts a new block and takes the size from it.
  static void* Allocate(size_t size);
};
// Sizes that are a multiple of 16 get 16-byte alignment, others 8: an object's size is a
// multiple of its alignment, so no object needs more than that.
inline void* AllocateForever(size_t size) {
  const size_t alignment = size % 16 == 0 ? 16 : 8;
  size = (size + 7) & ~size_t{7};
  const size_t skip = reinterpret_cast<uintptr_t>(TForeverBlock::Next) & (alignment - 1);
  if (size + skip > TForeverBlock::Left) return TForeverBlock::Allocate(size);
  void* result = TForeverBlock::Next + skip;
  TForeverBlock::Next += size + skip;
  TForeverBlock::Left -= size + skip;
  return result;
}

// Room of objects given up before the process ends (nodes the parser made only to read their
// fields from), by size: the next object of that size takes it. Each spare object holds the
// link to the next one in its first pointer; under the address sanitizer it is poisoned, so a
// read of an object given up is reported. Sizes that are no multiple of 8 or larger than
// Largest are not kept.
struct TSpareObjects {
  static constexpr size_t Largest = 512;
  static inline void* First[Largest / 8 + 1] = {};
  static bool Kept(size_t size) { return size % 8 == 0 && size <= Largest; }
  static void* Take(size_t size) {
    void*& first = First[size / 8];
    void* object = first;
    if (object != nullptr) {
      ASAN_UNPOISON_MEMORY_REGION(object, size);
      first = *static_cast<void**>(object);
    }
    return object;
  }
  static void Give(void* object, size_t size) {
    void*& first = First[size / 8];
    *static_cast<void**>(object) = first;
    first = object;
    ASAN_POISON_MEMORY_REGION(object, size);
  }
};

// A base for the classes whose objects live until the process ends, or until they are given
// up with delete: their room then goes to the next object of the same size.
struct TForever {
  static void* operator new(size_t size) {
    if (TSpareObjects::Kept(size))
      if (void* object = TSpareObjects::Take(size)) return object;
    return AllocateForever(size);
  }
  static void operator delete(void* object, size_t size) noexcept {
    if (TSpareObjects::Kept(size)) TSpareObjects::Give(object, size);
  }
};

// Small room that lists have outgrown, by size (2, 4, ..., 512 pointers): the next list that
// needs room of that size takes it, instead of the room staying unused in the never-freed
// blocks. Each spare room holds the link to the next one in its first pointer; under the
// address sanitizer a spare room is poisoned, so reading a list's room after it was given up is
// reported.
struct TSpareRooms {
  static constexpr int Classes = 9;
  static inline void* First[Classes] = {};
  // The class of a power-of-two capacity from 2 to 512.
  static int ClassOf(uint32_t capacity) { return __builtin_ctz(capacity) - 1; }
  static void* Take(uint32_t capacity) {
    void*& first = First[ClassOf(capacity)];
    void* room = first;
    if (room != nullptr) {
      ASAN_UNPOISON_MEMORY_REGION(room, sizeof(void*) * capacity);
      first = *static_cast<void**>(room);
    }
    return room;
  }
  static void Give(void* room, uint32_t capacity) {
    void*& first = First[ClassOf(capacity)];
    *static_cast<void**>(room) = first;
    first = room;
    ASAN_POISON_MEMORY_REGION(room, sizeof(void*) * capacity);
  }
};

// A list of pointers for lists that live as long as the objects holding them (children of
// nodes, the parser's lists). Most of them hold one to three entries: a list of one keeps its
// entry in place of the room pointer, and a longer list has room for the power of two at or
// above its count, so the count alone says how much room there is (the list is 12 bytes, and a
// node puts a field of its own in the 4 bytes after it). Small room comes from the never-freed
// blocks, and what a growth or a shrink leaves behind goes to the spare rooms for the next list;
// the room of a long list is on the heap and given back when the list changes size or goes.
template <class T>
class TForeverList {
  static_assert(std::is_pointer_v<T>, "the list holds pointers");

 public:
  TForeverList() = default;
  TForeverList(const TForeverList& other) { *this = other; }
  ~TForeverList() { Release(Room, Count); }
  TForeverList& operator=(const TForeverList& other) {
    if (this != &other) {
      clear();
      insert(end(), other.begin(), other.end());
    }
    return *this;
  }
  TForeverList& operator=(std::initializer_list<T> items) {
    clear();
    insert(end(), items.begin(), items.end());
    return *this;
  }
  T* begin() { return Count == 1 ? &One : Room; }
  T* end() { return begin() + Count; }
  const T* begin() const { return Count == 1 ? &One : Room; }
  const T* end() const { return begin() + Count; }
  std::reverse_iterator<T*> rbegin() { return std::reverse_iterator<T*>(end()); }
  std::reverse_iterator<T*> rend() { return std::reverse_iterator<T*>(begin()); }
  size_t size() const { return Count; }
  bool empty() const { return Count == 0; }
  T operator[](size_t i) const { return begin()[i]; }
  T at(size_t i) const {
    if (i >= Count) throw std::out_of_range("list entry " + std::to_string(i));
    return begin()[i];
  }
  T front() const { return begin()[0]; }
  T back() const { return begin()[Count - 1]; }
  void clear() {
    Release(Room, Count);
    Room = nullptr;
    Count = 0;
  }
  // Removes every entry that is the value.
  void erase(const std::remove_pointer_t<T>* value) {
    const auto kept = static_cast<uint32_t>(std::remove(begin(), end(), value) - begin());
    if (CapacityOf(kept) != CapacityOf(Count)) Resize(kept);
    Count = kept;
  }
  void push_back(T value) {
    if (Count == 0) {
      One = value;
      Count = 1;
      return;
    }
    if (Count == 1 || (Count & (Count - 1)) == 0) Resize(Count + 1);
    Room[Count++] = value;
  }
  T* insert(T* at, T value) { return insert(at, &value, &value + 1); }
  template <class Iterator>
  T* insert(T* at, Iterator first, Iterator last) {
    const auto offset = static_cast<uint32_t>(at - begin());
    const auto added = static_cast<uint32_t>(std::distance(first, last));
    const uint32_t count = Count + added;
    if (added == 0) return begin() + offset;
    if (CapacityOf(count) == CapacityOf(Count) && Count >= 2) {
      T* place = Room + offset;
      if constexpr (std::is_pointer_v<Iterator>) {
        // Entries taken from this very list are copied first, as the move makes way for them.
        const auto* source = static_cast<const void*>(&*first);
        if (std::less_equal<const void*>()(Room, source) &&
            std::less<const void*>()(source, Room + Count)) {
          const std::vector<T> entries(first, last);
          return insert(at, entries.begin(), entries.end());
        }
      }
      std::move_backward(place, Room + Count, Room + count);
      std::copy(first, last, place);
      Count = count;
      return place;
    }
    if (count == 1) {
      // Nothing was here before: the one entry takes the place of the room pointer.
      One = *first;
      Count = 1;
      return &One;
    }
    // New room: the old one (which the entries may come from) is given back after the copy.
    T* room = NewRoom(CapacityOf(count));
    std::copy(begin(), begin() + offset, room);
    std::copy(first, last, room + offset);
    std::copy(begin() + offset, end(), room + offset + added);
    Release(Room, Count);
    Room = room;
    Count = count;
    return Room + offset;
  }
  friend bool operator==(const TForeverList& a, const std::vector<T>& b) {
    return a.Count == b.size() && std::equal(a.begin(), a.end(), b.begin());
  }
  friend std::ostream& operator<<(std::ostream& out, const TForeverList& list) {
    out << "{";
    for (size_t i = 0; i < list.Count; ++i) out << (i ? ", " : "") << list[i];
    return out << "}";
  }

 private:
  static constexpr uint32_t HeapCapacity = 1024;
  static_assert(sizeof(T) == sizeof(void*), "spare rooms are sized in pointers");
  // Entries the room of a list of the count holds: none, the one in place, or a power of two.
  static uint32_t CapacityOf(uint32_t count) { return count <= 1 ? count : std::bit_ceil(count); }
  static T* NewRoom(uint32_t capacity) {
    const size_t bytes = sizeof(T) * capacity;
    void* room = capacity >= HeapCapacity ? ::operator new(bytes) : TSpareRooms::Take(capacity);
    return static_cast<T*>(room != nullptr ? room : AllocateForever(bytes));
  }
  // Moves the first entries (as many as fit) to the room of a list of the count, which the
  // caller then sets.
  void Resize(uint32_t count) {
    const uint32_t kept = std::min(Count, count);
    if (count <= 1) {
      T entry = kept == 1 ? begin()[0] : nullptr;
      Release(Room, Count);
      if (count == 1) {
        One = entry;
      } else {
        Room = nullptr;
      }
      return;
    }
    T* room = NewRoom(CapacityOf(count));
    std::copy(begin(), begin() + kept, room);
    Release(Room, Count);
    Room = room;
  }
  // Gives back the room of a list of the count: to the heap when it came from there, else to
  // the spare rooms. A list of one has its entry in place: there is no room.
  static void Release(T* room, uint32_t count) {
    if (count <= 1) return;
    const uint32_t capacity = CapacityOf(count);
    if (capacity >= HeapCapacity) {
      ::operator delete(room);
    } else {
      TSpareRooms::Give(room, capacity);
    }
  }
  // Count 0: no room; 1: One holds the entry; more: Room points to the entries.
  union {
    T* Room = nullptr;
    T One;
  };
  uint32_t Count = 0;
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
// Lists are made and given up by the thousand while a file is parsed (the nodes take their
// entries): a list given up leaves its object to the next list and its room to the spare rooms.
class TList : public TObject {
 public:
  TList() : TObject(Kind::List) {}
  static void* operator new(size_t size);
  static void operator delete(void* list) noexcept;
  TForeverList<TObject*> Items;
};

class TNodeTable {
 public:
  static constexpr int32_t InitialCapacity = 1024;
  // Stores the object under the next free handle (a list may take the handle of one given up)
  // and returns that handle; the table's room doubles when it is full (entries already stored
  // never move).
  static int32_t RegisterHandle(TObject* object) {
    if (object->ObjectKind == TObject::Kind::List && !SpareListHandles.empty()) {
      const int32_t handle = SpareListHandles.back();
      SpareListHandles.pop_back();
      State.Entry(handle) = object;
      return handle;
    }
    if (static_cast<size_t>(State.Count) >= State.Capacity)
      State.Capacity = static_cast<size_t>(State.Count) * 2;
    if ((State.Count & (ChunkSize - 1)) == 0) AddChunk();
    State.Entry(State.Count) = object;
    return State.Count++;
  }
  // Replaces the entry of a handle that was already given out.
  static void ReplaceEntry(int32_t handle, TObject* object);
  static TObject* HandleToObject(int32_t handle) {
    if (handle < 0 || handle >= State.Count) return nullptr;
    return State.Entry(handle);
  }
  // Defined with the node class (model/ASTNode.h).
  static inline TASTNode* HandleToNode(int32_t handle);
  static TList* HandleToList(int32_t handle);
  // The list under the handle, for the reader that is its last: the list is given up by the
  // next ReleaseTaken, once the reading is done. The parser calls it before each of its
  // rule actions and when it ends, so a list lives no longer than the action reading it last.
  static TList* TakeList(int32_t handle);
  // Likewise for a node the parser made only for its fields to be taken over by another (the
  // comparison an assignment is parsed as, a function's heading): the node is given up, and
  // its room goes to the next node of its size. Its children must have found their new
  // parents by then; a child left pointing at it has no parent any more.
  static TASTNode* TakeNode(int32_t handle);
  static void ReleaseTaken() {
    if (!Taken.empty()) ReleaseTakenNow();
  }
  static int32_t NodeCount() { return State.Count; }
  static size_t Capacity() { return State.Capacity; }

 private:
  static inline std::vector<int32_t> Taken;
  // Handles of lists given up: the parser makes and gives up lists by the hundred thousand,
  // never more than a few at a time.
  static inline std::vector<int32_t> SpareListHandles;
  static void ReleaseTakenNow();

  // The entries live in chunks that never move: growing the table adds chunks instead of
  // copying every entry into a table twice as large. Capacity still doubles, as room is
  // counted. The chunk pointers are zero before the first handle, with no constructor to run.
  static constexpr int32_t ChunkBits = 12;
  static constexpr int32_t ChunkSize = int32_t{1} << ChunkBits;
  static constexpr size_t MaxChunks = (size_t{1} << 31) >> ChunkBits;
  struct TState {
    TObject** Chunks[MaxChunks];
    int32_t Count;
    size_t Capacity = InitialCapacity;
    TObject*& Entry(int32_t handle) {
      const auto index = static_cast<size_t>(handle);
      return Chunks[index >> ChunkBits][index & (ChunkSize - 1)];
    }
  };
  static void AddChunk();
  static TState State;
};

inline TList* HandleToList(int32_t handle) { return TNodeTable::HandleToList(handle); }
inline TList* TakeList(int32_t handle) { return TNodeTable::TakeList(handle); }
inline TASTNode* TakeNode(int32_t handle) { return TNodeTable::TakeNode(handle); }
inline int32_t RegisterHandle(TObject* object) { return TNodeTable::RegisterHandle(object); }

}  // namespace zintrel

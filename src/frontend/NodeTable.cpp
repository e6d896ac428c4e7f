#include "frontend/NodeTable.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include <sys/mman.h>

#include "model/ASTNode.h"

namespace zintrel {

namespace {

// The entries live in chunks that never move: growing the table adds chunks instead of copying
// every entry into a table twice as large. Capacity still doubles, as room is counted.
constexpr int32_t ChunkBits = 12;
constexpr int32_t ChunkSize = int32_t{1} << ChunkBits;

struct Table {
  std::vector<std::unique_ptr<TObject*[]>> Chunks;
  int32_t Count = 0;
  size_t Capacity = TNodeTable::InitialCapacity;
  TObject*& Entry(int32_t handle) {
    const auto index = static_cast<size_t>(handle);
    return Chunks[index >> ChunkBits][index & (ChunkSize - 1)];
  }
};

// Never destroyed: what is registered stays reachable through the table until the process has
// ended, the leak checker's scan at exit included.
Table& TheTable() {
  static Table& table = *new Table();
  return table;
}

}  // namespace

void* AllocateForever(size_t size) {
  static char* next = nullptr;
  static size_t left = 0;
  constexpr size_t Alignment = alignof(std::max_align_t);
  size = (size + Alignment - 1) & ~(Alignment - 1);
  if (size > left) {
    // Blocks are mapped with their pages present: a large program fills hundreds of megabytes
    // with nodes, and taking each fresh page by a fault of its own costs more than making it.
    // They grow from a quarter of a megabyte to four, so a small program maps little.
#ifdef __SANITIZE_ADDRESS__
    // The leak checker scans the heap, not mapped blocks, for what nodes refer to.
    size_t block = std::max<size_t>(size, size_t{1} << 20);
    void* mapped = MAP_FAILED;
#else
    static size_t nextBlock = size_t{1} << 18;
    size_t block = std::max<size_t>(size, nextBlock);
    nextBlock = std::min<size_t>(nextBlock * 2, size_t{4} << 20);
    void* mapped = mmap(nullptr, block, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
#endif
    next = mapped != MAP_FAILED ? static_cast<char*>(mapped) : static_cast<char*>(::operator new(block));
    left = block;
  }
  void* result = next;
  next += size;
  left -= size;
  return result;
}

int32_t TNodeTable::RegisterHandle(TObject* object) {
  Table& t = TheTable();
  if (static_cast<size_t>(t.Count) >= t.Capacity) t.Capacity = static_cast<size_t>(t.Count) * 2;
  if ((t.Count & (ChunkSize - 1)) == 0)
    t.Chunks.push_back(std::make_unique_for_overwrite<TObject*[]>(ChunkSize));
  t.Entry(t.Count) = object;
  return t.Count++;
}

void TNodeTable::ReplaceEntry(int32_t handle, TObject* object) {
  Table& t = TheTable();
  if (handle >= 0 && handle < t.Count) t.Entry(handle) = object;
}

TObject* TNodeTable::HandleToObject(int32_t handle) {
  Table& t = TheTable();
  if (handle < 0 || handle >= t.Count) return nullptr;
  return t.Entry(handle);
}

TASTNode* TNodeTable::HandleToNode(int32_t handle) {
  TObject* object = HandleToObject(handle);
  if (object == nullptr || object->ObjectKind != TObject::Kind::Node) return nullptr;
  return static_cast<TASTNode*>(object);
}

TList* TNodeTable::HandleToList(int32_t handle) {
  TObject* object = HandleToObject(handle);
  if (object == nullptr || object->ObjectKind != TObject::Kind::List) return nullptr;
  return static_cast<TList*>(object);
}

int32_t TNodeTable::NodeCount() { return TheTable().Count; }

size_t TNodeTable::Capacity() { return TheTable().Capacity; }

}  // namespace zintrel

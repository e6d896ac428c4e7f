#include "frontend/NodeTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <sys/mman.h>

#include "model/ASTNode.h"
#include "support/Messages.h"

namespace zintrel {

TNodeTable::TState TNodeTable::State;
char* TForeverBlock::Next = nullptr;
size_t TForeverBlock::Left = 0;

#ifndef __SANITIZE_ADDRESS__
namespace {

constexpr size_t HugePage = size_t{2} << 20;
// Address room reserved at a time for huge-page blocks; only what blocks take of it is ever
// backed by memory.
constexpr size_t HugeRegion = size_t{64} << 20;

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

// Maps a block with its pages present. A large program fills hundreds of megabytes with
// nodes, and taking each fresh 4 KB page by a fault of its own costs more than the parse: a
// block of 2 MB is one huge page where the kernel offers them, carved from a reserved region
// aligned to the huge page. Answers null when nothing could be mapped.
char* MapBlock(size_t block) {
  if (block != HugePage) {
    void* mapped = mmap(nullptr, block, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    return mapped != MAP_FAILED ? static_cast<char*>(mapped) : nullptr;
  }
  static char* region = nullptr;
  static size_t regionLeft = 0;
  if (regionLeft < block) {
    void* mapped = mmap(nullptr, HugeRegion + HugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    char* start = static_cast<char*>(mapped);
    char* aligned = reinterpret_cast<char*>(
        (reinterpret_cast<uintptr_t>(start) + HugePage - 1) & ~(uintptr_t{HugePage} - 1));
    if (aligned != start) munmap(start, static_cast<size_t>(aligned - start));
    char* end = aligned + HugeRegion;
    if (end != start + HugeRegion + HugePage)
      munmap(end, static_cast<size_t>(start + HugeRegion + HugePage - end));
#ifdef MADV_HUGEPAGE
    madvise(aligned, HugeRegion, MADV_HUGEPAGE);
#endif
    region = aligned;
    regionLeft = HugeRegion;
  }
  char* taken = region;
  region += block;
  regionLeft -= block;
  // Kernels before 5.14 do not know the request: the block's pages are then touched one by one.
  if (madvise(taken, block, MADV_POPULATE_WRITE) != 0)
    for (size_t offset = 0; offset < block; offset += 4096) taken[offset] = 0;
  return taken;
}

}  // namespace
#endif

void* TForeverBlock::Allocate(size_t size) {
  // A large object gets room of its own; the block in use stays in use.
  if (size >= (size_t{1} << 16)) return ::operator new(size);
  // Blocks grow from a quarter of a megabyte to two, so a small program maps little.
#ifdef __SANITIZE_ADDRESS__
  // The leak checker scans the heap, not mapped blocks, for what nodes refer to.
  size_t block = std::max<size_t>(size, size_t{1} << 20);
  char* mapped = nullptr;
#else
  static size_t nextBlock = size_t{1} << 18;
  size_t block = std::max<size_t>(size, nextBlock);
  nextBlock = std::min<size_t>(nextBlock * 2, size_t{2} << 20);
  char* mapped = MapBlock(block);
#endif
  Next = mapped != nullptr ? mapped : static_cast<char*>(::operator new(block));
  Left = block;
  void* result = Next;
  Next += size;
  Left -= size;
  return result;
}

void TNodeTable::AddChunk() {
  // The last chunk is never started, so the count of handles stays below the 32-bit limit.
  if (static_cast<size_t>(State.Count >> ChunkBits) + 1 >= MaxChunks)
    AbortWithMessage("Fatal compiler error: too many nodes");
  // Never freed, like what it registers: under the leak checker the never-freed blocks are on
  // the heap, so everything stays reachable through the table until the process has ended.
  State.Chunks[State.Count >> ChunkBits] =
      static_cast<TObject**>(AllocateForever(sizeof(TObject*) * ChunkSize));
}

void TNodeTable::ReplaceEntry(int32_t handle, TObject* object) {
  if (handle >= 0 && handle < State.Count) State.Entry(handle) = object;
}

TList* TNodeTable::HandleToList(int32_t handle) {
  TObject* object = HandleToObject(handle);
  if (object == nullptr || object->ObjectKind != TObject::Kind::List) return nullptr;
  return static_cast<TList*>(object);
}

TList* TNodeTable::TakeList(int32_t handle) {
  TList* list = HandleToList(handle);
  if (list != nullptr) Taken.push_back(handle);
  return list;
}

TASTNode* TNodeTable::TakeNode(int32_t handle) {
  TASTNode* node = HandleToNode(handle);
  if (node != nullptr) Taken.push_back(handle);
  return node;
}

void TNodeTable::ReleaseTakenNow() {
  // What was taken twice is given up once: its entry is empty the second time. Nodes let go of
  // their children before anything is given up, as a child may have been taken too.
  static std::vector<TObject*> objects;
  for (int32_t handle : Taken) {
    TObject* object = HandleToObject(handle);
    if (object == nullptr) continue;
    State.Entry(handle) = nullptr;
    objects.push_back(object);
    if (object->ObjectKind == TObject::Kind::List) SpareListHandles.push_back(handle);
    if (object->ObjectKind == TObject::Kind::Node) {
      auto* node = static_cast<TASTNode*>(object);
      node->ForEachChild([](TASTNode* child) { child->Parent = nullptr; });
    }
  }
  Taken.clear();
  for (TObject* object : objects) {
    if (object->ObjectKind == TObject::Kind::List) delete static_cast<TList*>(object);
    else delete static_cast<TASTNode*>(object);
  }
  objects.clear();
}

namespace {
// List objects given up, each holding the link to the next in its first bytes (and poisoned
// under the address sanitizer, so a read of a list given up is reported).
void* SpareListObjects = nullptr;
}  // namespace

void* TList::operator new(size_t size) {
  if (size != sizeof(TList) || SpareListObjects == nullptr) return AllocateForever(size);
  void* list = SpareListObjects;
  ASAN_UNPOISON_MEMORY_REGION(list, sizeof(TList));
  SpareListObjects = *static_cast<void**>(list);
  return list;
}

void TList::operator delete(void* list) noexcept {
  if (list == nullptr) return;
  *static_cast<void**>(list) = SpareListObjects;
  SpareListObjects = list;
  ASAN_POISON_MEMORY_REGION(list, sizeof(TList));
}

}  // namespace zintrel

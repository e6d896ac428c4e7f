#include "frontend/NodeTable.h"

#include <algorithm>
#include <cstddef>

#include <sys/mman.h>

#include "model/ASTNode.h"
#include "support/Messages.h"

namespace zintrel {

TNodeTable::TState TNodeTable::State;
char* TForeverBlock::Next = nullptr;
size_t TForeverBlock::Left = 0;

void* TForeverBlock::Allocate(size_t size) {
  // A large object gets room of its own; the block in use stays in use.
  if (size >= (size_t{1} << 16)) return ::operator new(size);
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
  Next = mapped != MAP_FAILED ? static_cast<char*>(mapped) : static_cast<char*>(::operator new(block));
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
  // Never freed: what is registered stays reachable through the table until the process has
  // ended, the leak checker's scan at exit included.
  State.Chunks[State.Count >> ChunkBits] = new TObject*[ChunkSize];
}

void TNodeTable::ReplaceEntry(int32_t handle, TObject* object) {
  if (handle >= 0 && handle < State.Count) State.Entry(handle) = object;
}

TList* TNodeTable::HandleToList(int32_t handle) {
  TObject* object = HandleToObject(handle);
  if (object == nullptr || object->ObjectKind != TObject::Kind::List) return nullptr;
  return static_cast<TList*>(object);
}

}  // namespace zintrel

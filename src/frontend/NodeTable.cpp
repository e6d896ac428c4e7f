#include "frontend/NodeTable.h"

#include <algorithm>
#include <cstddef>

#include <sys/mman.h>

#include "model/ASTNode.h"

namespace zintrel {

namespace {

struct Table {
  std::vector<TObject*> Entries = std::vector<TObject*>(TNodeTable::InitialCapacity, nullptr);
  int32_t Count = 0;
};

Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

void* TObject::operator new(size_t size) {
  static char* next = nullptr;
  static size_t left = 0;
  constexpr size_t Alignment = alignof(std::max_align_t);
  size = (size + Alignment - 1) & ~(Alignment - 1);
  if (size > left) {
    // Blocks are mapped with their pages present: a large program fills hundreds of megabytes
    // with nodes, and taking each fresh page by a fault of its own costs more than making it.
    constexpr size_t Block = size_t{4} << 20;
    size_t block = std::max<size_t>(size, Block);
    void* mapped = mmap(nullptr, block, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
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
  if (static_cast<size_t>(t.Count) >= t.Entries.size())
    t.Entries.resize(static_cast<size_t>(t.Count) * 2, nullptr);
  t.Entries[static_cast<size_t>(t.Count)] = object;
  return t.Count++;
}

void TNodeTable::ReplaceEntry(int32_t handle, TObject* object) {
  Table& t = TheTable();
  if (handle >= 0 && handle < t.Count) t.Entries[static_cast<size_t>(handle)] = object;
}

TObject* TNodeTable::HandleToObject(int32_t handle) {
  Table& t = TheTable();
  if (handle < 0 || handle >= t.Count) return nullptr;
  return t.Entries[static_cast<size_t>(handle)];
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

size_t TNodeTable::Capacity() { return TheTable().Entries.size(); }

}  // namespace zintrel

// The compiler's operator new and delete. A compilation makes and drops hundreds of thousands of
// small heap objects (strings, vectors, map entries), each of which costs the C library's
// allocator a search and bookkeeping. Here a small object (up to 512 bytes) comes from a slab
// that holds objects of one size class only: a new object is the last one freed of its class, or
// the next unused one of the thread's slab for that class; a freed object goes on its thread's
// list of free objects of that class. Every slab lies in one reserved stretch of address space,
// so telling a small object from a larger one (which the C library allocates) is an address
// comparison, and a slab's first bytes say its class. Slabs are never given back: the process is
// short-lived and its heap is small next to its never-freed nodes.
//
// Builds with the address or thread sanitizer keep the C library's allocator, which the
// sanitizer watches.
#include <sys/mman.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZINTREL_KEEP_ALLOCATOR 1
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZINTREL_KEEP_ALLOCATOR 1
#endif
#endif

#ifndef ZINTREL_KEEP_ALLOCATOR

namespace {

constexpr size_t SlabBytes = size_t{64} << 10;
// Address space only: pages become memory when an object on them is first used.
constexpr size_t RegionBytes = size_t{64} << 30;
constexpr size_t ClassStep = 16;
constexpr size_t LargestSmall = 512;
constexpr size_t Classes = LargestSmall / ClassStep;
// A slab starts with its class; its objects follow, 16-byte aligned.
constexpr size_t SlabHeader = 16;

// The region, set up once by the first allocation that needs a slab: Limit stays 0, and every
// object comes from the C library, when the address space cannot be reserved. (Relaxed atomics
// are plain loads here; a thread reaches an object of the region only through the thread that
// made it, after the region was set up.)
std::atomic<uintptr_t> Base{0};
std::atomic<size_t> Limit{0};
std::atomic<size_t> SlabsUsed{0};

struct TFreeObject {
  TFreeObject* Next;
};

// Each thread takes from and gives to its own lists, so no lock is needed; an object freed by
// another thread than the one that made it joins the freeing thread's list.
struct TThreadSlabs {
  TFreeObject* Free[Classes];
  char* Next[Classes];
  char* End[Classes];
};
thread_local TThreadSlabs Slabs;

bool Reserve() {
  // Where address space is limited (a ulimit, a tool running the compiler), less is taken.
  for (size_t bytes = RegionBytes; bytes >= (size_t{256} << 20); bytes /= 16) {
    void* region = mmap(nullptr, bytes + SlabBytes, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (region == MAP_FAILED) continue;
    // Slabs are aligned to their size, so an object's slab is its address rounded down.
    Base.store((reinterpret_cast<uintptr_t>(region) + SlabBytes - 1) & ~(SlabBytes - 1),
               std::memory_order_relaxed);
    Limit.store(bytes, std::memory_order_release);
    return true;
  }
  return false;
}

[[gnu::noinline]] void* FromNewSlab(size_t index) {
  static const bool reserved = Reserve();  // once, whichever thread comes first
  const size_t bytes = (index + 1) * ClassStep;
  const size_t limit = Limit.load(std::memory_order_acquire);
  const size_t offset = !reserved ? 0 : SlabsUsed.fetch_add(SlabBytes, std::memory_order_relaxed);
  if (offset + SlabBytes > limit) return std::malloc(bytes);
  char* slab = reinterpret_cast<char*>(Base.load(std::memory_order_relaxed) + offset);
  *reinterpret_cast<size_t*>(slab) = index;
  Slabs.Next[index] = slab + SlabHeader + bytes;
  Slabs.End[index] = slab + SlabBytes;
  return slab + SlabHeader;
}

inline void* Allocate(size_t size) {
  if (size > LargestSmall) {
    if (void* large = std::malloc(size)) return large;
    throw std::bad_alloc();
  }
  const size_t index = size == 0 ? 0 : (size - 1) / ClassStep;
  TThreadSlabs& slabs = Slabs;
  if (TFreeObject* object = slabs.Free[index]) {
    slabs.Free[index] = object->Next;
    return object;
  }
  const size_t bytes = (index + 1) * ClassStep;
  char* next = slabs.Next[index];
  if (next != nullptr && static_cast<size_t>(slabs.End[index] - next) >= bytes) {
    slabs.Next[index] = next + bytes;
    return next;
  }
  if (void* object = FromNewSlab(index)) return object;
  throw std::bad_alloc();
}

inline void Free(void* object) {
  const uintptr_t address = reinterpret_cast<uintptr_t>(object);
  if (address - Base.load(std::memory_order_relaxed) >= Limit.load(std::memory_order_relaxed)) {
    std::free(object);  // large, null, or made before the region existed
    return;
  }
  const size_t index = *reinterpret_cast<const size_t*>(address & ~(SlabBytes - 1));
  auto* free = static_cast<TFreeObject*>(object);
  TThreadSlabs& slabs = Slabs;
  free->Next = slabs.Free[index];
  slabs.Free[index] = free;
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* object) noexcept { Free(object); }
void operator delete[](void* object) noexcept { Free(object); }
void operator delete(void* object, size_t) noexcept { Free(object); }
void operator delete[](void* object, size_t) noexcept { Free(object); }
void operator delete(void* object, const std::nothrow_t&) noexcept { Free(object); }
void operator delete[](void* object, const std::nothrow_t&) noexcept { Free(object); }

#endif

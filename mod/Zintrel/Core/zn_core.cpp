// Zintrel.Core: the collector behind every allocation, run-time errors, program arguments and
// the Object root class.
#include "zn_core.h"

#include <cxxabi.h>
#include <gc.h>
#include <gc/gc_inline.h>
#include <gc/gc_mark.h>
#include <new>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <typeinfo>
#include <unistd.h>

namespace __zn {

namespace {

bool CollectorReady = false;
int SavedArgumentCount = 0;
const char** SavedArguments = nullptr;

// Large blocks allocated again and again are normal for programs that build big arrays; the
// collector's warnings about them would only clutter standard error.
void IgnoreWarning(char*, GC_word) {}

// Small objects come from lists that the collector fills a batch at a time. The lists are
// reachable from here, so the collector never takes back an object that waits on them. Size
// class k holds objects of k granules; asking for one byte less than that keeps the collector's
// extra byte for pointers past the end inside the same class.
const size_t Granule = 16;
const size_t SmallClasses = 5;
void* SmallObjects[SmallClasses];

void* Scanned(size_t bytes) {
	if (bytes + 1 <= (SmallClasses - 1) * Granule) {
		size_t k = (bytes + Granule) / Granule;
		void* p = SmallObjects[k];
		if (__builtin_expect(p == nullptr, 0)) {
			if (!CollectorReady) InitCollector();
			p = GC_malloc_many(k * Granule - 1);
			if (p == nullptr) return nullptr;
		}
		SmallObjects[k] = GC_NEXT(p);
		GC_NEXT(p) = nullptr;
		return p;
	}
	if (__builtin_expect(!CollectorReady, 0)) InitCollector();
	return GC_MALLOC(bytes);
}

// Only blocks of the collected heap are freed; the shared empty string lives elsewhere. Small
// scanned objects go back to the lists above, so that the next allocation reuses them at once.
void Release(void* p) {
	if (p == nullptr) return;
	if (GC_base(p) != p) {
		ReviveIfEmptyString(p);
		return;
	}
	size_t size = 0;
	if (GC_get_kind_and_size(p, &size) == GC_I_NORMAL && size % Granule == 0 && size / Granule < SmallClasses) {
		memset(p, 0, size);
		GC_NEXT(p) = SmallObjects[size / Granule];
		SmallObjects[size / Granule] = p;
		return;
	}
	GC_FREE(p);
}

void* AllocateOrDie(size_t bytes) {
	void* p = Scanned(bytes);
	if (p == nullptr) OutOfMemory();
	return p;
}

void* AllocateAlignedOrDie(size_t bytes, std::align_val_t align) {
	if (__builtin_expect(!CollectorReady, 0)) InitCollector();
	void* p = GC_memalign(static_cast<size_t>(align), bytes);
	if (p == nullptr) OutOfMemory();
	return p;
}

} // namespace

void InitCollector() {
	if (CollectorReady) return;
	CollectorReady = true;
	GC_INIT();
	GC_set_warn_proc(IgnoreWarning);
	// Programs allocate many small short-lived objects; starting from a few megabytes of heap
	// instead of the collector's minimum halves the number of collections they cause.
	GC_expand_hp(static_cast<size_t>(4) << 20);
}

void* AllocScanned(size_t bytes) {
	return AllocateOrDie(bytes);
}

void Free(void* block) {
	Release(block);
}

void* AllocAtomic(size_t bytes) {
	if (__builtin_expect(!CollectorReady, 0)) InitCollector();
	void* p = GC_MALLOC_ATOMIC(bytes);
	if (p == nullptr) OutOfMemory();
	return p;
}

void Fatal(const char* what) {
	fflush(nullptr);
	fputs("Runtime error: ", stderr);
	fputs(what, stderr);
	fputc('\n', stderr);
	fflush(stderr);
	_exit(1);
}

void IndexOutOfBounds() {
	Fatal("array index out of bounds");
}

void NegativeArraySize() {
	Fatal("negative array size");
}

void OutOfMemory() {
	Fatal("out of memory");
}

void StartRuntime(int argc, const char* argv[]) {
	InitCollector();
	SavedArgumentCount = argv != nullptr && argc > 0 ? argc : 0;
	SavedArguments = argv;
}

int ArgumentCount() {
	return SavedArgumentCount;
}

const char* Argument(int index) {
	if (index < 0 || index >= SavedArgumentCount || SavedArguments[index] == nullptr) return "";
	return SavedArguments[index];
}

} // namespace __zn

String* Object::ToString() {
	const char* mangled = typeid(*this).name();
	int status = 0;
	char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
	String* name = new String(status == 0 && readable != nullptr ? readable : mangled);
	free(readable);
	return name;
}

// Every C++ allocation of a program goes to the collector; delete still frees at once.
void* operator new(size_t bytes) { return __zn::AllocateOrDie(bytes); }
void* operator new[](size_t bytes) { return __zn::AllocateOrDie(bytes); }
void* operator new(size_t bytes, const std::nothrow_t&) noexcept { return __zn::Scanned(bytes); }
void* operator new[](size_t bytes, const std::nothrow_t&) noexcept { return __zn::Scanned(bytes); }
void* operator new(size_t bytes, std::align_val_t align) { return __zn::AllocateAlignedOrDie(bytes, align); }
void* operator new[](size_t bytes, std::align_val_t align) { return __zn::AllocateAlignedOrDie(bytes, align); }

void* operator new(size_t bytes, std::align_val_t align, const std::nothrow_t&) noexcept {
	if (__builtin_expect(!__zn::CollectorReady, 0)) __zn::InitCollector();
	return GC_memalign(static_cast<size_t>(align), bytes);
}

void* operator new[](size_t bytes, std::align_val_t align, const std::nothrow_t& tag) noexcept {
	return operator new(bytes, align, tag);
}

void operator delete(void* p) noexcept { __zn::Release(p); }
void operator delete[](void* p) noexcept { __zn::Release(p); }
void operator delete(void* p, size_t) noexcept { __zn::Release(p); }
void operator delete[](void* p, size_t) noexcept { __zn::Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { __zn::Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { __zn::Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { __zn::Release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { __zn::Release(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { __zn::Release(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { __zn::Release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { __zn::Release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { __zn::Release(p); }

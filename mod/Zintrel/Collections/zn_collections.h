// Zintrel.Collections, C++ side: growable lists, hash maps from String keys that keep their
// keys in insertion order, and a string builder.
//
// The methods are not virtual, so that generated code calls them directly and g++ inlines the
// small ones (Get, Set, Add) into the program's loops; that is why the classes are Final on the
// Zintrel side: a Zintrel subclass could not override them. A Null String counts as the empty
// string, as it does in Zintrel.Core.
#ifndef ZN_COLLECTIONS_H
#define ZN_COLLECTIONS_H

#include "../Core/zn_core.h"

namespace __zn {

// Run-time errors of bad use.
[[noreturn]] __attribute__((cold, noinline)) void ListIndexOutOfBounds(int32_t index, int32_t count);
[[noreturn]] __attribute__((cold, noinline)) void MissingKey(String* key);
[[noreturn]] __attribute__((cold, noinline)) void NoCompareFunction();

// Storage for count elements, scanned by the collector unless the elements are numbers.
template<typename T> T* AllocItems(int64_t count) {
	if (count > INT32_MAX) OutOfMemory();
	size_t bytes = static_cast<size_t>(count) * sizeof(T);
	if constexpr (std::is_arithmetic_v<T>) return static_cast<T*>(AllocAtomic(bytes));
	else return static_cast<T*>(AllocScanned(bytes));
}

// The next capacity of a full storage: doubling, at least 8, at most what an Int counts.
int32_t GrownCapacity(int32_t capacity);

// Lengths are read as unsigned: they are never negative, and g++ then knows it.
inline uint32_t TextLength(String* s) { return s != nullptr ? static_cast<uint32_t>(s->_Length) : 0; }

inline bool SameText(String* a, String* b) {
	uint32_t n = TextLength(a);
	if (n != TextLength(b)) return false;
	return n == 0 || __builtin_memcmp(a->Data, b->Data, n) == 0;
}

// Bytewise, a prefix first.
inline int32_t CompareText(String* a, String* b) {
	uint32_t na = TextLength(a), nb = TextLength(b);
	uint32_t n = na < nb ? na : nb;
	int c = n == 0 ? 0 : __builtin_memcmp(a->Data, b->Data, n);
	if (c != 0) return c < 0 ? -1 : 1;
	return na < nb ? -1 : na > nb ? 1 : 0;
}

// The natural order of the element types that have one: NaN sorts after every number, so that
// the order is total and a sort of Doubles is well defined.
inline bool NaturalLess(int32_t a, int32_t b) { return a < b; }
inline bool NaturalLess(double a, double b) { return a < b || (b != b && a == a); }
inline bool NaturalLess(String* a, String* b) { return CompareText(a, b) < 0; }

inline bool SameElement(int32_t a, int32_t b) { return a == b; }
inline bool SameElement(double a, double b) { return a == b; }
inline bool SameElement(String* a, String* b) { return SameText(a, b); }
inline bool SameElement(Object* a, Object* b) { return a == b; }

// Stable merge sort. It only ever reads and writes inside the range, whatever the comparison
// answers, so an inconsistent compare function gives some order, never a crash (std::sort's
// unguarded loops may run past the range then).
template<typename T, typename Less> void InsertionSort(T* items, int32_t count, Less& less) {
	for (int32_t i = 1; i < count; i++) {
		T value = items[i];
		int32_t j = i;
		while (j > 0 && less(value, items[j - 1])) {
			items[j] = items[j - 1];
			j--;
		}
		items[j] = value;
	}
}

template<typename T, typename Less> void MergeSort(T* items, T* scratch, int32_t count, Less& less) {
	if (count <= 24) {
		InsertionSort(items, count, less);
		return;
	}
	int32_t half = count / 2;
	MergeSort(items, scratch, half, less);
	MergeSort(items + half, scratch, count - half, less);
	if (!less(items[half], items[half - 1])) return;
	__builtin_memcpy(static_cast<void*>(scratch), static_cast<const void*>(items), static_cast<size_t>(half) * sizeof(T));
	int32_t left = 0, right = half, out = 0;
	while (left < half && right < count) {
		if (less(items[right], scratch[left])) items[out++] = items[right++];
		else items[out++] = scratch[left++];
	}
	while (left < half) items[out++] = scratch[left++];
}

template<typename T, typename Less> void StableSort(T* items, int32_t count, Less less) {
	if (count < 2) return;
	T* scratch = count > 24 ? AllocItems<T>(count / 2) : nullptr;
	MergeSort(items, scratch, count, less);
	Free(scratch);
}

// The list behind ObjectList, IntList, DoubleList and StringList.
template<typename T> struct ListOf : Object {
	using CompareFunction = int32_t (*)(T, T);

	T* Items;
	int32_t Size;
	int32_t Capacity;

	ListOf() : Items(nullptr), Size(0), Capacity(0) {}
	ListOf(const ListOf&) = delete;
	ListOf& operator=(const ListOf&) = delete;
	// Only Delete runs destructors: the collector reclaims unreachable lists without them.
	~ListOf() override { Free(Items); }

	void Add(T value) {
		if (__builtin_expect(Size == Capacity, 0)) Grow();
		Items[Size++] = value;
	}

	// index may be Count: the value then goes to the end.
	void Insert(int32_t index, T value) {
		if (static_cast<uint32_t>(index) > static_cast<uint32_t>(Size)) ListIndexOutOfBounds(index, Size);
		if (Size == Capacity) Grow();
		__builtin_memmove(static_cast<void*>(Items + index + 1), static_cast<const void*>(Items + index),
			static_cast<size_t>(Size - index) * sizeof(T));
		Items[index] = value;
		Size++;
	}

	T Get(int32_t index) {
		if (__builtin_expect(static_cast<uint32_t>(index) >= static_cast<uint32_t>(Size), 0)) ListIndexOutOfBounds(index, Size);
		return Items[index];
	}

	void Set(int32_t index, T value) {
		if (__builtin_expect(static_cast<uint32_t>(index) >= static_cast<uint32_t>(Size), 0)) ListIndexOutOfBounds(index, Size);
		Items[index] = value;
	}

	T RemoveAt(int32_t index) {
		if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(Size)) ListIndexOutOfBounds(index, Size);
		T value = Items[index];
		Size--;
		__builtin_memmove(static_cast<void*>(Items + index), static_cast<const void*>(Items + index + 1),
			static_cast<size_t>(Size - index) * sizeof(T));
		// The freed slot must not keep an object alive.
		Items[Size] = T();
		return value;
	}

	// Removes the first element equal to value.
	bool Remove(T value) {
		int32_t index = IndexOf(value);
		if (index < 0) return false;
		RemoveAt(index);
		return true;
	}

	int32_t Count() { return Size; }

	// Keeps the storage for the next elements, but lets the collector take the old ones.
	void Clear() {
		if constexpr (std::is_pointer_v<T>) {
			if (Size != 0) __builtin_memset(static_cast<void*>(Items), 0, static_cast<size_t>(Size) * sizeof(T));
		}
		Size = 0;
	}

	// Objects by identity, Strings by their bytes, numbers with =; -1 when absent.
	int32_t IndexOf(T value) {
		for (int32_t i = 0; i < Size; i++) {
			if (SameElement(Items[i], value)) return i;
		}
		return -1;
	}

	bool Contains(T value) { return IndexOf(value) >= 0; }

	// compare(a, b) < 0 puts a first; equal elements keep their order. Without a compare
	// function: the natural order of the element type.
	void Sort(CompareFunction compare = nullptr) {
		if (compare != nullptr) {
			StableSort(Items, Size, [compare](T a, T b) { return compare(a, b) < 0; });
		} else if constexpr (std::is_same_v<T, Object*>) {
			NoCompareFunction();
		} else {
			StableSort(Items, Size, [](T a, T b) { return NaturalLess(a, b); });
		}
	}

	Array<T, 1>* ToArray() {
		auto* array = new Array<T, 1>(-1, Size);
		if (Size != 0) {
			__builtin_memcpy(static_cast<void*>(array->Items), static_cast<const void*>(Items),
				static_cast<size_t>(Size) * sizeof(T));
		}
		return array;
	}

private:
	// The old storage is left to the collector: a Sort whose compare function adds to the list
	// is still working in it.
	__attribute__((noinline)) void Grow() {
		int32_t capacity = GrownCapacity(Capacity);
		T* items = AllocItems<T>(capacity);
		if (Size != 0) {
			__builtin_memcpy(static_cast<void*>(items), static_cast<const void*>(Items), static_cast<size_t>(Size) * sizeof(T));
		}
		Items = items;
		Capacity = capacity;
	}
};

// 64-bit hash of a key's bytes.
uint64_t HashText(String* key);

// Open addressing over an array of entries in insertion order. Slots hold entry numbers (-1
// free, -2 removed); removed entries stay in place until the next rebuild, so the order of the
// others never changes. A rebuild happens when the entries are full: it drops removed entries
// and sizes the storage for the live ones, so puts and removes take amortised constant time.
template<typename V> struct MapOf : Object {
	struct Entry {
		String* Key;   // Null for a removed entry
		V Value;
		uint64_t Hash;
	};

	Entry* Entries;
	int32_t* Slots;
	int32_t Used;       // entries taken, removed ones included
	int32_t Capacity;   // entries there is room for; the slots are twice as many
	int32_t Live;

	MapOf() : Entries(nullptr), Slots(nullptr), Used(0), Capacity(0), Live(0) {}
	MapOf(const MapOf&) = delete;
	MapOf& operator=(const MapOf&) = delete;
	~MapOf() override {
		Free(Entries);
		Free(Slots);
	}

	// A new key goes after the others; a known key keeps its place and gets the new value.
	void Put(String* key, V value);
	// A missing key is a run-time error.
	V Get(String* key) {
		int32_t entry = Find(key);
		if (entry < 0) MissingKey(key);
		return Entries[entry].Value;
	}
	V GetOr(String* key, V fallback) {
		int32_t entry = Find(key);
		return entry < 0 ? fallback : Entries[entry].Value;
	}
	bool Contains(String* key) { return Find(key) >= 0; }
	bool Remove(String* key);
	int32_t Count() { return Live; }
	void Clear();
	Array<String*, 1>* Keys();
	Array<V, 1>* Values();

private:
	int32_t Find(String* key);
	void Rebuild();
};

extern template struct MapOf<Object*>;
extern template struct MapOf<String*>;

} // namespace __zn

struct ObjectList final : __zn::ListOf<Object*> {};
struct IntList final : __zn::ListOf<int32_t> {};
struct DoubleList final : __zn::ListOf<double> {};

struct StringList final : __zn::ListOf<String*> {
	// The elements with separator between them.
	String* Join(String* separator);
};

struct ObjectMap final : __zn::MapOf<Object*> {};
struct StringMap final : __zn::MapOf<String*> {};

// Text built piece by piece in one growing buffer; ToString copies it into a new String.
struct StringBuilder final : Object {
	char* Buffer;
	int32_t Size;
	int32_t Capacity;

	StringBuilder() : Buffer(nullptr), Size(0), Capacity(0) {}
	StringBuilder(const StringBuilder&) = delete;
	StringBuilder& operator=(const StringBuilder&) = delete;
	~StringBuilder() override { __zn::Free(Buffer); }

	// Numbers reach this as their text (the language converts them to String).
	StringBuilder* Append(String* text) {
		if (text != nullptr) AppendBytes(text->Data, text->_Length);
		return this;
	}
	// The object's ToString; Null appends "Null".
	StringBuilder* AppendObject(Object* value);
	StringBuilder* AppendLine(String* text = nullptr) {
		Append(text);
		AppendBytes("\n", 1);
		return this;
	}
	int32_t Length() { return Size; }
	void Clear() { Size = 0; }
	String* ToString() override;

private:
	void AppendBytes(const char* bytes, int32_t count) {
		if (count > Capacity - Size) Reserve(count);
		if (count != 0) __builtin_memcpy(Buffer + Size, bytes, static_cast<size_t>(count));
		Size += count;
	}
	void Reserve(int32_t more);
};

#endif

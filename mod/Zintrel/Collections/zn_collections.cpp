// Zintrel.Collections: the run-time errors, the maps and the parts of the lists and the string
// builder that are not worth inlining.
#include "zn_collections.h"

#include <stdio.h>
#include <string.h>

namespace __zn {

void ListIndexOutOfBounds(int32_t index, int32_t count) {
	char text[96];
	snprintf(text, sizeof text, "list index %d out of bounds (count %d)", static_cast<int>(index), static_cast<int>(count));
	Fatal(text);
}

// The key's first 100 bytes (longer keys are cut short) on the error's one line: quotes, backslashes and bytes that are not
// printable ASCII (NUL, line ends) escaped.
void MissingKey(String* key) {
	char text[24 + 100 * 4 + 8];
	int length = key != nullptr ? key->_Length : 0;
	const int shown = 100;
	int at = snprintf(text, sizeof text, "map key not found: \"");
	for (int i = 0; i < length && i < shown; i++) {
		unsigned char c = static_cast<unsigned char>(key->Data[i]);
		if (c == '"' || c == '\\') at += snprintf(text + at, sizeof text - static_cast<size_t>(at), "\\%c", c);
		else if (c < 32 || c > 126) at += snprintf(text + at, sizeof text - static_cast<size_t>(at), "\\x%02X", c);
		else text[at++] = static_cast<char>(c);
	}
	snprintf(text + at, sizeof text - static_cast<size_t>(at), "\"%s", length > shown ? "..." : "");
	Fatal(text);
}

void NoCompareFunction() {
	Fatal("ObjectList.Sort needs a compare function");
}

int32_t GrownCapacity(int32_t capacity) {
	if (capacity >= INT32_MAX) OutOfMemory();
	if (capacity < 8) return 8;
	return capacity > INT32_MAX / 2 ? INT32_MAX : capacity * 2;
}

// Eight bytes at a time, each word mixed in by a multiplication; the final mix spreads every
// input bit over the low bits that pick the slot.
uint64_t HashText(String* key) {
	const int32_t length = key != nullptr ? key->_Length : 0;
	const unsigned char* p = length != 0 ? reinterpret_cast<const unsigned char*>(key->Data) : nullptr;
	uint64_t h = static_cast<uint64_t>(0x9E3779B97F4A7C15ULL) ^ static_cast<uint64_t>(length);
	int32_t left = length;
	for (; left >= 8; left -= 8, p += 8) {
		uint64_t word;
		memcpy(&word, p, 8);
		h = (h ^ word) * 0xBF58476D1CE4E5B9ULL;
		h ^= h >> 31;
	}
	if (left > 0) {
		uint64_t word = 0;
		memcpy(&word, p, static_cast<size_t>(left));
		h = (h ^ word) * 0xBF58476D1CE4E5B9ULL;
	}
	h ^= h >> 30;
	h *= 0x94D049BB133111EBULL;
	h ^= h >> 31;
	return h;
}

template<typename V> int32_t MapOf<V>::Find(String* key) {
	if (Live == 0) return -1;
	const uint64_t hash = HashText(key);
	const uint64_t mask = static_cast<uint64_t>(Capacity) * 2 - 1;
	for (uint64_t i = hash & mask;; i = (i + 1) & mask) {
		int32_t entry = Slots[i];
		if (entry == -1) return -1;
		if (entry >= 0 && Entries[entry].Hash == hash && SameText(Entries[entry].Key, key)) return entry;
	}
}

template<typename V> void MapOf<V>::Put(String* key, V value) {
	if (key == nullptr) key = EmptyString();
	const uint64_t hash = HashText(key);
	if (Capacity != 0) {
		const uint64_t mask = static_cast<uint64_t>(Capacity) * 2 - 1;
		for (uint64_t i = hash & mask;; i = (i + 1) & mask) {
			int32_t entry = Slots[i];
			if (entry == -1) break;
			if (entry >= 0 && Entries[entry].Hash == hash && SameText(Entries[entry].Key, key)) {
				Entries[entry].Value = value;
				return;
			}
		}
	}
	if (Used == Capacity) Rebuild();
	// There are at most Capacity taken slots out of twice as many, so a free one is near.
	const uint64_t mask = static_cast<uint64_t>(Capacity) * 2 - 1;
	uint64_t i = hash & mask;
	while (Slots[i] >= 0) i = (i + 1) & mask;
	Slots[i] = Used;
	Entries[Used].Key = key;
	Entries[Used].Value = value;
	Entries[Used].Hash = hash;
	Used++;
	Live++;
}

template<typename V> bool MapOf<V>::Remove(String* key) {
	if (Live == 0) return false;
	const uint64_t hash = HashText(key);
	const uint64_t mask = static_cast<uint64_t>(Capacity) * 2 - 1;
	for (uint64_t i = hash & mask;; i = (i + 1) & mask) {
		int32_t entry = Slots[i];
		if (entry == -1) return false;
		if (entry >= 0 && Entries[entry].Hash == hash && SameText(Entries[entry].Key, key)) {
			Slots[i] = -2;
			Entries[entry].Key = nullptr;
			Entries[entry].Value = V();
			Live--;
			return true;
		}
	}
}

template<typename V> void MapOf<V>::Clear() {
	Free(Entries);
	Free(Slots);
	Entries = nullptr;
	Slots = nullptr;
	Used = Capacity = Live = 0;
}

// Room for half as many entries again as are live, at least 8, in a power of two.
template<typename V> void MapOf<V>::Rebuild() {
	const int64_t wanted = static_cast<int64_t>(Live) + 1;
	int64_t capacity = 8;
	while (capacity < wanted + wanted / 2) capacity *= 2;
	// Twice as many slots as entries must still be countable by an Int.
	if (capacity > (static_cast<int64_t>(1) << 30)) OutOfMemory();
	Entry* entries = AllocItems<Entry>(capacity);
	int32_t* slots = static_cast<int32_t*>(AllocAtomic(static_cast<size_t>(capacity) * 2 * sizeof(int32_t)));
	memset(slots, 0xFF, static_cast<size_t>(capacity) * 2 * sizeof(int32_t));
	const uint64_t mask = static_cast<uint64_t>(capacity) * 2 - 1;
	int32_t count = 0;
	for (int32_t k = 0; k < Used; k++) {
		if (Entries[k].Key == nullptr) continue;
		entries[count] = Entries[k];
		uint64_t i = entries[count].Hash & mask;
		while (slots[i] != -1) i = (i + 1) & mask;
		slots[i] = count;
		count++;
	}
	Free(Entries);
	Free(Slots);
	Entries = entries;
	Slots = slots;
	Used = count;
	Capacity = static_cast<int32_t>(capacity);
}

template<typename V> Array<String*, 1>* MapOf<V>::Keys() {
	auto* keys = new Array<String*, 1>(-1, Live);
	int32_t out = 0;
	for (int32_t k = 0; k < Used; k++) {
		if (Entries[k].Key != nullptr) keys->Items[out++] = Entries[k].Key;
	}
	return keys;
}

template<typename V> Array<V, 1>* MapOf<V>::Values() {
	auto* values = new Array<V, 1>(-1, Live);
	int32_t out = 0;
	for (int32_t k = 0; k < Used; k++) {
		if (Entries[k].Key != nullptr) values->Items[out++] = Entries[k].Value;
	}
	return values;
}

template struct MapOf<Object*>;
template struct MapOf<String*>;

} // namespace __zn

String* StringList::Join(String* separator) {
	const int64_t gap = separator != nullptr ? separator->_Length : 0;
	int64_t total = Size > 1 ? gap * (Size - 1) : 0;
	for (int32_t i = 0; i < Size; i++) total += Items[i] != nullptr ? Items[i]->_Length : 0;
	String* joined = String::Uninitialised(total);
	char* out = joined->Data;
	for (int32_t i = 0; i < Size; i++) {
		if (i > 0 && gap != 0) {
			memcpy(out, separator->Data, static_cast<size_t>(gap));
			out += gap;
		}
		if (Items[i] != nullptr && Items[i]->_Length != 0) {
			memcpy(out, Items[i]->Data, static_cast<size_t>(Items[i]->_Length));
			out += Items[i]->_Length;
		}
	}
	return joined;
}

// ToString runs first: it may append to this same builder.
StringBuilder* StringBuilder::AppendObject(Object* value) {
	if (value == nullptr) {
		AppendBytes("Null", 4);
	} else {
		Append(value->ToString());
	}
	return this;
}

String* StringBuilder::ToString() {
	return new String(Buffer, Size);
}

// The old buffer goes back at once: nothing else ever points into it.
void StringBuilder::Reserve(int32_t more) {
	int64_t needed = static_cast<int64_t>(Size) + more;
	if (needed >= INT32_MAX) __zn::OutOfMemory();
	int64_t capacity = Capacity < 16 ? 16 : Capacity;
	while (capacity < needed) capacity *= 2;
	if (capacity >= INT32_MAX) capacity = INT32_MAX - 1;
	char* buffer = static_cast<char*>(__zn::AllocAtomic(static_cast<size_t>(capacity)));
	if (Size != 0) memcpy(buffer, Buffer, static_cast<size_t>(Size));
	__zn::Free(Buffer);
	Buffer = buffer;
	Capacity = static_cast<int32_t>(capacity);
}

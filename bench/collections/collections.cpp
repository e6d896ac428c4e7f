// The work of collections.zn in plain C++: std::vector, std::sort and std::unordered_map. The
// objects have a polymorphic base like every Zintrel object; object-sort compares them through
// it with the checked down-casts that a Zintrel compare function makes, object-sort-plain with
// the static types a C++ program would use (it has no Zintrel counterpart).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const int Size = 1000000;
const int Rounds = 5;

struct Object {
	virtual ~Object() {}
};

struct Item : Object {
	int key;
	explicit Item(int k) : key(k) {}
};

bool ByKey(Object* a, Object* b) { return dynamic_cast<Item*>(a)->key < dynamic_cast<Item*>(b)->key; }
bool ByKeyPlain(const Item* a, const Item* b) { return a->key < b->key; }

int64_t seed = 1;
int NextValue() {
	seed = (seed * 1103515245LL + 12345LL) % 2147483648LL;
	return static_cast<int>(seed % 1000000LL);
}

int64_t Millisecs() {
	return std::chrono::duration_cast<std::chrono::milliseconds>(
		std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Report(const char* name, int64_t started, int64_t check) {
	printf("%s %lld ms, check %lld\n", name, static_cast<long long>(Millisecs() - started), static_cast<long long>(check));
}

} // namespace

int main() {
	int64_t check = 0;
	int64_t started = Millisecs();
	for (int round = 1; round <= Rounds; round++) {
		std::vector<int> numbers;
		for (int i = 0; i < Size; i++) numbers.push_back(NextValue());
		for (int i = 0; i < Size; i++) check += numbers[static_cast<size_t>(i)];
		std::sort(numbers.begin(), numbers.end());
		check += numbers[Size / 2];
	}
	Report("int-list", started, check);

	check = 0;
	std::vector<Object*> items;
	for (int i = 0; i < Size; i++) items.push_back(new Item(NextValue()));
	started = Millisecs();
	for (int round = 1; round <= Rounds; round++) {
		std::vector<Object*> objects;
		for (int i = 0; i < Size; i++) objects.push_back(items[static_cast<size_t>(i)]);
		for (int i = 0; i < Size; i++) {
			if (objects[static_cast<size_t>(i)] == items[static_cast<size_t>(i)]) check++;
		}
	}
	Report("object-list", started, check);

	check = 0;
	started = Millisecs();
	for (int round = 1; round <= Rounds; round++) {
		std::vector<Object*> objects;
		for (int i = 0; i < Size; i++) objects.push_back(items[static_cast<size_t>(i)]);
		std::sort(objects.begin(), objects.end(), ByKey);
		check += dynamic_cast<Item*>(objects[Size / 2])->key;
	}
	Report("object-sort", started, check);

	check = 0;
	started = Millisecs();
	for (int round = 1; round <= Rounds; round++) {
		std::vector<Item*> objects;
		for (int i = 0; i < Size; i++) objects.push_back(static_cast<Item*>(items[static_cast<size_t>(i)]));
		std::sort(objects.begin(), objects.end(), ByKeyPlain);
		check += objects[Size / 2]->key;
	}
	Report("object-sort-plain", started, check);

	check = 0;
	std::vector<std::string> keys;
	for (int i = 0; i < Size; i++) keys.push_back("key" + std::to_string(NextValue()) + "-" + std::to_string(i));
	started = Millisecs();
	for (int round = 1; round <= Rounds; round++) {
		std::unordered_map<std::string, std::string> map;
		for (int i = 0; i < Size; i++) map[keys[static_cast<size_t>(i)]] = keys[static_cast<size_t>(Size - 1 - i)];
		for (int i = 0; i < Size; i++) check += static_cast<int64_t>(map.at(keys[static_cast<size_t>(i)]).size());
		check += static_cast<int64_t>(map.size());
	}
	Report("string-map", started, check);
}

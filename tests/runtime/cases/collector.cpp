// The collector really collects: gigabytes of strings, objects and arrays made and dropped in
// a loop leave the process small.
#include <stdint.h>
#include <stdio.h>
#include <sys/resource.h>
#include <gc.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "check.h"

struct Cell: public Object {
	int32_t value;
	Cell* next;
	String* label;
	Cell();
};
Cell::Cell() { value = 0; next = 0; label = new String(""); }

static int64_t ResidentKilobytes() {
	struct rusage usage;
	getrusage(RUSAGE_SELF, &usage);
	return usage.ru_maxrss;
}

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	// Kept alive through the whole run: must survive every collection.
	Cell* kept = new Cell;
	(kept)->label = ((new String("kept "))->Append(42));
	Array<String*, 1>* keep = (new Array<String*, 1>(-1, 1000));
	for (int32_t i = 0; i < 1000; i += 1) (*keep->At(i)) = ((new String("item "))->Append(i));

	int64_t allocated = 0;
	int64_t checksum = 0;
	for (int32_t round = 0; round < 2000; round += 1) {
		// About 1.1 MB per round in small strings and objects: a list of cells...
		Cell* list = 0;
		for (int32_t i = 0; i < 5000; i += 1) {
			Cell* c = new Cell;
			(c)->value = i;
			(c)->next = list;
			(c)->label = ((new String("cell number "))->Append(i))->Append(new String(" of a list that is dropped"));
			list = c;
			allocated += 48 + 48 + 48 + 64;
		}
		checksum += (list)->value + (list)->label->_Length;
		// ...and a few larger blocks.
		Array<double, 1>* big = (new Array<double, 1>(-1, 20000));
		(*big->At(19999)) = round;
		allocated += 20000 * 8;
		String* text = (new String(""))->PadLeft(100000, new String("x"));
		checksum += (text)->_Length;
		allocated += 100000;
	}
	CHECK(allocated >= 2000000000LL);
	// The collector's own count of every byte it handed out.
	CHECK(GC_get_total_bytes() >= 2000000000ULL);
	CHECK_EQ(checksum, 2000LL * (4999 + 42 + 100000));
	CHECK_TEXT((kept)->label, "kept 42");
	CHECK_TEXT((*keep->At(999)), "item 999");
	int64_t peak = ResidentKilobytes();
	if (peak >= 200 * 1024) fprintf(stderr, "peak resident memory %lld KB\n", (long long)peak);
	CHECK(peak < 200 * 1024);
	return Finish();
}

// Arrays in the three constructor forms, one to three dimensions, element types that need
// care (float, String*, class pointers), At with every integer index type, Size and Length.
#include <stdint.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "check.h"

struct Item: public Object {
	int32_t id;
	Item* __CreateItem(int32_t v);
	Item();
};
Item* Item::__CreateItem(int32_t v) { id = v; return this; }
Item::Item() { id = 0; }

static void Literals() {
	Array<int32_t, 1>* a = new Array<int32_t, 1>(3, 1, 2, 3);
	CHECK_EQ((a)->Length, 3);
	CHECK_EQ((a)->Size(), 3);
	CHECK_EQ((a)->Size(0), 3);
	CHECK_EQ((*a->At(0)), 1);
	CHECK_EQ((*a->At(2)), 3);
	// A one-element literal is not the sized form.
	Array<int32_t, 1>* one = new Array<int32_t, 1>(1, 7);
	CHECK_EQ((one)->Length, 1);
	CHECK_EQ((*one->At(0)), 7);
	Array<int32_t, 1>* minus = new Array<int32_t, 1>(2, -1, -1);
	CHECK_EQ((*minus->At(1)), -1);
	// float elements stay float: 0.1f must not pass through double and back differently.
	Array<float, 1>* f = new Array<float, 1>(3, 0.1f, 2.5f, 1.0f / 3.0f);
	CHECK(*f->At(0) == 0.1f);
	CHECK(*f->At(2) == 1.0f / 3.0f);
	CHECK_TEXT((new String(""))->Append((*f->At(0))), "0.1");
	Array<double, 1>* d = new Array<double, 1>(2, 0.1, 1e300);
	CHECK(*d->At(1) == 1e300);
	Array<String*, 1>* s = new Array<String*, 1>(2, new String("x"), new String("y"));
	CHECK_TEXT((*s->At(1)), "y");
	Array<Item*, 1>* items = new Array<Item*, 1>(3, ((new Item))->__CreateItem(4), 0, ((new Item))->__CreateItem(6));
	CHECK_EQ((*items->At(0))->id, 4);
	CHECK((*items->At(1)) == 0);
	CHECK_EQ((*items->At(2))->id, 6);
	Array<Object*, 1>* objects = new Array<Object*, 1>(2, new String("o"), new Array<int32_t, 1>(0));
	CHECK_TEXT((*objects->At(0))->ToString(), "o");
	Array<int64_t, 1>* longs = new Array<int64_t, 1>(2, INT64_MAX, (int64_t)-5);
	CHECK_EQ((*longs->At(0)), INT64_MAX);
	Array<uint8_t, 1>* bytes = new Array<uint8_t, 1>(2, 255U, 0U);
	CHECK_EQ((*bytes->At(0)), 255);
	Array<bool, 1>* flags = new Array<bool, 1>(2, 1, 0);
	CHECK(*flags->At(0) && !*flags->At(1));
}

// Literals past the small form: the elements after the second one pass through C's variable
// arguments and must come back with their exact values.
#define TEN(x) x, x, x, x, x, x, x, x, x, x
#define SEVENTY(x) TEN(x), TEN(x), TEN(x), TEN(x), TEN(x), TEN(x), TEN(x)
static void LongLiterals() {
	Array<float, 1>* f = new Array<float, 1>(73, 0.1f, 0.2f, SEVENTY(2.5f), 1.0f / 3.0f);
	CHECK_EQ((f)->Length, 73);
	CHECK(*f->At(5) == 2.5f && *f->At(72) == 1.0f / 3.0f);
	Array<uint8_t, 1>* bytes = new Array<uint8_t, 1>(73, 1U, 2U, SEVENTY(255U), 7U);
	CHECK_EQ((*bytes->At(3)), 255);
	CHECK_EQ((*bytes->At(72)), 7);
	Array<char, 1>* chars = new Array<char, 1>(72, 1, 2, SEVENTY(((char)(-5))));
	CHECK_EQ((*chars->At(71)), -5);
	Array<bool, 1>* flags = new Array<bool, 1>(72, 0, 0, SEVENTY(1));
	CHECK(*flags->At(70));
	Array<int64_t, 1>* longs = new Array<int64_t, 1>(73, 0LL, 0LL, SEVENTY(INT64_MIN), INT64_MAX);
	CHECK_EQ((*longs->At(2)), INT64_MIN);
	CHECK_EQ((*longs->At(72)), INT64_MAX);
	Item* item = ((new Item))->__CreateItem(9);
	Array<Item*, 1>* items = new Array<Item*, 1>(73, 0, item, SEVENTY(item), ((Item*)(0)));
	CHECK((*items->At(0)) == 0 && (*items->At(72)) == 0);
	CHECK_EQ((*items->At(40))->id, 9);
}

static void Empty() {
	Array<int32_t, 1>* a = new Array<int32_t, 1>(0);
	CHECK_EQ((a)->Length, 0);
	CHECK(!(a)->Length);
	CHECK_EQ((a)->Size(0), 0);
	Array<String*, 3>* b = new Array<String*, 3>(0);
	CHECK_EQ((b)->Length, 0);
	CHECK_EQ((b)->Size(2), 0);
	Array<double, 2>* c = (new Array<double, 2>(-1, 0, 5));
	CHECK_EQ((c)->Length, 0);
	CHECK_EQ((c)->Size(1), 5);
}

static void Sized() {
	Array<int32_t, 2>* a = (new Array<int32_t, 2>(-1, 10, 20));
	CHECK_EQ((a)->Length, 200);
	CHECK_EQ((a)->Size(0), 10);
	CHECK_EQ((a)->Size(1), 20);
	CHECK_EQ((a)->Size(2), 0);
	CHECK_EQ((a)->Size(-1), 0);
	bool zero = true;
	for (int32_t i = 0; i <= 9; i += 1)
		for (int32_t j = 0; j <= 19; j += 1) zero = zero && (*a->At(i, j)) == 0;
	CHECK(zero);
	for (int32_t i = 0; i <= 9; i += 1)
		for (int32_t j = 0; j <= 19; j += 1) (*a->At(i, j)) = i * 100 + j;
	CHECK_EQ((*a->At(3, 4)), 304);
	CHECK_EQ((*a->At(9, 19)), 919);
	// Row-major: element (i, j) is the i * 20 + j-th.
	CHECK_EQ(a->At(1, 0) - a->At(0, 0), 20);

	Array<float, 3>* f = (new Array<float, 3>(-1, 2, 3, 4));
	CHECK_EQ((f)->Length, 24);
	CHECK_EQ((f)->Size(2), 4);
	(*f->At(1, 2, 3)) = 0.5f;
	CHECK(*f->At(1, 2, 3) == 0.5f);
	CHECK(*f->At(0, 0, 0) == 0.0f);
	CHECK_EQ(f->At(1, 2, 3) - f->At(0, 0, 0), 23);
	CHECK_EQ(f->At(0, 1, 0) - f->At(0, 0, 0), 4);

	Array<String*, 2>* s = (new Array<String*, 2>(-1, 2, 2));
	CHECK_TEXT((*s->At(1, 1)), "");
	CHECK_TEXT(((*s->At(0, 1)))->Append(1), "1");
	(*s->At(0, 1)) = new String("set");
	CHECK_TEXT((*s->At(0, 1)), "set");
	CHECK_TEXT((*s->At(1, 0)), "");

	Array<Item*, 1>* items = (new Array<Item*, 1>(-1, 4));
	CHECK((*items->At(3)) == 0);
	(*items->At(3)) = ((new Item))->__CreateItem(9);
	CHECK_EQ((*items->At(3))->id, 9);

	// Arrays of arrays.
	Array<Array<int32_t, 1>*, 1>* rows = (new Array<Array<int32_t, 1>*, 1>(-1, 2));
	CHECK((*rows->At(0)) == 0);
	(*rows->At(1)) = new Array<int32_t, 1>(2, 5, 6);
	CHECK_EQ((*(*rows->At(1))->At(1)), 6);

	// Sizes of any integer type.
	Array<int32_t, 2>* b = (new Array<int32_t, 2>(-1, (int64_t)3, (uint8_t)2));
	CHECK_EQ((b)->Length, 6);
	Array<int32_t, 1>* c = (new Array<int32_t, 1>(-1, (uint64_t)5));
	CHECK_EQ((c)->Length, 5);
}

static void IndexTypes() {
	Array<int32_t, 3>* a = (new Array<int32_t, 3>(-1, 3, 4, 5));
	(*a->At((int8_t)2, (uint8_t)3, (char)4)) = 1;
	CHECK_EQ((*a->At((int16_t)2, (uint16_t)3, (int32_t)4)), 1);
	CHECK_EQ((*a->At((uint32_t)2, (int64_t)3, (uint64_t)4)), 1);
	CHECK_EQ((*a->At(2LL, 3ULL, (bool)1)), 0);
	CHECK_EQ((*a->At(2L, 3UL, 4)), 1);
}

static void Identity() {
	Array<int32_t, 2>* a = (new Array<int32_t, 2>(-1, 1, 1));
	CHECK_TEXT(((new String(""))->Append(a)), "Array<int, 2>");
	CHECK_TEXT((a)->ToString(), "Array<int, 2>");
	Object* o = a;
	CHECK(dynamic_cast<Array<int32_t, 2>*>(o) == a);
	CHECK(dynamic_cast<Array<int32_t, 1>*>(o) == 0);
}

static void Large() {
	// A million elements, written and read back through At.
	Array<int32_t, 1>* a = (new Array<int32_t, 1>(-1, 1000000));
	for (int32_t i = 0; i < 1000000; i += 1) (*a->At(i)) = i;
	int64_t sum = 0;
	for (int32_t i = 0; i < (a)->Length; i += 1) sum += (*a->At(i));
	CHECK_EQ(sum, 499999500000LL);
	// String elements of a big sized array are all the empty string.
	Array<String*, 1>* s = (new Array<String*, 1>(-1, 100000));
	int32_t empty = 0;
	for (int32_t i = 0; i < 100000; i += 1) empty += (*s->At(i))->_Length == 0;
	CHECK_EQ(empty, 100000);
}

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	Literals();
	LongLiterals();
	Empty();
	Sized();
	IndexTypes();
	Identity();
	Large();
	return Finish();
}

// Building strings the way generated code does: literals, Append and Prepend of every
// arithmetic type, objects and strings, the number text rules, NUL bytes and Data.
#include <stdint.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "check.h"

struct Point: public Object {
	int32_t x;
	Point();
};
Point::Point() { x = 0; }

struct Named: public Object {
	virtual String* ToString();
	Named();
};
String* Named::ToString() { return new String("named"); }
Named::Named() {}

static void Literals() {
	CHECK_TEXT(new String("text"), "text");
	CHECK_TEXT(new String(""), "");
	CHECK_EQ((new String(""))->_Length, 0);
	CHECK(!(new String(""))->_Length);
	CHECK((new String("x"))->_Length);
	CHECK_TEXT(new String, "");
	// Longer than the text kept inside the object.
	CHECK_TEXT(new String("a fairly long literal that does not fit inline"),
		"a fairly long literal that does not fit inline");
	// Two-line literals arrive as one C++ literal with \n in it; backslashes doubled.
	CHECK_TEXT(new String("a\nb\\c"), "a\nb\\c");
	CHECK_EQ((new String("a\nb\\c"))->_Length, 5);
	// UTF-8 passes through as bytes.
	CHECK_EQ((new String("\xc3\xa9t\xc3\xa9"))->_Length, 5);
}

static void Integers() {
	String* s = new String("v=");
	CHECK_TEXT((s)->Append(42), "v=42");
	CHECK_TEXT((s)->Append(-7), "v=-7");
	CHECK_TEXT((s)->Append((int32_t)INT32_MIN), "v=-2147483648");
	CHECK_TEXT((s)->Append((uint32_t)4294967295U), "v=4294967295");
	CHECK_TEXT((s)->Append((int64_t)INT64_MIN), "v=-9223372036854775808");
	CHECK_TEXT((s)->Append((uint64_t)18446744073709551615ULL), "v=18446744073709551615");
	CHECK_TEXT((s)->Append(-1LL), "v=-1");
	CHECK_TEXT((s)->Append(-1ULL), "v=18446744073709551615");
	CHECK_TEXT((s)->Append((int16_t)-32768), "v=-32768");
	CHECK_TEXT((s)->Append((uint16_t)65535), "v=65535");
	// Bytes are numbers, not characters.
	CHECK_TEXT((s)->Append((char)65), "v=65");
	CHECK_TEXT((s)->Append((char)-1), "v=-1");
	CHECK_TEXT((s)->Append((uint8_t)255), "v=255");
	CHECK_TEXT((s)->Append((int8_t)-128), "v=-128");
	CHECK_TEXT((s)->Append((bool)1), "v=1");
	CHECK_TEXT((s)->Append((bool)0), "v=0");
	CHECK_TEXT((s)->Append((1 == 1)), "v=1");
	CHECK_TEXT((s)->Append(0), "v=0");
	CHECK_TEXT(s, "v=");
}

static void Reals() {
	String* s = new String("");
	CHECK_TEXT((s)->Append(2.5), "2.5");
	CHECK_TEXT((s)->Append(3.0), "3.0");
	CHECK_TEXT((s)->Append(0.1), "0.1");
	CHECK_TEXT((s)->Append(1e20), "1e+20");
	CHECK_TEXT((s)->Append(-0.0), "-0.0");
	CHECK_TEXT((s)->Append(-2.0), "-2.0");
	CHECK_TEXT((s)->Append(1.0 / 0.0), "inf");
	CHECK_TEXT((s)->Append(-1.0 / 0.0), "-inf");
	CHECK_TEXT((s)->Append(0.0 / 0.0), "nan");
	CHECK_TEXT((s)->Append(-(0.0 / 0.0)), "nan");
	CHECK_TEXT((s)->Append(1e-7), "1e-07");
	CHECK_TEXT((s)->Append(123456789012.0), "123456789012.0");
	CHECK_TEXT((s)->Append(0.30000000000000004), "0.30000000000000004");
	// Float stays float: its own shortest text, not that of the widened double.
	CHECK_TEXT((s)->Append(0.1f), "0.1");
	CHECK_TEXT((s)->Append(1.50000000f), "1.5");
	CHECK_TEXT((s)->Append(16777216.0f), "16777216.0");
	CHECK_TEXT((s)->Append(3.4028235e38f), "3.4028235e+38");
	CHECK_TEXT((s)->Append(powf (2, 10)), "1024.0");
	CHECK_TEXT((s)->Append((long double)0.5), "0.5");
}

static void Prepending() {
	String* s = new String("!");
	CHECK_TEXT((s)->Prepend(1), "1!");
	CHECK_TEXT((s)->Prepend(-3.5), "-3.5!");
	CHECK_TEXT((s)->Prepend(2.0f), "2.0!");
	CHECK_TEXT((s)->Prepend((uint8_t)200), "200!");
	CHECK_TEXT((s)->Prepend((int64_t)-5), "-5!");
	CHECK_TEXT((s)->Prepend((bool)1), "1!");
	CHECK_TEXT((s)->Prepend(new String("ab")), "ab!");
	CHECK_TEXT((new String("b"))->Prepend(new String("a")), "ab");
	// 1 + s + 2.5 as generated: ((s)->Prepend(1))->Append(2.5)
	CHECK_TEXT(((s)->Prepend(1))->Append(2.5), "1!2.5");
	CHECK_TEXT(s, "!");
}

static void ObjectsAndStrings() {
	String* a = new String("left ");
	CHECK_TEXT((a)->Append(new String("right")), "left right");
	CHECK_TEXT((a)->Append((new Point)), "left Point");
	CHECK_TEXT((a)->Append((new Named)), "left named");
	CHECK_TEXT((new String(" right"))->Prepend((new Point)), "Point right");
	Object* o = new Named;
	CHECK_TEXT((a)->Append(o), "left named");
	Object* text = new String("as object");
	CHECK_TEXT((a)->Append(text), "left as object");
	// Object to String cast: ((new String(""))->Append(e))
	CHECK_TEXT(((new String(""))->Append((new Point))), "Point");
	// Null: a String appends nothing, other objects "Null".
	CHECK_TEXT((a)->Append((String*)0), "left ");
	CHECK_TEXT((a)->Append((Point*)0), "left Null");
	CHECK_TEXT((a)->Prepend((Object*)0), "Nullleft ");
	// Arrays are objects too.
	CHECK_TEXT(((new String(""))->Append(new Array<int32_t, 1>(0))), "Array<int, 1>");
	// Other pointers append their address as a number.
	int32_t x = 0;
	String* address = (new String(""))->Append(&x);
	CHECK_EQ((uintptr_t)address->ToLong(), (uintptr_t)&x);
}

static void Chains() {
	// s = "n=" + i + ", x=" + x + "." in the left-to-right form generated code uses.
	int32_t i = 12;
	double x = 0.25;
	String* s = ((((new String("n="))->Append(i))->Append(new String(", x=")))->Append(x))->Append(new String("."));
	CHECK_TEXT(s, "n=12, x=0.25.");
	// A long chain crossing from inline to separately allocated text.
	String* t = new String("");
	for (int k = 0; k < 100; k++) t = (t)->Append(k % 10);
	CHECK_EQ(t->_Length, 100);
	CHECK_EQ(t->CharAt(99), '9');
	CHECK_EQ(t->Data[100], 0);
}

static void NulBytes() {
	String* zero = String::FromChar(0);
	CHECK_EQ(zero->_Length, 1);
	String* s = ((new String("a"))->Append(zero))->Append(new String("b"));
	CHECK_TEXT(s, "a\0b");
	CHECK_EQ(s->_Length, 3);
	CHECK_EQ(s->Find(new String("b")), 2);
	CHECK_TEXT(s->ToUpper(), "A\0B");
	CHECK_TEXT(s->Mid(1), "\0b");
	CHECK(s->Equals(((new String("a"))->Append(zero))->Append(new String("b"))));
	CHECK(!s->Equals(new String("a")));
	CHECK_EQ(s->Compare(new String("a")), 1);
	Array<String*, 1>* parts = s->Split(zero);
	CHECK_EQ(parts->Length, 2);
	CHECK_TEXT(*parts->At(1), "b");
	CHECK_TEXT(s->Replace(zero, new String("-")), "a-b");
}

static size_t CLength(char* p) { return strlen(p); }
static int CFirst(uint8_t* p) { return p[0]; }
static void* Untyped(void* p) { return p; }

static void DataPointers() {
	String* s = new String("h\xe9llo");
	// A String passed where a Byte Ptr or UByte Ptr is expected: ((s)->Data) and
	// ((uint8_t*)((s)->Data)).
	char* bytes = ((s)->Data);
	uint8_t* ubytes = ((uint8_t*)((s)->Data));
	CHECK_EQ(bytes[0], 'h');
	CHECK_EQ(ubytes[1], 0xe9);
	CHECK_EQ(CLength(((s)->Data)), 5u);
	CHECK_EQ(CFirst(((uint8_t*)((s)->Data))), 'h');
	CHECK(Untyped(((s)->Data)) == (void*)bytes);
	CHECK_EQ(strcmp(((s)->Data), "h\xe9llo"), 0);
	// Field access s.Data and indexing it as a pointer: ((s)->Data[i]).
	CHECK_EQ(((s)->Data[4]), 'o');
	CHECK_EQ(((s)->Data[5]), 0);
	CHECK_EQ(*((s)->Data + 1), '\xe9');
	CHECK(((s)->Data) == bytes);
	CHECK(((s)->Data) != 0);
	// Explicit casts to other pointer types and to integers: Int Ptr(s.Data), Long(s.Data).
	CHECK_EQ(((int16_t*)(((s)->Data)))[0], int16_t(0xe968));
	CHECK_EQ(((int64_t)(((intptr_t)(((s)->Data))))), (int64_t)(intptr_t)bytes);
	CHECK_EQ(((int32_t)(((intptr_t)(((s)->Data))))), (int32_t)(intptr_t)bytes);
	// Its address: Varptr s.Data.
	char** address = (&(s)->Data);
	CHECK_EQ((address[0][0]), 'h');
	CHECK(((bool)(((s)->Data))));
	// Every string is NUL-terminated, the empty one and built ones included.
	CHECK_EQ(((new String(""))->Data)[0], 0);
	CHECK_EQ(strlen(((new String("ab"))->Append(123))->Data), 5u);
}

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	Literals();
	Integers();
	Reals();
	Prepending();
	ObjectsAndStrings();
	Chains();
	NulBytes();
	DataPointers();
	return Finish();
}

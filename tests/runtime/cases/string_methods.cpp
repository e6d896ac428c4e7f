// Every String member that programs can call, with the edge cases of their definitions.
#include <stdint.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "check.h"

static String* S(const char* text) { return new String(text); }

static void Comparing() {
	CHECK_EQ(S("abc")->Length(), 3);
	CHECK_EQ(S("")->Length(), 0);
	CHECK(S("abc")->Equals(S("abc")));
	CHECK(!S("abc")->Equals(S("abd")));
	CHECK(!S("abc")->Equals(S("ab")));
	CHECK(!S("")->Equals((String*)0));
	CHECK(S("")->Equals(S("")));
	CHECK_EQ(S("abc")->Compare(S("abc")), 0);
	CHECK_EQ(S("abc")->Compare(S("abd")), -1);
	CHECK_EQ(S("abd")->Compare(S("abc")), 1);
	CHECK_EQ(S("ab")->Compare(S("abc")), -1);  // a prefix sorts first
	CHECK_EQ(S("abc")->Compare(S("ab")), 1);
	CHECK_EQ(S("")->Compare(S("a")), -1);
	CHECK_EQ(S("\xff")->Compare(S("a")), 1);   // bytewise, unsigned
	CHECK_EQ(S("Zebra")->Compare(S("apple")), -1);
}

static void Searching() {
	String* s = S("abcabc");
	CHECK_EQ(s->Find(S("bc")), 1);
	CHECK_EQ(s->Find(S("bc"), 2), 4);
	CHECK_EQ(s->Find(S("bc"), 5), -1);
	CHECK_EQ(s->Find(S("x")), -1);
	CHECK_EQ(s->Find(S("abc"), -5), 0);
	CHECK_EQ(s->Find(S("")), 0);
	CHECK_EQ(s->Find(S(""), 6), 6);
	CHECK_EQ(s->Find(S(""), 7), -1);
	CHECK_EQ(s->Find(S("abcabcd")), -1);
	CHECK(s->Contains(S("cab")));
	CHECK(!s->Contains(S("cba")));
	CHECK(s->Contains(S("")));
	CHECK(s->StartsWith(S("abc")));
	CHECK(s->StartsWith(S("")));
	CHECK(!s->StartsWith(S("bc")));
	CHECK(!S("ab")->StartsWith(S("abc")));
	CHECK(s->EndsWith(S("cabc")));
	CHECK(s->EndsWith(S("")));
	CHECK(!s->EndsWith(S("ab")));
	CHECK(!S("bc")->EndsWith(S("abc")));
	CHECK_EQ(s->CharAt(0), 'a');
	CHECK_EQ(s->CharAt(5), 'c');
	CHECK_EQ(s->CharAt(6), -1);
	CHECK_EQ(s->CharAt(-1), -1);
	CHECK_EQ(S("\xe9")->CharAt(0), 233);
}

static void Slicing() {
	String* s = S("Hello, World");
	CHECK_TEXT(s->Mid(7), "World");
	CHECK_TEXT(s->Mid(7, -1), "World");
	CHECK_TEXT(s->Mid(0, 5), "Hello");
	CHECK_TEXT(s->Mid(7, 100), "World");
	CHECK_TEXT(s->Mid(-3, 2), "He");
	CHECK_TEXT(s->Mid(12), "");
	CHECK_TEXT(s->Mid(50, 2), "");
	CHECK_TEXT(s->Mid(3, 0), "");
	CHECK_TEXT(s->Left(5), "Hello");
	CHECK_TEXT(s->Left(0), "");
	CHECK_TEXT(s->Left(-2), "");
	CHECK_TEXT(s->Left(99), "Hello, World");
	CHECK_TEXT(s->Right(5), "World");
	CHECK_TEXT(s->Right(0), "");
	CHECK_TEXT(s->Right(-1), "");
	CHECK_TEXT(s->Right(99), "Hello, World");
	CHECK_TEXT(s, "Hello, World");
}

static void Transforming() {
	CHECK_TEXT(S("MiXeD 123 \xc3\xa9")->ToUpper(), "MIXED 123 \xc3\xa9");
	CHECK_TEXT(S("MiXeD 123 \xc3\x89")->ToLower(), "mixed 123 \xc3\x89");
	CHECK_TEXT(S(" \t\r\n\v\f trim me \f\v\n\r\t ")->Trim(), "trim me");
	CHECK_TEXT(S("   ")->Trim(), "");
	CHECK_TEXT(S("")->Trim(), "");
	CHECK_TEXT(S("x")->Trim(), "x");
	CHECK_TEXT(S("a-b-c")->Replace(S("-"), S("+=")), "a+=b+=c");
	CHECK_TEXT(S("aaaa")->Replace(S("aa"), S("b")), "bb");
	CHECK_TEXT(S("aaa")->Replace(S("aa"), S("b")), "ba");
	CHECK_TEXT(S("abc")->Replace(S(""), S("x")), "abc");
	CHECK_TEXT(S("abc")->Replace(S("abc"), S("")), "");
	CHECK_TEXT(S("abc")->Replace(S("z"), S("y")), "abc");
	CHECK_TEXT(S("a.b")->Replace(S("."), S("a fairly long replacement text")), "aa fairly long replacement textb");
	CHECK_TEXT(S("7")->PadLeft(3), "  7");
	CHECK_TEXT(S("7")->PadLeft(3, S("0")), "007");
	CHECK_TEXT(S("7")->PadLeft(3, S("xy")), "xx7");
	CHECK_TEXT(S("7")->PadLeft(3, S("")), "  7");
	CHECK_TEXT(S("1234")->PadLeft(3, S("0")), "1234");
	CHECK_TEXT(S("123")->PadLeft(3), "123");
	CHECK_TEXT(S("7")->PadLeft(-4), "7");
	CHECK_TEXT(S("7")->PadRight(3), "7  ");
	CHECK_TEXT(S("7")->PadRight(4, S(".")), "7...");
	CHECK_TEXT(S("long")->PadRight(2, S(".")), "long");
	String* s = S("same");
	CHECK(s->ToString() == s);
}

static void Splitting() {
	Array<String*, 1>* parts = S("a,,b")->Split(S(","));
	CHECK_EQ(parts->Length, 3);
	CHECK_TEXT(*parts->At(0), "a");
	CHECK_TEXT(*parts->At(1), "");
	CHECK_TEXT(*parts->At(2), "b");
	parts = S("")->Split(S(","));
	CHECK_EQ(parts->Length, 1);
	CHECK_TEXT(*parts->At(0), "");
	parts = S("a,b")->Split(S(""));
	CHECK_EQ(parts->Length, 1);
	CHECK_TEXT(*parts->At(0), "a,b");
	parts = S(",x,")->Split(S(","));
	CHECK_EQ(parts->Length, 3);
	CHECK_TEXT(*parts->At(0), "");
	CHECK_TEXT(*parts->At(1), "x");
	CHECK_TEXT(*parts->At(2), "");
	parts = S("one::two::three")->Split(S("::"));
	CHECK_EQ(parts->Length, 3);
	CHECK_TEXT(*parts->At(2), "three");
	CHECK_TEXT(String::Join(parts, S(", ")), "one, two, three");
	CHECK_TEXT(String::Join(S("a,,b")->Split(S(",")), S(",")), "a,,b");
	CHECK_TEXT(String::Join(new Array<String*, 1>(0), S(",")), "");
	CHECK_TEXT(String::Join(new Array<String*, 1>(1, S("solo")), S(",")), "solo");
	CHECK_TEXT(String::Join(new Array<String*, 1>(-1, 3), S("-")), "--");
}

static void Numbers() {
	CHECK_EQ(S("42")->ToInt(), 42);
	CHECK_EQ(S("  -17xyz")->ToInt(), -17);
	CHECK_EQ(S("+8")->ToInt(), 8);
	CHECK_EQ(S("abc")->ToInt(), 0);
	CHECK_EQ(S("")->ToInt(), 0);
	CHECK_EQ(S("-")->ToInt(), 0);
	CHECK_EQ(S("4294967297")->ToInt(), 1);  // low 32 bits
	CHECK_EQ(S("2147483648")->ToInt(), INT32_MIN);
	CHECK_EQ(S("4294967297")->ToLong(), 4294967297LL);
	CHECK_EQ(S("-9223372036854775808")->ToLong(), INT64_MIN);
	CHECK_EQ(S("\t 12 34")->ToLong(), 12);
	CHECK_EQ(S("3.75")->ToDouble(), 3.75);
	CHECK_EQ(S("  -2.5e3rest")->ToDouble(), -2500.0);
	CHECK_EQ(S("1E-2")->ToDouble(), 0.01);
	CHECK_EQ(S("x1")->ToDouble(), 0.0);
	CHECK_EQ(S("")->ToDouble(), 0.0);
	CHECK_EQ(S(".5")->ToDouble(), 0.5);
	CHECK_TEXT(String::FromDouble(-0.169075164, 9), "-0.169075164");
	CHECK_TEXT(String::FromDouble(2.5, 0), "2");      // %.0f rounds half to even
	CHECK_TEXT(String::FromDouble(3.5, 0), "4");
	CHECK_TEXT(String::FromDouble(1.0 / 3.0, 3), "0.333");
	CHECK_TEXT(String::FromDouble(2.0, 2), "2.00");
	CHECK_TEXT(String::FromDouble(1e300, 1)->Left(4), "1000");
	CHECK_EQ(String::FromDouble(1e300, 1)->Length(), 303);
	CHECK_TEXT(String::FromDouble(0.1), "0.1");
	CHECK_TEXT(String::FromDouble(3.0), "3.0");
	CHECK_TEXT(String::FromDouble(3.0, -1), "3.0");
	CHECK_TEXT(String::FromDouble(-1e-20), "-1e-20");
	CHECK_TEXT(String::FromChar(65), "A");
	CHECK_TEXT(String::FromChar(0), "\0");
	CHECK_TEXT(String::FromChar(255), "\xff");
	CHECK_TEXT(String::FromChar(256 + 66), "B");
}

static void NullArguments() {
	String* s = S("abc");
	CHECK_EQ(s->Compare((String*)0), 1);
	CHECK_EQ(s->Find((String*)0), 0);
	CHECK(s->StartsWith((String*)0));
	CHECK_TEXT(s->Replace((String*)0, S("x")), "abc");
	CHECK_TEXT(s->Replace(S("b"), (String*)0), "ac");
	CHECK_TEXT(s->PadLeft(5, (String*)0), "  abc");
	CHECK_TEXT(String::Join((Array<String*, 1>*)0, S(",")), "");
}

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	Comparing();
	Searching();
	Slicing();
	Transforming();
	Splitting();
	Numbers();
	NullArguments();
	return Finish();
}

// Run-time errors: standard output is flushed first, then one line on standard error, and
// the process ends with status 1. Each run triggers one error, chosen by the first argument.
#include <stdint.h>
#include <string.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "Zintrel/IO/zn_io.h"

//@ run index-high
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: array index out of bounds
//@ run index-negative
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: array index out of bounds
//@ run index-second-dimension
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: array index out of bounds
//@ run index-third-dimension
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: array index out of bounds
//@ run index-huge-unsigned
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: array index out of bounds
//@ run index-empty
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: array index out of bounds
//@ run negative-size
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: negative array size
//@ run negative-size-second
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: negative array size
//@ run too-large
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: out of memory
//@ run null-method
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: invalid memory access (Null object?)
//@ run null-field
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: invalid memory access (Null object?)
//@ run null-string
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: invalid memory access (Null object?)
//@ run stack-overflow
//@ status 1
//@ stdout-raw before
//@ stderr Runtime error: invalid memory access (Null object?)
//@ run in-range
//@ stdout before
//@ stdout fine

struct Node: public Object {
	int32_t value;
	Node* next;
	virtual int32_t Value();
	Node();
};
int32_t Node::Value() { return value; }
Node::Node() { value = 0; next = 0; }

static volatile int32_t Limit = INT32_MAX;

static int32_t Depth(int32_t n) {
	volatile char frame[256];
	frame[0] = (char)n;
	if (n == Limit) return 0;
	return Depth(n + 1) + frame[0];
}

static bool Is(const char* a, const char* b) { return strcmp(a, b) == 0; }

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	const char* what = argc > 1 ? argv[1] : "";
	// Written without a line end: it must still appear, before the error.
	Write(new String("before"));
	Array<int32_t, 1>* a = new Array<int32_t, 1>(3, 1, 2, 3);
	Array<int32_t, 3>* cube = (new Array<int32_t, 3>(-1, 2, 3, 4));
	volatile int32_t n = -1;
	// Null as far as the compiler can tell only at run time, like a field read from memory.
	Node* volatile nullNode = 0;
	String* volatile nullText = 0;
	Node* node = nullNode;
	String* text = nullText;
	if (Is(what, "index-high")) (*a->At(3)) = 0;
	if (Is(what, "index-negative")) (*a->At(n)) = 0;
	if (Is(what, "index-second-dimension")) (*cube->At(1, 3, 0)) = 0;
	if (Is(what, "index-third-dimension")) (*cube->At(1, 2, 4)) = 0;
	if (Is(what, "index-huge-unsigned")) (*a->At((uint64_t)1 << 63)) = 0;
	if (Is(what, "index-empty")) (*(new Array<int32_t, 2>(0))->At(0, 0)) = 0;
	if (Is(what, "negative-size")) a = (new Array<int32_t, 1>(-1, n));
	if (Is(what, "negative-size-second")) cube = (new Array<int32_t, 3>(-1, 2, n, 4));
	if (Is(what, "too-large")) cube = (new Array<int32_t, 3>(-1, 100000, 100000, 100000));
	if (Is(what, "null-method")) n = (node)->Value();
	if (Is(what, "null-field")) n = (node)->value;
	if (Is(what, "null-string")) n = (text)->Length();
	if (Is(what, "stack-overflow")) n = Depth(0);
	Print(new String(""));
	Print(new String("fine"));
	return 0;
}

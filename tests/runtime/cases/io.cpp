// Zintrel.IO: console output with NUL bytes, line input with prompt, CR LF and end of input,
// whole files. Output interleaves with C's stdio because both go through stdout.
#include <stdint.h>
#include <stdio.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "Zintrel/IO/zn_io.h"
#include "check.h"

//@ run console
//@ stdin first line
//@ stdin-raw second\r\n\nlast without line end
//@ stdout-raw one\ntwo\0three\n[c]prompt> <first line>\n<second>\n<>\n? <last without line end>\n<>\n<>\nend\n
//@ run files
//@ stdout files done

static void Console() {
	Print(new String("one"));
	Write((new String("two"))->Append(String::FromChar(0))->Append(new String("three")));
	Print(new String(""));
	printf("[c]");
	String* a = Input(new String("prompt> "));
	printf("<%s>\n", a->Data);
	String* b = Input();
	Print((new String("<"))->Append(b)->Append(new String(">")));
	Print((new String("<"))->Append(Input(new String("")))->Append(new String(">")));
	String* c = Input(new String("? "));
	Print((new String("<"))->Append(c)->Append(new String(">")));
	// At end of input every further read gives "".
	Print((new String("<"))->Append(Input())->Append(new String(">")));
	Print((new String("<"))->Append(Input())->Append(new String(">")));
	Print(new String("end"));
}

static void Files() {
	String* path = new String("data.bin");
	CHECK(!FileExists(path));
	CHECK_TEXT(ReadFile(path), "");
	CHECK_TEXT(ReadFile(new String("no/such/folder/file")), "");
	String* content = (new String("line 1\r\n"))->Append(String::FromChar(0))->Append(new String("\xff end"));
	CHECK(WriteFile(path, content));
	CHECK(FileExists(path));
	CHECK_TEXT(ReadFile(path), "line 1\r\n\0\xff end");
	CHECK(WriteFile(path, new String("")));
	CHECK(FileExists(path));
	CHECK_TEXT(ReadFile(path), "");
	CHECK(!WriteFile(new String("no/such/folder/file"), content));
	// A folder is not a file, and reading it gives "".
	CHECK(!FileExists(new String(".")));
	CHECK_TEXT(ReadFile(new String(".")), "");
	// A big file crosses every buffer size.
	String* big = new String("");
	Array<String*, 1>* parts = (new Array<String*, 1>(-1, 50000));
	for (int32_t i = 0; i < 50000; i += 1) (*parts->At(i)) = ((new String("row "))->Append(i));
	big = String::Join(parts, new String("\n"));
	CHECK(WriteFile(new String("big.txt"), big));
	String* back = ReadFile(new String("big.txt"));
	CHECK(back->Equals(big));
	CHECK_EQ(back->Split(new String("\n"))->Length, 50000);
	CHECK(FileExists(new String("big.txt")));
	Print(new String("files done"));
}

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	if (argc > 1 && strcmp(argv[1], "console") == 0) Console();
	if (argc > 1 && strcmp(argv[1], "files") == 0) Files();
	return Finish();
}

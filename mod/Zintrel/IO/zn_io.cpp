// Zintrel.IO: standard output goes through C's stdout so that it interleaves with C code a
// program imports; it is flushed before reading input and at exit.
#include "zn_io.h"

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

namespace {

void Put(String* text) {
	if (text != nullptr && text->_Length > 0) fwrite(text->Data, 1, static_cast<size_t>(text->_Length), stdout);
}

const char* PathOf(String* path) {
	return path != nullptr ? path->Data : "";
}

} // namespace

void Print(String* text) {
	Put(text);
	fputc('\n', stdout);
}

void Write(String* text) {
	Put(text);
}

String* Input(String* prompt) {
	Put(prompt);
	fflush(stdout);
	size_t capacity = 128, length = 0;
	char* line = static_cast<char*>(__zn::AllocAtomic(capacity));
	int c;
	while ((c = getchar()) != EOF && c != '\n') {
		if (length + 1 >= capacity) {
			if (capacity >= static_cast<size_t>(INT32_MAX) / 2) __zn::OutOfMemory();
			char* bigger = static_cast<char*>(__zn::AllocAtomic(capacity * 2));
			memcpy(bigger, line, length);
			line = bigger;
			capacity *= 2;
		}
		line[length++] = static_cast<char>(c);
	}
	if (length > 0 && line[length - 1] == '\r') length--;
	return new String(line, static_cast<int32_t>(length));
}

String* ReadFile(String* path) {
	FILE* file = fopen(PathOf(path), "rb");
	if (file == nullptr) return new String();
	size_t capacity = 4096, length = 0;
	char* data = static_cast<char*>(__zn::AllocAtomic(capacity));
	bool failed = false;
	for (;;) {
		if (length == capacity) {
			if (capacity >= static_cast<size_t>(INT32_MAX) / 2) __zn::OutOfMemory();
			char* bigger = static_cast<char*>(__zn::AllocAtomic(capacity * 2));
			memcpy(bigger, data, length);
			data = bigger;
			capacity *= 2;
		}
		size_t got = fread(data + length, 1, capacity - length, file);
		length += got;
		if (got == 0) {
			failed = ferror(file) != 0;
			break;
		}
	}
	fclose(file);
	if (failed) return new String();
	return new String(data, static_cast<int32_t>(length));
}

bool WriteFile(String* path, String* text) {
	FILE* file = fopen(PathOf(path), "wb");
	if (file == nullptr) return false;
	size_t length = text != nullptr ? static_cast<size_t>(text->_Length) : 0;
	bool ok = length == 0 || fwrite(text->Data, 1, length, file) == length;
	return fclose(file) == 0 && ok;
}

bool FileExists(String* path) {
	struct stat info;
	return stat(PathOf(path), &info) == 0 && !S_ISDIR(info.st_mode);
}

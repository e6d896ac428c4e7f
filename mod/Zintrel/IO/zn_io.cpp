// Zintrel.IO: standard output goes through C's stdout so that it interleaves with C code a
// program imports; it is flushed before reading input and at exit.
#include "zn_io.h"

#include <dirent.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

void Put(String* text) {
	if (text != nullptr && text->_Length > 0) fwrite(text->Data, 1, static_cast<size_t>(text->_Length), stdout);
}

// The path for C. One holding a NUL byte would name another file (C stops at the byte): it
// becomes "", which names none.
const char* PathOf(String* path) {
	if (path == nullptr || memchr(path->Data, 0, static_cast<size_t>(path->_Length)) != nullptr) return "";
	return path->Data;
}

Array<String*, 1>* StringArray(const std::vector<String*>& items) {
	if (items.size() > static_cast<size_t>(INT32_MAX)) __zn::OutOfMemory();
	Array<String*, 1>* array = new Array<String*, 1>(-1, static_cast<int32_t>(items.size()));
	for (size_t i = 0; i < items.size(); i++) *array->At(i) = items[i];
	return array;
}

bool WriteWhole(String* path, const char* mode, String* text) {
	FILE* file = fopen(PathOf(path), mode);
	if (file == nullptr) return false;
	size_t length = text != nullptr ? static_cast<size_t>(text->_Length) : 0;
	bool ok = length == 0 || fwrite(text->Data, 1, length, file) == length;
	return fclose(file) == 0 && ok;
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
	return WriteWhole(path, "wb", text);
}

bool FileExists(String* path) {
	struct stat info;
	return stat(PathOf(path), &info) == 0 && !S_ISDIR(info.st_mode);
}

Array<String*, 1>* ReadLines(String* path) {
	String* text = ReadFile(path);
	std::vector<String*> lines;
	const char* data = text->Data;
	int32_t start = 0;
	for (int32_t i = 0; i <= text->_Length; i++) {
		if (i < text->_Length && data[i] != '\n') continue;
		if (i == text->_Length && i == start) break;
		int32_t end = i > start && data[i - 1] == '\r' ? i - 1 : i;
		lines.push_back(new String(data + start, end - start));
		start = i + 1;
	}
	return StringArray(lines);
}

bool WriteLines(String* path, Array<String*, 1>* lines) {
	FILE* file = fopen(PathOf(path), "wb");
	if (file == nullptr) return false;
	bool ok = true;
	int32_t count = lines != nullptr ? lines->Size() : 0;
	for (int32_t i = 0; i < count && ok; i++) {
		String* line = *lines->At(i);
		size_t length = line != nullptr ? static_cast<size_t>(line->_Length) : 0;
		ok = (length == 0 || fwrite(line->Data, 1, length, file) == length) && fputc('\n', file) != EOF;
	}
	return fclose(file) == 0 && ok;
}

bool AppendFile(String* path, String* text) {
	return WriteWhole(path, "ab", text);
}

bool FolderExists(String* path) {
	struct stat info;
	return stat(PathOf(path), &info) == 0 && S_ISDIR(info.st_mode);
}

Array<String*, 1>* ListFolder(String* path) {
	std::vector<std::string> names;
	if (DIR* folder = opendir(PathOf(path))) {
		while (dirent* entry = readdir(folder))
			if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) names.push_back(entry->d_name);
		closedir(folder);
	}
	std::sort(names.begin(), names.end());
	std::vector<String*> items;
	for (const std::string& name : names) items.push_back(new String(name.c_str()));
	return StringArray(items);
}

bool MakeFolder(String* path) {
	std::string folder = PathOf(path);
	// Each folder from the top down; one that exists already is no failure.
	for (size_t at = folder.find('/', 1); at != std::string::npos; at = folder.find('/', at + 1)) {
		std::string above = folder.substr(0, at);
		if (mkdir(above.c_str(), 0777) != 0 && errno != EEXIST) break;
	}
	if (!folder.empty()) mkdir(folder.c_str(), 0777);
	return FolderExists(path);
}

bool DeleteFile(String* path) {
	return !FolderExists(path) && unlink(PathOf(path)) == 0;
}

bool DeleteFolder(String* path) {
	return rmdir(PathOf(path)) == 0;
}

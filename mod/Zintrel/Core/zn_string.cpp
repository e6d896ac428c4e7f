// Zintrel.Core: String. Strings are immutable; every operation that makes text returns a new
// string (ToString returns the string itself). A Null String argument counts as the empty
// string, except in Equals.
#include "zn_core.h"

#include <charconv>
#include <cmath>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <new>
#include <string_view>

// memcpy with an empty source is undefined even for zero bytes: Null texts copy nothing.
static inline void CopyBytes(void* to, const void* from, size_t count) {
	if (count != 0) memcpy(to, from, count);
}

namespace {

// Text of one appended or prepended value.
struct Piece {
	char Buffer[64];
	const char* Chars;
	int32_t Length;

	Piece() : Chars(Buffer), Length(0) {}
	explicit Piece(const char* literal) : Chars(literal), Length(static_cast<int32_t>(strlen(literal))) {}
	// Text in the buffer must follow the copy.
	Piece(const Piece& other) : Length(other.Length) {
		if (other.Chars == other.Buffer) {
			CopyBytes(Buffer, other.Buffer, sizeof Buffer);
			Chars = Buffer;
		} else {
			Chars = other.Chars;
		}
	}
	Piece& operator=(const Piece&) = delete;
};

template<typename I> Piece IntegerPiece(I value) {
	Piece piece;
	auto result = std::to_chars(piece.Buffer, piece.Buffer + sizeof piece.Buffer, value);
	piece.Length = static_cast<int32_t>(result.ptr - piece.Buffer);
	return piece;
}

// The shortest text that reads back to the same value; ".0" marks it as a real number when
// it would otherwise look like an integer.
template<typename F> Piece RealPiece(F value) {
	if (std::isnan(value)) return Piece("nan");
	Piece piece;
	auto result = std::to_chars(piece.Buffer, piece.Buffer + sizeof piece.Buffer - 2, value);
	char* end = result.ptr;
	bool digitsOnly = true;
	for (char* p = piece.Buffer; p < end; p++) {
		if (!((*p >= '0' && *p <= '9') || (*p == '-' && p == piece.Buffer))) digitsOnly = false;
	}
	if (digitsOnly) {
		*end++ = '.';
		*end++ = '0';
	}
	piece.Length = static_cast<int32_t>(end - piece.Buffer);
	return piece;
}

Piece TextPiece(String* s) {
	Piece piece;
	if (s != nullptr) {
		piece.Chars = s->Data;
		piece.Length = s->_Length;
	}
	return piece;
}

Piece ObjectPiece(Object* o) {
	if (o == nullptr) return Piece("Null");
	return TextPiece(o->ToString());
}

bool IsBlank(char c) {
	return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view View(String* s) {
	if (s == nullptr) return std::string_view();
	return std::string_view(s->Data, static_cast<size_t>(s->_Length));
}

String* Copy(std::string_view text) {
	return new String(text.data(), static_cast<int32_t>(text.size()));
}

char PadByte(String* fill) {
	return fill != nullptr && fill->_Length > 0 ? fill->Data[0] : ' ';
}

} // namespace

String::String() {
	Reserve(0);
}

String::String(const char* text) {
	size_t length = text != nullptr ? strlen(text) : 0;
	if (length >= static_cast<size_t>(INT32_MAX)) __zn::OutOfMemory();
	Reserve(static_cast<int32_t>(length));
	CopyBytes(Data, text, length);
}

String::String(const char* bytes, int32_t length) {
	if (length < 0 || bytes == nullptr) length = 0;
	Reserve(length);
	CopyBytes(Data, bytes, static_cast<size_t>(length));
}

// Only Delete runs destructors: the collector reclaims unreachable strings without them.
String::~String() {
	if (Data != Inline) __zn::Free(Data);
}

void String::Reserve(int32_t length) {
	_Length = length;
	if (static_cast<size_t>(length) < sizeof Inline) {
		Data = Inline;
	} else {
		Data = static_cast<char*>(__zn::AllocAtomic(static_cast<size_t>(length) + 1));
	}
	Data[length] = 0;
}

String* String::Uninitialised(int64_t length) {
	if (length >= INT32_MAX) __zn::OutOfMemory();
	String* s = new String();
	s->Reserve(static_cast<int32_t>(length));
	return s;
}

String* String::Concat(const char* a, int32_t aLength, const char* b, int32_t bLength) {
	String* s = Uninitialised(static_cast<int64_t>(aLength) + bLength);
	CopyBytes(s->Data, a, static_cast<size_t>(aLength));
	CopyBytes(s->Data + aLength, b, static_cast<size_t>(bLength));
	return s;
}

Piece PieceOf(String* s) { return TextPiece(s); }
Piece PieceOf(Object* o) { return ObjectPiece(o); }
// bool and the byte types are numbers too: True is 1, a Byte 65 is "65".
Piece PieceOf(bool v) { return IntegerPiece(static_cast<int>(v)); }
Piece PieceOf(char v) { return IntegerPiece(static_cast<int>(v)); }
Piece PieceOf(signed char v) { return IntegerPiece(static_cast<int>(v)); }
Piece PieceOf(unsigned char v) { return IntegerPiece(static_cast<int>(v)); }
Piece PieceOf(short v) { return IntegerPiece(static_cast<int>(v)); }
Piece PieceOf(unsigned short v) { return IntegerPiece(static_cast<int>(v)); }
Piece PieceOf(int v) { return IntegerPiece(v); }
Piece PieceOf(unsigned int v) { return IntegerPiece(v); }
Piece PieceOf(long v) { return IntegerPiece(v); }
Piece PieceOf(unsigned long v) { return IntegerPiece(v); }
Piece PieceOf(long long v) { return IntegerPiece(v); }
Piece PieceOf(unsigned long long v) { return IntegerPiece(v); }
Piece PieceOf(float v) { return RealPiece(v); }
Piece PieceOf(double v) { return RealPiece(v); }
Piece PieceOf(long double v) { return RealPiece(v); }

#define ZN_APPEND_PREPEND(Type)                                              \
	String* String::Append(Type b) {                                         \
		Piece piece = PieceOf(b);                                            \
		return Concat(Data, _Length, piece.Chars, piece.Length);       \
	}                                                                        \
	String* String::Prepend(Type a) {                                        \
		Piece piece = PieceOf(a);                                            \
		return Concat(piece.Chars, piece.Length, Data, _Length);       \
	}

ZN_APPEND_PREPEND(String*)
ZN_APPEND_PREPEND(Object*)
ZN_APPEND_PREPEND(bool)
ZN_APPEND_PREPEND(char)
ZN_APPEND_PREPEND(signed char)
ZN_APPEND_PREPEND(unsigned char)
ZN_APPEND_PREPEND(short)
ZN_APPEND_PREPEND(unsigned short)
ZN_APPEND_PREPEND(int)
ZN_APPEND_PREPEND(unsigned int)
ZN_APPEND_PREPEND(long)
ZN_APPEND_PREPEND(unsigned long)
ZN_APPEND_PREPEND(long long)
ZN_APPEND_PREPEND(unsigned long long)
ZN_APPEND_PREPEND(float)
ZN_APPEND_PREPEND(double)
ZN_APPEND_PREPEND(long double)
#undef ZN_APPEND_PREPEND

String* String::AppendPointer(uintptr_t address) {
	Piece piece = IntegerPiece(address);
	return Concat(Data, _Length, piece.Chars, piece.Length);
}

String* String::PrependPointer(uintptr_t address) {
	Piece piece = IntegerPiece(address);
	return Concat(piece.Chars, piece.Length, Data, _Length);
}

bool String::Equals(String* other) {
	return other != nullptr && View(this) == View(other);
}

int32_t String::Compare(String* other) {
	int c = View(this).compare(View(other));
	return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int32_t String::Find(String* sub, int32_t start) {
	if (start < 0) start = 0;
	if (start > _Length) return -1;
	size_t at = View(this).find(View(sub), static_cast<size_t>(start));
	return at == std::string_view::npos ? -1 : static_cast<int32_t>(at);
}

bool String::Contains(String* sub) {
	return Find(sub, 0) >= 0;
}

bool String::StartsWith(String* prefix) {
	std::string_view p = View(prefix);
	return View(this).substr(0, p.size()) == p;
}

bool String::EndsWith(String* suffix) {
	std::string_view text = View(this), s = View(suffix);
	return text.size() >= s.size() && text.substr(text.size() - s.size()) == s;
}

String* String::Mid(int32_t start, int32_t count) {
	if (start < 0) start = 0;
	if (start > _Length) start = _Length;
	int32_t available = _Length - start;
	if (count < 0 || count > available) count = available;
	return new String(Data + start, count);
}

String* String::Left(int32_t count) {
	if (count < 0) count = 0;
	if (count > _Length) count = _Length;
	return new String(Data, count);
}

String* String::Right(int32_t count) {
	if (count < 0) count = 0;
	if (count > _Length) count = _Length;
	return new String(Data + (_Length - count), count);
}

String* String::ToUpper() {
	String* s = new String(Data, _Length);
	for (int32_t i = 0; i < _Length; i++) {
		char c = s->Data[i];
		if (c >= 'a' && c <= 'z') s->Data[i] = static_cast<char>(c - 'a' + 'A');
	}
	return s;
}

String* String::ToLower() {
	String* s = new String(Data, _Length);
	for (int32_t i = 0; i < _Length; i++) {
		char c = s->Data[i];
		if (c >= 'A' && c <= 'Z') s->Data[i] = static_cast<char>(c - 'A' + 'a');
	}
	return s;
}

String* String::Trim() {
	int32_t first = 0, last = _Length;
	while (first < last && IsBlank(Data[first])) first++;
	while (last > first && IsBlank(Data[last - 1])) last--;
	return new String(Data + first, last - first);
}

String* String::Replace(String* find, String* replacement) {
	std::string_view text = View(this), f = View(find), r = View(replacement);
	if (f.empty()) return Copy(text);
	int64_t matches = 0;
	for (size_t at = text.find(f); at != std::string_view::npos; at = text.find(f, at + f.size())) matches++;
	String* s = Uninitialised(static_cast<int64_t>(text.size()) +
		matches * (static_cast<int64_t>(r.size()) - static_cast<int64_t>(f.size())));
	char* out = s->Data;
	size_t from = 0;
	for (size_t at = text.find(f); at != std::string_view::npos; at = text.find(f, at + f.size())) {
		CopyBytes(out, text.data() + from, at - from);
		out += at - from;
		CopyBytes(out, r.data(), r.size());
		out += r.size();
		from = at + f.size();
	}
	CopyBytes(out, text.data() + from, text.size() - from);
	return s;
}

Array<String*, 1>* String::Split(String* separator) {
	std::string_view text = View(this), sep = View(separator);
	if (sep.empty()) return new Array<String*, 1>(1, Copy(text));
	int32_t parts = 1;
	for (size_t at = text.find(sep); at != std::string_view::npos; at = text.find(sep, at + sep.size())) parts++;
	Array<String*, 1>* result = new Array<String*, 1>(-1, parts);
	size_t from = 0;
	int32_t k = 0;
	for (size_t at = text.find(sep); at != std::string_view::npos; at = text.find(sep, at + sep.size())) {
		result->Items[k++] = Copy(text.substr(from, at - from));
		from = at + sep.size();
	}
	result->Items[k] = Copy(text.substr(from));
	return result;
}

int32_t String::CharAt(int32_t index) {
	if (index < 0 || index >= _Length) return -1;
	return static_cast<uint8_t>(Data[index]);
}

int32_t String::ToInt() {
	return static_cast<int32_t>(static_cast<uint32_t>(ToLong()));
}

int64_t String::ToLong() {
	int32_t i = 0;
	while (i < _Length && IsBlank(Data[i])) i++;
	bool negative = false;
	if (i < _Length && (Data[i] == '-' || Data[i] == '+')) negative = Data[i++] == '-';
	uint64_t value = 0;
	while (i < _Length && Data[i] >= '0' && Data[i] <= '9') {
		value = value * 10 + static_cast<uint64_t>(Data[i++] - '0');
	}
	return static_cast<int64_t>(negative ? 0 - value : value);
}

double String::ToDouble() {
	char* end = nullptr;
	double value = strtod(Data, &end);
	return end == Data ? 0.0 : value;
}

String* String::ToString() {
	return this;
}

String* String::PadLeft(int32_t width, String* fill) {
	if (_Length >= width) return new String(Data, _Length);
	String* s = Uninitialised(width);
	int32_t pad = width - _Length;
	memset(s->Data, PadByte(fill), static_cast<size_t>(pad));
	CopyBytes(s->Data + pad, Data, static_cast<size_t>(_Length));
	return s;
}

String* String::PadRight(int32_t width, String* fill) {
	if (_Length >= width) return new String(Data, _Length);
	String* s = Uninitialised(width);
	CopyBytes(s->Data, Data, static_cast<size_t>(_Length));
	memset(s->Data + _Length, PadByte(fill), static_cast<size_t>(width - _Length));
	return s;
}

String* String::FromChar(int32_t code) {
	char byte = static_cast<char>(code & 0xFF);
	return new String(&byte, 1);
}

String* String::Join(Array<String*, 1>* parts, String* separator) {
	if (parts == nullptr || parts->Length == 0) return new String();
	std::string_view sep = View(separator);
	int64_t total = static_cast<int64_t>(sep.size()) * (parts->Length - 1);
	for (int32_t k = 0; k < parts->Length; k++) total += View(parts->Items[k]).size();
	String* s = Uninitialised(total);
	char* out = s->Data;
	for (int32_t k = 0; k < parts->Length; k++) {
		if (k > 0) {
			CopyBytes(out, sep.data(), sep.size());
			out += sep.size();
		}
		std::string_view part = View(parts->Items[k]);
		CopyBytes(out, part.data(), part.size());
		out += part.size();
	}
	return s;
}

String* String::FromDouble(double value, int32_t decimals) {
	if (decimals < 0) {
		Piece piece = RealPiece(value);
		return new String(piece.Chars, piece.Length);
	}
	int length = snprintf(nullptr, 0, "%.*f", static_cast<int>(decimals), value);
	if (length < 0) __zn::OutOfMemory();
	String* s = Uninitialised(length);
	snprintf(s->Data, static_cast<size_t>(length) + 1, "%.*f", static_cast<int>(decimals), value);
	return s;
}

String* __zn::EmptyString() {
	static String empty;
	return &empty;
}

// A Delete of the shared empty string has run its destructor; it is built anew in place, so
// every array that still refers to it sees an intact empty string.
void __zn::ReviveIfEmptyString(void* p) {
	if (p == EmptyString()) new (p) String();
}

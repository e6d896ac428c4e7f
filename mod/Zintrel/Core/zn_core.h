// Zintrel.Core, C++ side: Object, String and Array, and the runtime services behind them
// (collector, run-time errors, program arguments).
//
// Generated code uses these classes in fixed forms: new String("text"), (a)->Append(b),
// (b)->Prepend(a), (s)->_Length, __zn::HasLength(s), __zn::DownCast<T*>(x), ((s)->Data),
// ((uint8_t*)((s)->Data)),
// new Array<T, N>(...), (*a->At(i, j)),
// (a)->Length, struct X: public Object. Everything else here serves those forms or the
// members that the module declares for programs.
#ifndef ZN_CORE_H
#define ZN_CORE_H

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>
#include <type_traits>
#include <typeinfo>

// Generated code raises numbers to a power with powf. Declared here rather than through
// <math.h>, which would put every C math name into the program's global namespace; the
// declaration matches the C library's, so programs may still include <math.h> themselves.
extern "C" float powf(float x, float y) noexcept;

struct String;
template<typename T, int N> struct Array;

namespace __zn {

// Allocation from the collected heap. Scanned memory may hold pointers and comes back zeroed;
// atomic memory is never scanned and is not cleared.
void* AllocScanned(size_t bytes);
void* AllocAtomic(size_t bytes);
// Returns a block to the collected heap at once (Delete); other pointers are ignored.
void Free(void* block);

// Run-time errors: flush standard output, print "Runtime error: " + what, exit with status 1.
[[noreturn]] void Fatal(const char* what);
[[noreturn]] __attribute__((cold, noinline)) void IndexOutOfBounds();
[[noreturn]] __attribute__((cold, noinline)) void NegativeArraySize();
[[noreturn]] __attribute__((cold, noinline)) void OutOfMemory();

// Start-up: the collector is usable from the first allocation (global initialisers run
// before main); StartRuntime completes the set-up and keeps the program's arguments.
void InitCollector();
void StartRuntime(int argc, const char* argv[]);
int ArgumentCount();
const char* Argument(int index);

// The one shared empty string: initial value of String elements of sized arrays. It lives
// outside the collected heap, so a Delete of it is ignored.
String* EmptyString();
void ReviveIfEmptyString(void* p);

template<typename A> inline bool IsNegative(A value) {
	if constexpr (std::is_signed_v<A>) {
		return value < 0;
	} else {
		(void)value;
		return false;
	}
}

// An array extent from any integer type; too large for an Int is more than memory holds.
template<typename A> inline int32_t Extent(A value) {
	static_assert(std::is_integral_v<A>, "array sizes must be integers");
	if constexpr (std::is_signed_v<A>) {
		if (static_cast<int64_t>(value) > INT32_MAX) OutOfMemory();
	} else {
		if (static_cast<uint64_t>(value) > static_cast<uint64_t>(INT32_MAX)) OutOfMemory();
	}
	return static_cast<int32_t>(value);
}

template<typename> inline constexpr bool AlwaysFalse = false;

// Array literals up to this many elements pass every element with its own type.
constexpr int SmallLiteral = 64;

// The type a value of type T is passed as through C's variable arguments.
template<typename T> using Promoted = std::conditional_t<std::is_same_v<T, float>, double,
	std::conditional_t<std::is_integral_v<T> && (sizeof(T) < sizeof(int)), int, T>>;

// An element of an array literal. A Null literal reaches us as the integer 0.
template<typename T, typename A> inline T Element(A value) {
	if constexpr (std::is_convertible_v<A, T>) {
		return value;
	} else if constexpr (std::is_pointer_v<T> && std::is_integral_v<A>) {
		(void)value;
		return nullptr;
	} else {
		static_assert(AlwaysFalse<A>, "array element of the wrong type");
	}
}

} // namespace __zn

// Root of every class. Polymorphic so that dynamic_cast works on class pointers. It must not
// declare an operator new: a class with two parents would inherit two.
struct Object {
	Object() {}
	virtual ~Object() {}
	// The dynamic class name, e.g. "Point".
	virtual String* ToString();
};

// Immutable 8-bit strings. _Length is authoritative (NUL bytes may occur inside); Data is
// always NUL-terminated for C. Short texts live inside the object itself.
struct String final : Object {
	int32_t _Length;
	char Inline[20];
	// NUL-terminated; generated code converts it explicitly where a UByte Ptr is expected.
	char* Data;

	String();
	explicit String(const char* text);
	String(const char* bytes, int32_t length);
	String(const String&) = delete;
	String& operator=(const String&) = delete;
	~String() override;

	String* Append(String* b);
	String* Append(Object* b);
	String* Append(bool b);
	String* Append(char b);
	String* Append(signed char b);
	String* Append(unsigned char b);
	String* Append(short b);
	String* Append(unsigned short b);
	String* Append(int b);
	String* Append(unsigned int b);
	String* Append(long b);
	String* Append(unsigned long b);
	String* Append(long long b);
	String* Append(unsigned long long b);
	String* Append(float b);
	String* Append(double b);
	String* Append(long double b);
	template<typename P> String* Append(P* b);

	String* Prepend(String* a);
	String* Prepend(Object* a);
	String* Prepend(bool a);
	String* Prepend(char a);
	String* Prepend(signed char a);
	String* Prepend(unsigned char a);
	String* Prepend(short a);
	String* Prepend(unsigned short a);
	String* Prepend(int a);
	String* Prepend(unsigned int a);
	String* Prepend(long a);
	String* Prepend(unsigned long a);
	String* Prepend(long long a);
	String* Prepend(unsigned long long a);
	String* Prepend(float a);
	String* Prepend(double a);
	String* Prepend(long double a);
	template<typename P> String* Prepend(P* a);

	int32_t Length() { return _Length; }
	bool Equals(String* other);
	int32_t Compare(String* other);
	int32_t Find(String* sub, int32_t start = 0);
	bool Contains(String* sub);
	bool StartsWith(String* prefix);
	bool EndsWith(String* suffix);
	String* Mid(int32_t start, int32_t count = -1);
	String* Left(int32_t count);
	String* Right(int32_t count);
	String* ToUpper();
	String* ToLower();
	String* Trim();
	String* Replace(String* find, String* replacement);
	Array<String*, 1>* Split(String* separator);
	int32_t CharAt(int32_t index);
	int32_t ToInt();
	int64_t ToLong();
	double ToDouble();
	String* ToString() override;
	// A Null or empty fill pads with blanks.
	String* PadLeft(int32_t width, String* fill = nullptr);
	String* PadRight(int32_t width, String* fill = nullptr);

	static String* FromChar(int32_t code);
	static String* Join(Array<String*, 1>* parts, String* separator);
	static String* FromDouble(double value, int32_t decimals = -1);

	// A new string of the given length whose bytes the caller fills in.
	static String* Uninitialised(int64_t length);
	static String* Concat(const char* a, int32_t aLength, const char* b, int32_t bLength);

private:
	String* AppendPointer(uintptr_t address);
	String* PrependPointer(uintptr_t address);
	void Reserve(int32_t length);
};

// Pointers to classes append their ToString; other pointers their address as a number.
template<typename P> String* String::Append(P* b) {
	if constexpr (std::is_convertible_v<P*, Object*>) {
		return Append(static_cast<Object*>(b));
	} else if constexpr (std::is_base_of_v<Object, P>) {
		return Append(b ? b->ToString() : static_cast<Object*>(nullptr));
	} else {
		return AppendPointer(reinterpret_cast<uintptr_t>(b));
	}
}

template<typename P> String* String::Prepend(P* a) {
	if constexpr (std::is_convertible_v<P*, Object*>) {
		return Prepend(static_cast<Object*>(a));
	} else if constexpr (std::is_base_of_v<Object, P>) {
		return Prepend(a ? a->ToString() : static_cast<Object*>(nullptr));
	} else {
		return PrependPointer(reinterpret_cast<uintptr_t>(a));
	}
}

// N-dimensional arrays, stored row-major. Length is the total element count. Three
// constructor forms: (0) is empty; (-1, s1 ... sN) has the given extents, elements zero or
// null (String elements the empty string); (n, x1 ... xn) is a one-dimensional literal.
template<typename T, int N>
struct Array final : Object {
	static_assert(N >= 1, "an array has at least one dimension");
	static_assert(std::is_scalar_v<T>, "array elements are numbers or pointers");

	int32_t Length;
	// Extents are 64-bit so that stores of Int, Float, Double or pointer elements cannot alias
	// them: the compiler then keeps them in registers across loops over the elements.
	uint64_t Extents[N];
	T* Items;

	// (0), (-1, s1 ... sN), and literals of up to SmallLiteral elements: every argument keeps its
	// own type and is converted exactly.
	template<typename... A, std::enable_if_t<(sizeof...(A) <= N) ||
		(N == 1 && sizeof...(A) > 2 && sizeof...(A) <= __zn::SmallLiteral), int> = 0>
	explicit Array(int32_t first, A... rest) : Length(0), Extents(), Items(nullptr) {
		if constexpr (sizeof...(A) > 0) {
			constexpr bool sized = sizeof...(A) == N && (std::is_integral_v<A> && ...);
			constexpr bool literal = N == 1 && ((std::is_convertible_v<A, T> ||
				(std::is_pointer_v<T> && std::is_integral_v<A>)) && ...);
			static_assert(sized || literal, "Array takes (0), (-1, sizes...) or (count, elements...)");
			if constexpr (sized && literal) {
				if (first == -1) InitSized(rest...); else InitLiteral(rest...);
			} else if constexpr (sized) {
				InitSized(rest...);
			} else {
				InitLiteral(rest...);
			}
		} else {
			(void)first;
		}
	}
	// Literals of two elements and more: the elements after the first two come through C's
	// variable arguments, read back as their promoted type. A parameter pack of thousands of
	// elements makes g++ take seconds per literal; this form compiles in linear time. Every
	// element of a literal has the element type (a Null of a pointer type is written as a null
	// pointer of that type), so reading them back as T is exact.
	template<int M = N, std::enable_if_t<M == 1, int> = 0>
	explicit Array(int32_t count, T x1, T x2, ...) : Length(0), Extents(), Items(nullptr) {
		if (count < 2) count = 2;
		Extents[0] = static_cast<uint64_t>(count);
		Allocate(count);
		Items[0] = x1;
		Items[1] = x2;
		va_list rest;
		va_start(rest, x2);
		for (int32_t k = 2; k < count; k++) Items[k] = static_cast<T>(va_arg(rest, __zn::Promoted<T>));
		va_end(rest);
	}
	Array(const Array&) = delete;
	Array& operator=(const Array&) = delete;
	// Only Delete runs destructors: the collector reclaims unreachable arrays without them.
	~Array() override { __zn::Free(Items); }

	// Extent of one dimension (0 for a dimension the array does not have).
	int32_t Size(int32_t dimension = 0) {
		return dimension >= 0 && dimension < N ? static_cast<int32_t>(Extents[dimension]) : 0;
	}

	// Pointer to an element; any index outside its dimension is a run-time error.
	template<typename... I> T* At(I... index) {
		static_assert(sizeof...(I) == N, "one index per dimension");
		static_assert((std::is_integral_v<I> && ...), "array indexes must be integers");
		const uint64_t i[N] = {static_cast<uint64_t>(index)...};
		// Read before the test: a load that every call makes, whatever its outcome, is one that
		// g++ can take out of the caller's loop; read after the test it was made again per element.
		T* items = Items;
		bool outside = false;
		uint64_t offset = 0;
		for (int d = 0; d < N; d++) {
			outside |= i[d] >= Extents[d];
			offset = offset * Extents[d] + i[d];
		}
		if (__builtin_expect(outside, 0)) __zn::IndexOutOfBounds();
		return items + offset;
	}

private:
	template<typename... S> void InitSized(S... sizes) {
		if ((__zn::IsNegative(sizes) || ...)) __zn::NegativeArraySize();
		const int32_t extents[N] = {__zn::Extent(sizes)...};
		int64_t total = 1;
		for (int d = 0; d < N; d++) {
			Extents[d] = static_cast<uint64_t>(extents[d]);
			total *= extents[d];
			if (total > INT32_MAX) __zn::OutOfMemory();
		}
		Allocate(static_cast<int32_t>(total));
		if constexpr (std::is_same_v<T, String*>) {
			String* empty = __zn::EmptyString();
			for (int32_t k = 0; k < Length; k++) Items[k] = empty;
		}
	}

	template<typename... A> void InitLiteral(A... values) {
		Extents[0] = sizeof...(A);
		Allocate(static_cast<int32_t>(sizeof...(A)));
		int32_t k = 0;
		((Items[k++] = __zn::Element<T>(values)), ...);
	}

	void Allocate(int32_t count) {
		Length = count;
		if (count == 0) return;
		size_t bytes = static_cast<size_t>(count) * sizeof(T);
		if constexpr (std::is_pointer_v<T>) {
			Items = static_cast<T*>(__zn::AllocScanned(bytes));
		} else {
			Items = static_cast<T*>(__zn::AllocAtomic(bytes));
			__builtin_memset(static_cast<void*>(Items), 0, bytes);
		}
	}
};

namespace __zn {

// A checked down-cast: the object as a P (a class pointer), or Null when it is none. An object of
// exactly that class, the common case, is found from its type and the offset to its whole
// object, both read from its vtable; only other objects take dynamic_cast's walk through the
// class hierarchy (every parent is a virtual base, which only dynamic_cast can leave).
template<typename P, typename F> inline P DownCast(F* object) {
	using T = std::remove_pointer_t<P>;
	if (object == nullptr) return nullptr;
	if (typeid(*object) == typeid(T)) return static_cast<P>(dynamic_cast<void*>(object));
	return dynamic_cast<P>(object);
}

// A string or an array as a truth value: set and not empty; a Null one is false.
inline bool HasLength(const String* text) { return text != nullptr && text->_Length != 0; }
template<typename T, int N> inline bool HasLength(const Array<T, N>* array) {
	return array != nullptr && array->Length != 0;
}

} // namespace __zn

#endif

// Classes as generated code declares them: Object as the root, ToString, dynamic_cast,
// two parents, Delete, and allocations made by global initialisers before main.
#include <stdint.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "check.h"

struct Shape: public Object {
	int32_t sides;

	static int32_t count;

	Shape* __CreateShape(int32_t n);
	virtual double Area() = 0;
	virtual String* Describe();

	Shape();
};
int32_t Shape::count = 0;
Shape* Shape::__CreateShape(int32_t n) { sides = n; Shape::count = (Shape::count + 1); return this; }
String* Shape::Describe() { return ((new String("sides="))->Append(sides)); }
Shape::Shape() { sides = 0; }

struct Square: public Shape {
	double side;

	Square* __CreateSquare(double s);
	virtual double Area();
	virtual String* ToString();

	Square();
};
Square* Square::__CreateSquare(double s) { Shape::__CreateShape(4); side = s; return this; }
double Square::Area() { return (side * side); }
String* Square::ToString() { return ((new String("Square "))->Append(side)); }
Square::Square() { side = 0.0; }

struct Circle: public Shape {
	double r;
	virtual double Area();
	Circle();
};
double Circle::Area() { return ((3.0 * r) * r); }
Circle::Circle() { r = 0.0; }

// Two parents that both derive from Object.
struct Walker: public Object {
	int32_t legs;
	virtual int32_t Walk();
	Walker();
};
int32_t Walker::Walk() { return legs; }
Walker::Walker() { legs = 2; }

struct Swimmer: public Object {
	int32_t fins;
	virtual int32_t Swim();
	Swimmer();
};
int32_t Swimmer::Swim() { return fins; }
Swimmer::Swimmer() { fins = 1; }

struct Duck: public Walker, public Swimmer {
	String* name;
	virtual String* ToString();
	Duck();
};
String* Duck::ToString() { return name; }
Duck::Duck() { name = new String("Donald"); }

// Global initialisers run before main and before __ZintrelAppInit.
String* greeting = ((new String("hello "))->Append(2024));
Array<String*, 1>* early = (new Array<String*, 1>(-1, 1000));
Square* earlySquare = ((new Square))->__CreateSquare(1.5);

static void ClassNames() {
	CHECK_TEXT(((new Circle))->ToString(), "Circle");
	CHECK_TEXT(((new Square))->__CreateSquare(2.0)->ToString(), "Square 2.0");
	Shape* shape = (new Circle);
	CHECK_TEXT((shape)->ToString(), "Circle");
	Object* o = (new Walker);
	CHECK_TEXT((o)->ToString(), "Walker");
	CHECK_TEXT((new Object)->ToString(), "Object");
	CHECK_TEXT((new String("x"))->Append((new Circle))->Append((new Duck)), "xCircleDonald");
}

static void Casts() {
	Shape* s = ((new Square))->__CreateSquare(3.0);
	CHECK((dynamic_cast<Square*>(s)) == s);
	CHECK((dynamic_cast<Circle*>(s)) == 0);
	CHECK_EQ((s)->Area(), 9.0);
	CHECK_TEXT((s)->Describe(), "sides=4");
	Object* o = s;
	CHECK((dynamic_cast<Shape*>(o)) == s);
	CHECK((dynamic_cast<String*>(o)) == 0);
	Object* text = new String("t");
	CHECK((dynamic_cast<String*>(text)) != 0);
	CHECK(((o) != NULL));
	CHECK_EQ(Shape::count, 3);  // earlySquare, ClassNames and this one
}

static void TwoParents() {
	Duck* d = (new Duck);
	CHECK_EQ((d)->Walk(), 2);
	CHECK_EQ((d)->Swim(), 1);
	Walker* w = d;
	Swimmer* sw = d;
	CHECK((dynamic_cast<Duck*>(w)) == d);
	CHECK((dynamic_cast<Swimmer*>(w)) == sw);
	CHECK_TEXT((w)->ToString(), "Donald");
	CHECK_TEXT((sw)->ToString(), "Donald");
	CHECK_TEXT((new String("I am "))->Append(d), "I am Donald");
	delete w;
}

static void Deleting() {
	// Delete frees at once: the next object of the same size reuses the memory.
	Circle* c = (new Circle);
	void* before = c;
	delete c;
	Circle* again = (new Circle);
	CHECK((void*)again == before);
	String* s = new String("temporary");
	delete s;
	// Deleting the shared empty string, which is not in the collected heap, leaves it intact
	// for every array that refers to it: it is still a String, and still empty.
	Array<String*, 1>* a = (new Array<String*, 1>(-1, 2));
	delete (*a->At(0));
	CHECK_TEXT((*a->At(1)), "");
	Array<String*, 1>* other = (new Array<String*, 1>(-1, 1));
	Object* asObject = (*other->At(0));
	CHECK(dynamic_cast<String*>(asObject) != nullptr);
	CHECK_TEXT((new String("["))->Append(asObject)->Append(new String("]")), "[]");
	CHECK_TEXT(asObject->ToString(), "");
	CHECK_TEXT((new String("a"))->Split(new String(""))->ToString(), "Array<String*, 1>");
	delete a;
	// Deleting an array or a long string frees its elements or text at once as well.
	Array<double, 1>* numbers = (new Array<double, 1>(-1, 1000));
	void* items = numbers->Items;
	delete numbers;
	CHECK((void*)(new Array<double, 1>(-1, 1000))->Items == items);
	String* text = (new String(""))->PadLeft(5000);
	void* chars = text->Data;
	delete text;
	CHECK((void*)(new String(""))->PadLeft(5000)->Data == chars);
	int32_t* raw = new int32_t[10];
	delete[] raw;
}

static void EarlyAllocations() {
	// Allocations made before the runtime was set up survive collections.
	for (int k = 0; k < 200000; k++) (new String("garbage "))->Append(k);
	CHECK_TEXT(greeting, "hello 2024");
	CHECK_EQ(early->Length, 1000);
	CHECK_TEXT((*early->At(999)), "");
	CHECK_EQ(earlySquare->Area(), 2.25);
}

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	ClassNames();
	Casts();
	TwoParents();
	Deleting();
	EarlyAllocations();
	return Finish();
}

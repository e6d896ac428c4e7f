#include "driver/Entry.h"

int main(int argc, char** argv) { return zintrel::RunCompiler(argc, argv); }

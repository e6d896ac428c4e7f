#pragma once
// The C++ target's node classes: each adds the C++ text of its node to the target-independent
// class it extends.
#include "cpp/CPPDeclarations.h"
#include "cpp/CPPStatements.h"

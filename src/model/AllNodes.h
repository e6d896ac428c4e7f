#pragma once
// Every node class of the tree, for code that walks or builds whole trees (the grammar's
// actions, the C++ target, the tests).
#include "model/ClassNode.h"
#include "model/Datatype.h"
#include "model/FunctionNode.h"
#include "model/ProgramNode.h"
#include "model/VariableDeclNode.h"
#include "semantics/Arrays.h"
#include "semantics/Assignment.h"
#include "semantics/Calls.h"
#include "semantics/Control.h"
#include "semantics/Expression.h"
#include "semantics/Operators.h"

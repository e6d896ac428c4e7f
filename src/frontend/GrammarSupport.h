#pragma once
// Everything the grammar's actions call: the emitters and every node class's creation entry.
#include "frontend/Bridge.h"
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

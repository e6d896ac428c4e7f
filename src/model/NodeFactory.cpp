#include "model/NodeFactory.h"

namespace zintrel {

TTarget* ActiveTarget = nullptr;

}  // namespace zintrel

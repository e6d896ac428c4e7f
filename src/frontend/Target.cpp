#include "frontend/Target.h"

namespace zintrel {

TTarget* ActiveTarget = nullptr;

}  // namespace zintrel

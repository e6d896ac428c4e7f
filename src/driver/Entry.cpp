#include "driver/Entry.h"

namespace zintrel {

int RunCompiler(int, char**) { return 0; }

}  // namespace zintrel

#pragma once
#include <cstdint>

namespace zintrel {

// Source span of a token or a grammar rule: lines and columns count from 1, columns in code
// units, the last column one past the end.
struct LocationRecord {
  int32_t FirstLine = 0;
  int32_t FirstColumn = 0;
  int32_t LastLine = 0;
  int32_t LastColumn = 0;
};

}  // namespace zintrel

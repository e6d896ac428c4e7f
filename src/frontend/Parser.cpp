#include "frontend/Parser.h"

#include "frontend/Lexer.h"
#include "frontend/Location.h"
#include "frontend/NodeTable.h"

// Generated from Grammar.y.
int yyparse();

namespace zintrel {

int Parse() {
  // The driver points the lexer at the run's location record before the first parse; a parse
  // run without the driver (tools, tests) gets one of its own.
  static LocationRecord ownRecord;
  if (TLexer::TokenLocation == nullptr) TLexer::TokenLocation = &ownRecord;
  const int status = yyparse();
  TNodeTable::ReleaseTaken();
  return status;
}

}  // namespace zintrel

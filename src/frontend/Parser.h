#pragma once
// The parser engine: runs the grammar over the file loaded into the lexer, building its tree
// through the grammar's actions. Nothing is printed; the driver reports a failure from the
// lexer's location record (TLexer::CalculateLocation).

namespace zintrel {

enum : int {
  PARSE_ACCEPTED = 0,
  PARSE_SYNTAX_ERROR = 1,
  PARSE_STACK_EXHAUSTED = 2,  // nesting deeper than the parser's stacks allow
};

// Parses the whole file currently loaded into the lexer; returns one of the codes above. The
// root of the file's tree is TASTNode::CommonRoot afterwards.
int Parse();

}  // namespace zintrel

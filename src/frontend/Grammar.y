/* The grammar of the language: 219 rules whose actions build the syntax tree through the bridge
 * (frontend/Bridge.h and the node classes' Emit entries). The rule order fixes the rule numbers
 * and, with them, the automaton: 421 states, and exactly two shift/reduce conflicts, both in
 * the state after New + identifier, on "(" and on "[" (shifting makes New Foo(...) pass
 * constructor arguments and New Foo[...] make an array). The epilogue and %expect make the
 * build fail if either count changes. Operator precedence comes only from the layering of the
 * expression rules; there are no precedence declarations.
 *
 * The parser never holds an object: values are handles of the node handle table, interned names
 * (identifiers and string texts), texts handed over to the receiver (std::string* from new, only
 * for module paths), token codes and 64-bit literal values. */

%code requires {
/* Included before Bison's token definitions: the headers declare names (TYPE_INT and others)
 * that the token macros below would otherwise rewrite. */
#include <array>
#include <cstdint>
#include <string>

#include "frontend/Bridge.h"
#include "model/AllNodes.h"
#include "frontend/Lexer.h"
#include "frontend/Location.h"

namespace zintrel {
/* The value of a For Local range: start, bound, step (or -1) and the until flag. */
struct ForToParts {
  int32_t From;
  int32_t To;
  int32_t Step;
  int32_t Until;
};
}  // namespace zintrel

/* Token and rule locations are the lexer's own record type, copied by value on the stack. */
#define YYLTYPE zintrel::LocationRecord
#define YYLTYPE_IS_DECLARED 1
#define YYLTYPE_IS_TRIVIAL 1
}

%code {
/* The bridge's classes by name; the datatype kinds stay the grammar's own token constants. */
using zintrel::ForToParts;
using zintrel::TAddressExpression;
using zintrel::TASTNode;
using zintrel::TAssignmentNode;
using zintrel::TAutoArrayExpression;
using zintrel::TBinaryOpExpression;
using zintrel::TCaseNode;
using zintrel::TClassNode;
using zintrel::TContinueNode;
using zintrel::TDatatype;
using zintrel::TDefaultNode;
using zintrel::TDeleteNode;
using zintrel::TElseIfNode;
using zintrel::TElseNode;
using zintrel::TExitNode;
using zintrel::TForNode;
using zintrel::TForWhileNode;
using zintrel::TFunctionCall;
using zintrel::TFunctionNode;
using zintrel::TGroupingExpression;
using zintrel::TIfNode;
using zintrel::TIndexExpression;
using zintrel::TLexer;
using zintrel::TListEmitter;
using zintrel::TLiteralNode;
using zintrel::TMemberAccessExpression;
using zintrel::TNewArrayExpression;
using zintrel::TNewExpression;
using zintrel::TNodeTable;
using zintrel::TProgramNode;
using zintrel::TRepeatNode;
using zintrel::TReturnNode;
using zintrel::TSelectNode;
using zintrel::TStringEmitter;
using zintrel::TTypeCastExpression;
using zintrel::TUnaryOpExpression;
using zintrel::TVariableDeclNode;
using zintrel::TVariableNode;
using zintrel::TWhileNode;

/* Stacks start with room for 200 entries and double up to 10000; needing more ends the parse
 * with result 2. */
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000

/* Two thirds of all reductions are by a rule of one symbol without an action, mostly the
 * layers of the expression grammar (Sum: BinaryExp, Product: Unary, ...). Its value and span
 * are those of its symbol, already on top of the stacks, so such a reduction only replaces
 * the state on top by the one its left side goes to. They come in chains (a number read as an
 * expression climbs every layer), and the state below stays the same along a chain: the chain
 * is followed here with the parser's own tables, deciding each step as the parser would, up
 * to the first step that is not such a reduction (a shift, another rule, an error, or a
 * decision that needs a token not read yet). The parser goes on from there. The rules with an
 * action are listed at build time from the generated parser's action switch. */
#include "frontend/GrammarActions.h"
namespace {
constexpr auto RuleHasAction = [] {
  std::array<bool, 256> table{};
  for (int rule : {ZINTREL_RULES_WITH_ACTIONS}) table[static_cast<size_t>(rule)] = true;
  return table;
}();

/* Where a chain ends depends only on its first rule, the state below it and the lookahead
 * token (or that none was read yet), so each end found is kept in a small table indexed by
 * those three: a program's expressions repeat a few hundred such chains, and each is then
 * followed once. A slot holds the last chain that hashed to it; key 0 marks an empty slot. */
struct TChainEnd {
  uint64_t Key = 0;
  int State = 0;
};
constexpr size_t ChainSlots = 1024;
std::array<TChainEnd, ChainSlots> ChainEnds;
constexpr uint64_t ChainKey(int rule, int below, int token) {
  return (static_cast<uint64_t>(rule) << 40 | static_cast<uint64_t>(below) << 20 |
          static_cast<uint64_t>(token)) + 1;
}
constexpr size_t ChainSlot(uint64_t key) {
  return static_cast<size_t>((key * 0x9E3779B97F4A7C15u) >> 54) & (ChainSlots - 1);
}
}  // namespace

/* A rule's span runs from the start of its first symbol to the end of its last; an empty rule
 * gets an empty span where the previous symbol ended. The nodes the action makes copy it. */
#define YYLLOC_DEFAULT(Current, Rhs, N)                                  \
  do {                                                                   \
    if ((N) == 1 && !RuleHasAction[static_cast<size_t>(yyn)]) {          \
      const int below = yyssp[-1];                                       \
      const uint64_t key = ChainKey(yyn, below, yychar == YYEMPTY ? YYNTOKENS : yytoken); \
      TChainEnd& known = ChainEnds[ChainSlot(key)];                      \
      if (known.Key == key) {                                            \
        yystate = known.State;                                           \
        yylen = 0;                                                       \
        goto yysetstate;                                                 \
      }                                                                  \
      for (int rule = yyn;;) {                                           \
        const int lhs = yyr1[rule] - YYNTOKENS;                          \
        const int entry = yypgoto[lhs] + below;                          \
        yystate = 0 <= entry && entry <= YYLAST && yycheck[entry] == below \
                      ? yytable[entry]                                   \
                      : yydefgoto[lhs];                                  \
        if (yystate == YYFINAL) break;                                   \
        int next = yypact[yystate];                                      \
        rule = yydefact[yystate];                                        \
        if (!yypact_value_is_default(next)) {                            \
          if (yychar == YYEMPTY) break;                                  \
          next += yytoken;                                               \
          if (0 <= next && next <= YYLAST && yycheck[next] == yytoken) { \
            next = yytable[next];                                        \
            if (next >= 0 || yytable_value_is_error(next)) break;        \
            rule = -next;                                                \
          }                                                              \
        }                                                                \
        if (rule == 0 || yyr2[rule] != 1 || RuleHasAction[static_cast<size_t>(rule)]) break; \
      }                                                                  \
      known = TChainEnd{key, yystate};                                   \
      yylen = 0; /* the reductions are done: nothing of them is left to pop */ \
      goto yysetstate;                                                   \
    }                                                                    \
    if (N) {                                                             \
      (Current).FirstLine = YYRHSLOC(Rhs, 1).FirstLine;                  \
      (Current).FirstColumn = YYRHSLOC(Rhs, 1).FirstColumn;              \
      (Current).LastLine = YYRHSLOC(Rhs, N).LastLine;                    \
      (Current).LastColumn = YYRHSLOC(Rhs, N).LastColumn;                \
    } else {                                                             \
      (Current).FirstLine = (Current).LastLine = YYRHSLOC(Rhs, 0).LastLine;          \
      (Current).FirstColumn = (Current).LastColumn = YYRHSLOC(Rhs, 0).LastColumn;    \
    }                                                                    \
    TASTNode::SetRuleLocation(&(Current));                               \
    TNodeTable::ReleaseTaken();                                          \
  } while (0)

static int yylex();
/* Syntax errors are reported by the driver from the lexer's location record. */
static void yyerror(const char*) {}
}

%locations
%expect 2

%union {
  int32_t handle;
  int64_t value;
  std::string* text;
  zintrel::TNameValue name;
  zintrel::ForToParts parts;
  int32_t count;
  int32_t flags;
}

/* Texts still on the stack when a parse fails are released. */
%destructor { delete $$; } <text>

%initial-action {
  /* Every parse starts with the token location record at line 1, column 1. */
  @$.FirstLine = @$.FirstColumn = @$.LastLine = @$.LastColumn = 1;
  *TLexer::TokenLocation = @$;
}

/* End of input, and flags that are only constants of the actions. */
%token TOK_EOF 0
%token FLAG_ABSTRACT 1
%token FLAG_FINAL 2

/* Keywords. Assert, Catch, EachIn, EndTry, Incbin, IncbinLen, IncbinPtr, SizeOf, Throw, Try and
 * Var are deliberately not declared: their codes, like 429 for "..", map to the undefined
 * symbol, so they are reserved words that end the parse wherever they appear. EndWhile is
 * declared but used by no rule; Sar is never produced by the lexer. */
%token KEY_ABSTRACT 259
%token KEY_AND 260
%token KEY_BYTE 263
%token KEY_CASE 264
%token KEY_CONST 267
%token KEY_CONTINUE 268
%token KEY_DEFAULT 269
%token KEY_DELETE 271
%token KEY_DOUBLE 272
%token KEY_ELSE 274
%token KEY_ELSEIF 275
%token KEY_ENDEXTERN 277
%token KEY_ENDFUNCTION 278
%token KEY_ENDIF 279
%token KEY_ENDMETHOD 280
%token KEY_ENDSELECT 282
%token KEY_ENDCLASS 284
%token KEY_ENDWHILE 285
%token KEY_EXIT 286
%token KEY_EXTENDS 287
%token KEY_EXTERN 288
%token KEY_FALSE 289
%token KEY_FIELD 290
%token KEY_FINAL 291
%token KEY_FLOAT 292
%token KEY_FOR 293
%token KEY_FOREVER 294
%token KEY_FUNCTION 296
%token KEY_GLOBAL 297
%token KEY_IF 299
%token KEY_IMPORT 300
%token KEY_INT 305
%token KEY_LOCAL 307
%token KEY_LONG 308
%token KEY_METHOD 310
%token KEY_MOD 312
%token KEY_NEW 315
%token KEY_NEXT 316
%token KEY_NOT 317
%token KEY_NULL 318
%token KEY_OR 320
%token KEY_PRIVATE 322
%token KEY_PTR 323
%token KEY_PUBLIC 324
%token KEY_REPEAT 328
%token KEY_RETURN 330
%token KEY_SAR 331
%token KEY_SELECT 332
%token KEY_SELF 333
%token KEY_SHL 335
%token KEY_SHORT 336
%token KEY_SHR 337
%token KEY_STEP 339
%token KEY_SUPER 342
%token KEY_THEN 344
%token KEY_TO 346
%token KEY_TRUE 347
%token KEY_CLASS 349
%token KEY_UNTIL 350
%token KEY_VARPTR 352
%token KEY_WEND 353
%token KEY_WHILE 354
%token KEY_BOOL 355
%token KEY_DO 356
%token KEY_UBYTE 357
%token KEY_USHORT 358
%token KEY_UINT 359
%token KEY_ULONG 360
%token KEY_VOID 361
%token KEY_PROTECTED 362

/* Operator codes of the tree; of these the lexer produces only TOK_GE, TOK_LE and TOK_NE. */
%token TOK_PLUS 401
%token TOK_MINUS 402
%token TOK_ASTERISK 403
%token TOK_DIVIDE 404
%token TOK_POWER 405
%token TOK_LPARAN 406
%token TOK_RPARAN 407
%token TOK_G 408
%token TOK_L 409
%token TOK_E 410
%token TOK_GE 411
%token TOK_LE 412
%token TOK_NE 413
%token TOK_BIT_XOR 414
%token TOK_BIT_OR 415
%token TOK_BIT_AND 416
%token TOK_COLON 417
%token TOK_COMMA 418
%token TOK_PERIOD 419
%token TOK_SEMICOLON 420
%token TOK_EXCLAMATION 422
%token TOK_AT 423
%token TOK_PERCENT 424
%token TOK_LBRACKET 426
%token TOK_RBRACKET 427
%token TOK_SHARP 428

%token TOK_EOL 511
%token <name> TOK_IDENTIFIER 512

/* Literals: the 64-bit value as delivered by the lexer; a string carries its text as a name. */
%token <value> TOK_BYTE 513
%token <value> TOK_SHORT 514
%token <value> TOK_INT 515
%token <value> TOK_LONG 516
%token <value> TOK_FLOAT 517
%token <value> TOK_DOUBLE 518
%token <name> TOK_STRING 519
%token <value> TOK_UBYTE 520
%token <value> TOK_USHORT 521
%token <value> TOK_UINT 522
%token <value> TOK_ULONG 523

/* Datatype kinds, constants of the actions only. */
%token TYPE_BYTE 1025
%token TYPE_SHORT 1026
%token TYPE_INT 1027
%token TYPE_LONG 1028
%token TYPE_FLOAT 1029
%token TYPE_DOUBLE 1030
%token TYPE_STRING 1031
%token TYPE_UBYTE 1032
%token TYPE_USHORT 1033
%token TYPE_UINT 1034
%token TYPE_ULONG 1035
%token TYPE_COMPOUND 1036
%token TYPE_FUNCTION 1037
%token TYPE_BOOL 1038
%token TYPE_VOID 1039
%token TYPE_POINTER 1040
%token TYPE_ARRAY 1041

%type <handle> Program ExternBlock StatementList StatementLine ExpressionList
%type <handle> NonEmptyExpressionList OneLineElseIfList ElseIfList CaseStatementList
%type <handle> DeclarationList ExternDeclarationList GlobalDeclaration LocalDeclaration
%type <handle> ConstDeclaration FieldDeclaration VarDeclList NonEmptyVarDeclList
%type <handle> ExtendList NonEmptyExtendList
%type <handle> Statement SimpleStatement ControlStatement Equality FunctionCall Expression
%type <handle> LogicalExp BooleanExp Modular Sum BinaryExp Product Unary Exponential Factor
%type <handle> NonVariableFactor OneLineIf IfStatement WhileStatement RepeatStatement
%type <handle> SelectStatement DefaultStatement ForWhileStatement ForStatement
%type <handle> ClassDeclaration FunctionDecl MethodDeclaration FunctionDeclaration
%type <handle> ExternClass ExternMethod ExternFunction VariableDecl Variable TypeSpecifier
%type <handle> FunctionDatatype DatatypeOrIdentifier Datatype Literal
%type <handle> OneLineElse OptionalElse OptionalStep OptionalAssignment
%type <handle> OptionalLineDelimiter LineDelimiter
%type <text> ModuleImport NonWildcardModuleImport
%type <name> AmbiguousBracket AmbiguousParan
%type <parts> ForToExpression
%type <flags> InheritanceFlags OptionalFinal
%type <count> CommaList

%start Program

%%

/* Program structure and imports (rules 1 to 18). */

Program
  : %empty
      { $$ = TProgramNode::Emit(); }
  | Program KEY_IMPORT TOK_STRING LineDelimiter
      { TProgramNode::EmitProgramFileImport($1, $3); }
  | Program ModuleImport LineDelimiter
      { TProgramNode::EmitProgramModuleImport($1, $2); }
  | Program Statement LineDelimiter
      { TProgramNode::EmitProgramStatement($1, $2); }
  | Program OneLineIf TOK_EOL
      { TProgramNode::EmitProgramStatement($1, $2); }
  | Program FunctionDeclaration LineDelimiter
      { TProgramNode::EmitProgramFunction($1, $2); }
  | Program GlobalDeclaration LineDelimiter
      { TProgramNode::EmitProgramGlobal($1, $2); }
  | Program ClassDeclaration LineDelimiter
      { TProgramNode::EmitProgramClass($1, $2); }
  | Program KEY_EXTERN LineDelimiter ExternBlock KEY_ENDEXTERN LineDelimiter
      { TProgramNode::EmitProgramExtern($1, $4); }
  ;

ExternBlock
  : %empty
      { $$ = TListEmitter::EmitEmptyList(); }
  | ExternBlock GlobalDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | ExternBlock ConstDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | ExternBlock ExternClass LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | ExternBlock ExternFunction LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  ;

ModuleImport
  : NonWildcardModuleImport
  | NonWildcardModuleImport '.' '*'
      { $$ = TStringEmitter::AppendConstChar($1, ".*"); }
  ;

NonWildcardModuleImport
  : KEY_IMPORT TOK_IDENTIFIER
      { $$ = zintrel::NewCString(zintrel::TName($2).str()); }
  | NonWildcardModuleImport '.' TOK_IDENTIFIER
      { $$ = TStringEmitter::AppendIdentifier(TStringEmitter::AppendConstChar($1, "."), $3); }
  ;

/* Statements and statement lists (rules 19 to 40). */

StatementList
  : %empty
      { $$ = TListEmitter::EmitEmptyList(); }
  | StatementList Statement LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | StatementList OneLineIf TOK_EOL
      { TListEmitter::AppendToList($1, $2); }
  ;

Statement
  : ConstDeclaration
  | ControlStatement
  | SimpleStatement
  ;

/* The only expression that may stand as a statement is a call with parentheses; whether the
 * left side of an assignment can be assigned to is checked later. */
SimpleStatement
  : LocalDeclaration
  | Modular '=' Expression
      { $$ = TAssignmentNode::Emit(TBinaryOpExpression::Emit('=', $1, $3)); }
  | FunctionCall
      { $$ = TFunctionCall::Emit($1, -1, -1); }
  | KEY_RETURN
      { $$ = TReturnNode::Emit(-1); }
  | KEY_RETURN Expression
      { $$ = TReturnNode::Emit($2); }
  | KEY_DELETE Expression
      { $$ = TDeleteNode::Emit($2); }
  | KEY_EXIT
      { $$ = TExitNode::Emit(); }
  | KEY_CONTINUE
      { $$ = TContinueNode::Emit(); }
  ;

StatementLine
  : SimpleStatement
      { $$ = TListEmitter::EmitSingleList($1); }
  | StatementLine ';' SimpleStatement
      { TListEmitter::AppendToList($1, $3); }
  ;

ControlStatement
  : IfStatement
  | SelectStatement
  | WhileStatement
  | RepeatStatement
  | ForWhileStatement
  | ForStatement
  ;

/* Expressions, loosest binding first (rules 41 to 94). "=" compares exactly two Modular
 * operands, so it does not chain but may start a further comparison: a = b < c. */

Equality
  : Modular '=' Modular
      { $$ = TBinaryOpExpression::Emit('=', $1, $3); }
  ;

FunctionCall
  : NonVariableFactor '(' ExpressionList ')'
      { $$ = TFunctionCall::Emit($1, $3, 0); }
  | AmbiguousParan ExpressionList ')'
      { $$ = TFunctionCall::Emit(TVariableNode::Emit($1, -1), $2, 0); }
  ;

ExpressionList
  : %empty
      { $$ = TListEmitter::EmitEmptyList(); }
  | NonEmptyExpressionList
  ;

NonEmptyExpressionList
  : Expression
      { $$ = TListEmitter::EmitSingleList($1); }
  | NonEmptyExpressionList ',' Expression
      { TListEmitter::AppendToList($1, $3); }
  ;

Expression
  : LogicalExp
  ;

/* Not stands only at the start of a logical expression: Not a And b is (Not a) And b. */
LogicalExp
  : BooleanExp
  | LogicalExp KEY_AND BooleanExp
      { $$ = TBinaryOpExpression::Emit(KEY_AND, $1, $3); }
  | LogicalExp KEY_OR BooleanExp
      { $$ = TBinaryOpExpression::Emit(KEY_OR, $1, $3); }
  | KEY_NOT BooleanExp
      { $$ = TUnaryOpExpression::Emit(KEY_NOT, $2); }
  ;

BooleanExp
  : Modular
  | BooleanExp TOK_LE Modular
      { $$ = TBinaryOpExpression::Emit(TOK_LE, $1, $3); }
  | BooleanExp TOK_GE Modular
      { $$ = TBinaryOpExpression::Emit(TOK_GE, $1, $3); }
  | BooleanExp TOK_NE Modular
      { $$ = TBinaryOpExpression::Emit(TOK_NE, $1, $3); }
  | BooleanExp '>' Modular
      { $$ = TBinaryOpExpression::Emit('>', $1, $3); }
  | BooleanExp '<' Modular
      { $$ = TBinaryOpExpression::Emit('<', $1, $3); }
  | Equality
  ;

/* Mod binds more loosely than + and -. */
Modular
  : Sum
  | Modular KEY_MOD Sum
      { $$ = TBinaryOpExpression::Emit(KEY_MOD, $1, $3); }
  ;

Sum
  : BinaryExp
  | Sum '+' BinaryExp
      { $$ = TBinaryOpExpression::Emit('+', $1, $3); }
  | Sum '-' BinaryExp
      { $$ = TBinaryOpExpression::Emit('-', $1, $3); }
  ;

BinaryExp
  : Product
  | BinaryExp '|' Product
      { $$ = TBinaryOpExpression::Emit('|', $1, $3); }
  | BinaryExp '&' Product
      { $$ = TBinaryOpExpression::Emit('&', $1, $3); }
  | BinaryExp '~' Product
      { $$ = TBinaryOpExpression::Emit('~', $1, $3); }
  | BinaryExp KEY_SHL Product
      { $$ = TBinaryOpExpression::Emit(KEY_SHL, $1, $3); }
  | BinaryExp KEY_SHR Product
      { $$ = TBinaryOpExpression::Emit(KEY_SHR, $1, $3); }
  ;

Product
  : Unary
  | Product '*' Unary
      { $$ = TBinaryOpExpression::Emit('*', $1, $3); }
  | Product '/' Unary
      { $$ = TBinaryOpExpression::Emit('/', $1, $3); }
  ;

/* A prefix operator applies once, to a power expression: - -x and 2 ^ -1 do not parse. */
Unary
  : Exponential
  | KEY_VARPTR Exponential
      { $$ = TAddressExpression::Emit($2); }
  | '-' Exponential
      { $$ = TUnaryOpExpression::Emit('-', $2); }
  | '~' Exponential
      { $$ = TUnaryOpExpression::Emit('~', $2); }
  | '+' Exponential
      { $$ = $2; }
  ;

/* "^" is right-associative. */
Exponential
  : Factor
  | Factor '^' Exponential
      { $$ = TBinaryOpExpression::Emit('^', $1, $3); }
  ;

Factor
  : NonVariableFactor
  | Variable
  ;

NonVariableFactor
  : '(' Expression ')'
      { $$ = TGroupingExpression::Emit($2); }
  | '[' ExpressionList ']'
      { $$ = TAutoArrayExpression::Emit($2); }
  | FunctionCall
  | Datatype '(' Expression ')'
      { $$ = TTypeCastExpression::Emit($1, $3); }
  | NonVariableFactor '[' NonEmptyExpressionList ']'
      { $$ = TIndexExpression::Emit($1, $3); }
  | AmbiguousBracket NonEmptyExpressionList ']'
      { $$ = TIndexExpression::Emit(TVariableNode::Emit($1, -1), $2); }
  | Factor '.' TOK_IDENTIFIER
      { $$ = TMemberAccessExpression::Emit($1, $3); }
  | KEY_NEW TOK_IDENTIFIER
      { $$ = TNewExpression::Emit($2, -1); }
  | KEY_NEW AmbiguousParan ExpressionList ')'
      { $$ = TNewExpression::Emit($2, $3); }
  | KEY_NEW Datatype '[' NonEmptyExpressionList ']'
      { $$ = TNewArrayExpression::Emit($2, $4); }
  | KEY_NEW AmbiguousBracket NonEmptyExpressionList ']'
      { $$ = TNewArrayExpression::Emit(TDatatype::Emit(TYPE_COMPOUND, $2, 0), $3); }
  | Literal
  ;

/* Control statements (rules 95 to 120). A one-line If holds simple statements only and ends
 * at a line end; the block If needs a line delimiter right after Then. */

OneLineIf
  : KEY_IF Expression KEY_THEN StatementLine OneLineElseIfList OneLineElse
      { $$ = TIfNode::Emit($2, $4, $5, $6); }
  ;

OneLineElseIfList
  : %empty
      { $$ = TListEmitter::EmitEmptyList(); }
  | OneLineElseIfList KEY_ELSEIF Expression KEY_THEN StatementLine
      { TListEmitter::AppendToList($1, TElseIfNode::Emit($3, $5)); }
  ;

OneLineElse
  : %empty
      { $$ = -1; }
  | KEY_ELSE StatementLine
      { $$ = TElseNode::Emit($2); }
  ;

IfStatement
  : KEY_IF Expression KEY_THEN LineDelimiter StatementList ElseIfList OptionalElse KEY_ENDIF
      { $$ = TIfNode::Emit($2, $5, $6, $7); }
  ;

ElseIfList
  : %empty
      { $$ = TListEmitter::EmitEmptyList(); }
  | ElseIfList KEY_ELSEIF Expression KEY_THEN LineDelimiter StatementList
      { TListEmitter::AppendToList($1, TElseIfNode::Emit($3, $6)); }
  ;

OptionalElse
  : %empty
      { $$ = -1; }
  | KEY_ELSE LineDelimiter StatementList
      { $$ = TElseNode::Emit($3); }
  ;

WhileStatement
  : KEY_WHILE Expression LineDelimiter StatementList KEY_WEND
      { $$ = TWhileNode::Emit($2, $4); }
  ;

RepeatStatement
  : KEY_REPEAT LineDelimiter StatementList KEY_UNTIL Expression
      { $$ = TRepeatNode::Emit($5, $3); }
  | KEY_REPEAT LineDelimiter StatementList KEY_FOREVER
      { $$ = TRepeatNode::Emit(-1, $3); }
  ;

/* Cases before and after the Default block are passed apart and joined by the Select node. */
SelectStatement
  : KEY_SELECT Expression LineDelimiter CaseStatementList DefaultStatement CaseStatementList KEY_ENDSELECT
      { $$ = TSelectNode::Emit($2, $4, $5, $6); }
  | KEY_SELECT Expression LineDelimiter CaseStatementList KEY_ENDSELECT
      { $$ = TSelectNode::Emit($2, $4, -1, -1); }
  ;

DefaultStatement
  : KEY_DEFAULT LineDelimiter StatementList
      { $$ = TDefaultNode::Emit($3); }
  ;

CaseStatementList
  : %empty
      { $$ = TListEmitter::EmitEmptyList(); }
  | CaseStatementList KEY_CASE Expression LineDelimiter StatementList
      { TListEmitter::AppendToList($1, TCaseNode::Emit($3, $5)); }
  ;

ForWhileStatement
  : KEY_FOR StatementLine KEY_WHILE Expression KEY_DO OptionalLineDelimiter StatementList KEY_NEXT
      { $$ = TForWhileNode::Emit($2, $4, $7); }
  ;

/* Over an existing variable the whole "variable = start" comparison is the loop variable and
 * there is no separate start value; For Local passes every part apart. Until skips the last
 * value. */
ForStatement
  : KEY_FOR Equality KEY_TO Expression OptionalStep LineDelimiter StatementList KEY_NEXT
      { $$ = TForNode::Emit(0, $2, -1, $4, $5, 0, $7); }
  | KEY_FOR Equality KEY_UNTIL Expression OptionalStep LineDelimiter StatementList KEY_NEXT
      { $$ = TForNode::Emit(0, $2, -1, $4, $5, 1, $7); }
  | KEY_FOR KEY_LOCAL VariableDecl '=' ForToExpression LineDelimiter StatementList KEY_NEXT
      { $$ = TForNode::Emit(1, $3, $5.From, $5.To, $5.Step, $5.Until, $7); }
  ;

ForToExpression
  : Expression KEY_TO Expression OptionalStep
      { $$ = ForToParts{$1, $3, $4, 0}; }
  | Expression KEY_UNTIL Expression OptionalStep
      { $$ = ForToParts{$1, $3, $4, 1}; }
  ;

OptionalStep
  : %empty
      { $$ = -1; }
  | KEY_STEP Expression
      { $$ = $2; }
  ;

/* Classes, functions and extern declarations (rules 121 to 159). */

ClassDeclaration
  : KEY_CLASS TOK_IDENTIFIER ExtendList InheritanceFlags LineDelimiter DeclarationList KEY_ENDCLASS
      { $$ = TClassNode::Emit($2, $3, $6, $4); }
  ;

ExtendList
  : %empty
      { $$ = -1; }
  | NonEmptyExtendList
  ;

NonEmptyExtendList
  : KEY_EXTENDS TOK_IDENTIFIER
      {
        $$ = TListEmitter::EmitEmptyList();
        TListEmitter::AppendStringToList($$, $2);
      }
  | NonEmptyExtendList ',' TOK_IDENTIFIER
      { TListEmitter::AppendStringToList($1, $3); }
  ;

InheritanceFlags
  : %empty
      { $$ = 0; }
  | InheritanceFlags KEY_ABSTRACT
      { $$ = $1 | FLAG_ABSTRACT; }
  | InheritanceFlags KEY_FINAL
      { $$ = $1 | FLAG_FINAL; }
  ;

OptionalFinal
  : %empty
      { $$ = 0; }
  | KEY_FINAL
      { $$ = FLAG_FINAL; }
  ;

/* Every class body starts Public: its empty member list is reduced before the first member. */
DeclarationList
  : %empty
      {
        $$ = TListEmitter::EmitEmptyList();
        TClassNode::SetVisibility(KEY_PUBLIC);
      }
  | DeclarationList GlobalDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | DeclarationList ConstDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | DeclarationList FieldDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | DeclarationList MethodDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | DeclarationList FunctionDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | DeclarationList KEY_PRIVATE LineDelimiter
      { TClassNode::SetVisibility(KEY_PRIVATE); }
  | DeclarationList KEY_PUBLIC LineDelimiter
      { TClassNode::SetVisibility(KEY_PUBLIC); }
  | DeclarationList KEY_PROTECTED LineDelimiter
      { TClassNode::SetVisibility(KEY_PROTECTED); }
  ;

/* A function heading becomes a variable whose datatype is a function type; without a return
 * type it returns Void, and empty parentheses (or Void between them) mean no parameters. */
FunctionDecl
  : TOK_IDENTIFIER ':' FunctionDatatype
      { $$ = TVariableNode::Emit($1, $3); }
  | TOK_IDENTIFIER ':' Datatype '(' ')'
      { $$ = TVariableNode::Emit($1, TDatatype::Emit(TYPE_FUNCTION, $3, TListEmitter::EmitEmptyList())); }
  | TOK_IDENTIFIER ':' TOK_IDENTIFIER '(' ')'
      {
        /* Made in this order: return type, parameter list, function type. */
        int32_t returnType = TDatatype::Emit(TYPE_COMPOUND, $3, 0);
        int32_t parameters = TListEmitter::EmitEmptyList();
        $$ = TVariableNode::Emit($1, TDatatype::Emit(TYPE_FUNCTION, returnType, parameters));
      }
  | TOK_IDENTIFIER '(' VarDeclList ')'
      { $$ = TVariableNode::Emit($1, TDatatype::Emit(TYPE_FUNCTION, TDatatype::Emit(TYPE_VOID, -1, 0), $3)); }
  ;

MethodDeclaration
  : KEY_METHOD FunctionDecl OptionalFinal LineDelimiter StatementList KEY_ENDMETHOD
      { $$ = TFunctionNode::Emit($2, $5, 1, $3); }
  | KEY_METHOD FunctionDecl KEY_ABSTRACT
      { $$ = TFunctionNode::Emit($2, TListEmitter::EmitEmptyList(), 1, FLAG_ABSTRACT); }
  ;

FunctionDeclaration
  : KEY_FUNCTION FunctionDecl OptionalFinal LineDelimiter StatementList KEY_ENDFUNCTION
      { $$ = TFunctionNode::Emit($2, $5, 0, $3); }
  | KEY_FUNCTION FunctionDecl KEY_ABSTRACT
      { $$ = TFunctionNode::Emit($2, TListEmitter::EmitEmptyList(), 0, FLAG_ABSTRACT); }
  ;

ExternClass
  : KEY_CLASS TOK_IDENTIFIER ExtendList InheritanceFlags LineDelimiter ExternDeclarationList KEY_ENDCLASS
      { $$ = TClassNode::Emit($2, $3, $6, $4); }
  ;

ExternDeclarationList
  : %empty
      {
        $$ = TListEmitter::EmitEmptyList();
        TClassNode::SetVisibility(KEY_PUBLIC);
      }
  | ExternDeclarationList GlobalDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | ExternDeclarationList ConstDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | ExternDeclarationList FieldDeclaration LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | ExternDeclarationList ExternMethod LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | ExternDeclarationList ExternFunction LineDelimiter
      { TListEmitter::AppendToList($1, $2); }
  | ExternDeclarationList KEY_PRIVATE LineDelimiter
      { TClassNode::SetVisibility(KEY_PRIVATE); }
  | ExternDeclarationList KEY_PUBLIC LineDelimiter
      { TClassNode::SetVisibility(KEY_PUBLIC); }
  | ExternDeclarationList KEY_PROTECTED LineDelimiter
      { TClassNode::SetVisibility(KEY_PROTECTED); }
  ;

/* Body-less extern functions and methods may carry Abstract and Final in any order and number. */
ExternMethod
  : KEY_METHOD FunctionDecl InheritanceFlags
      { $$ = TFunctionNode::Emit($2, TListEmitter::EmitEmptyList(), 1, $3); }
  ;

ExternFunction
  : KEY_FUNCTION FunctionDecl InheritanceFlags
      { $$ = TFunctionNode::Emit($2, TListEmitter::EmitEmptyList(), 0, $3); }
  ;

/* Declarations and datatypes (rules 160 to 195). Every declared name carries a type. */

GlobalDeclaration
  : KEY_GLOBAL NonEmptyVarDeclList
      { TVariableDeclNode::ScopeVarDecl(KEY_GLOBAL, $2); $$ = $2; }
  ;

LocalDeclaration
  : KEY_LOCAL NonEmptyVarDeclList
      { TVariableDeclNode::ScopeVarDecl(KEY_LOCAL, $2); $$ = $2; }
  ;

ConstDeclaration
  : KEY_CONST NonEmptyVarDeclList
      { TVariableDeclNode::ScopeVarDecl(KEY_CONST, $2); $$ = $2; }
  ;

FieldDeclaration
  : KEY_FIELD NonEmptyVarDeclList
      { TVariableDeclNode::ScopeVarDecl(KEY_FIELD, $2); $$ = $2; }
  ;

VarDeclList
  : %empty
      { $$ = TListEmitter::EmitEmptyList(); }
  | NonEmptyVarDeclList
  ;

NonEmptyVarDeclList
  : VariableDecl OptionalAssignment
      { $$ = TListEmitter::EmitSingleList(TVariableDeclNode::Emit($1, $2)); }
  | NonEmptyVarDeclList ',' VariableDecl OptionalAssignment
      { TListEmitter::AppendToList($1, TVariableDeclNode::Emit($3, $4)); }
  ;

OptionalAssignment
  : %empty
      { $$ = -1; }
  | '=' Expression
      { $$ = $2; }
  ;

VariableDecl
  : TOK_IDENTIFIER TypeSpecifier
      { $$ = TVariableNode::Emit($1, $2); }
  ;

Variable
  : TOK_IDENTIFIER
      { $$ = TVariableNode::Emit($1, -1); }
  ;

TypeSpecifier
  : ':' DatatypeOrIdentifier
      { $$ = $2; }
  ;

FunctionDatatype
  : Datatype '(' NonEmptyVarDeclList ')'
      { $$ = TDatatype::Emit(TYPE_FUNCTION, $1, $3); }
  | AmbiguousParan NonEmptyVarDeclList ')'
      { $$ = TDatatype::Emit(TYPE_FUNCTION, TDatatype::Emit(TYPE_COMPOUND, $1, 0), $2); }
  | Datatype '(' KEY_VOID ')'
      { $$ = TDatatype::Emit(TYPE_FUNCTION, $1, TListEmitter::EmitEmptyList()); }
  | AmbiguousParan KEY_VOID ')'
      {
        /* Made in this order: return type, parameter list, function type. */
        int32_t returnType = TDatatype::Emit(TYPE_COMPOUND, $1, 0);
        int32_t parameters = TListEmitter::EmitEmptyList();
        $$ = TDatatype::Emit(TYPE_FUNCTION, returnType, parameters);
      }
  ;

/* A type written as a name is a class type by name (String among them). */
DatatypeOrIdentifier
  : TOK_IDENTIFIER
      { $$ = TDatatype::Emit(TYPE_COMPOUND, $1, 0); }
  | Datatype
  ;

/* Pointer and array suffixes stack, the last written applying outermost; an array suffix
 * counts one dimension plus one per comma. */
Datatype
  : KEY_VOID
      { $$ = TDatatype::Emit(TYPE_VOID, -1, 0); }
  | KEY_BOOL
      { $$ = TDatatype::Emit(TYPE_BOOL, -1, 0); }
  | KEY_BYTE
      { $$ = TDatatype::Emit(TYPE_BYTE, -1, 0); }
  | KEY_SHORT
      { $$ = TDatatype::Emit(TYPE_SHORT, -1, 0); }
  | KEY_INT
      { $$ = TDatatype::Emit(TYPE_INT, -1, 0); }
  | KEY_LONG
      { $$ = TDatatype::Emit(TYPE_LONG, -1, 0); }
  | KEY_UBYTE
      { $$ = TDatatype::Emit(TYPE_UBYTE, -1, 0); }
  | KEY_USHORT
      { $$ = TDatatype::Emit(TYPE_USHORT, -1, 0); }
  | KEY_UINT
      { $$ = TDatatype::Emit(TYPE_UINT, -1, 0); }
  | KEY_ULONG
      { $$ = TDatatype::Emit(TYPE_ULONG, -1, 0); }
  | KEY_FLOAT
      { $$ = TDatatype::Emit(TYPE_FLOAT, -1, 0); }
  | KEY_DOUBLE
      { $$ = TDatatype::Emit(TYPE_DOUBLE, -1, 0); }
  | Datatype KEY_PTR
      { $$ = TDatatype::Emit(TYPE_POINTER, $1, 0); }
  | TOK_IDENTIFIER KEY_PTR
      { $$ = TDatatype::Emit(TYPE_POINTER, TDatatype::Emit(TYPE_COMPOUND, $1, 0), 0); }
  | Datatype '[' CommaList ']'
      { $$ = TDatatype::Emit(TYPE_ARRAY, $1, $3 + 1); }
  | AmbiguousBracket CommaList ']'
      { $$ = TDatatype::Emit(TYPE_ARRAY, TDatatype::Emit(TYPE_COMPOUND, $1, 0), $2 + 1); }
  | FunctionDatatype
  ;

/* Literals (rules 196 to 211): the kind is the token's own code. */

Literal
  : TOK_BYTE
      { $$ = TLiteralNode::Emit(TOK_BYTE, $1); }
  | TOK_SHORT
      { $$ = TLiteralNode::Emit(TOK_SHORT, $1); }
  | TOK_INT
      { $$ = TLiteralNode::Emit(TOK_INT, $1); }
  | TOK_LONG
      { $$ = TLiteralNode::Emit(TOK_LONG, $1); }
  | TOK_FLOAT
      { $$ = TLiteralNode::Emit(TOK_FLOAT, $1); }
  | TOK_DOUBLE
      { $$ = TLiteralNode::Emit(TOK_DOUBLE, $1); }
  | TOK_STRING
      { $$ = TLiteralNode::Emit(TOK_STRING, $1); }
  | TOK_UBYTE
      { $$ = TLiteralNode::Emit(TOK_UBYTE, $1); }
  | TOK_USHORT
      { $$ = TLiteralNode::Emit(TOK_USHORT, $1); }
  | TOK_UINT
      { $$ = TLiteralNode::Emit(TOK_UINT, $1); }
  | TOK_ULONG
      { $$ = TLiteralNode::Emit(TOK_ULONG, $1); }
  | KEY_NULL
      { $$ = TLiteralNode::Emit(KEY_NULL, int64_t{-1}); }
  | KEY_SELF
      { $$ = TLiteralNode::Emit(KEY_SELF, int64_t{-1}); }
  | KEY_SUPER
      { $$ = TLiteralNode::Emit(KEY_SUPER, int64_t{-1}); }
  | KEY_TRUE
      { $$ = TLiteralNode::Emit(KEY_TRUE, int64_t{-1}); }
  | KEY_FALSE
      { $$ = TLiteralNode::Emit(KEY_FALSE, int64_t{-1}); }
  ;

/* A name followed by "[" or "(" is read as one symbol, so that a type name, an array name and
 * a function name need no lookahead beyond it (rules 212 and 213). */

AmbiguousBracket
  : TOK_IDENTIFIER '['
      { $$ = $1; }
  ;

AmbiguousParan
  : TOK_IDENTIFIER '('
      { $$ = $1; }
  ;

/* Rules 214 to 219. */

CommaList
  : %empty
      { $$ = 0; }
  | CommaList ','
      { $$ = $1 + 1; }
  ;

OptionalLineDelimiter
  : %empty
      { $$ = 0; }
  | LineDelimiter
      { $$ = 0; }
  ;

LineDelimiter
  : TOK_EOL
      { $$ = -1; }
  | ';'
      { $$ = -1; }
  ;

%%

/* The automaton must stay the one the rule order gives: 421 states, 219 rules (plus the start
 * rule). A changed rule or rule order shows here instead of as different parses. */
static_assert(YYNSTATES == 421, "the parse automaton must have 421 states");
static_assert(YYNRULES == 220, "the grammar must have 219 rules");
static_assert(YYNRULES < 256, "every rule number must index the table of rules with an action");

/* The grammar's token codes are those of the lexer, the tree and the records: a change on one
 * side only breaks the build here. */
#define ZINTREL_SAME_CODE(name) static_assert(name == zintrel::tok::name, #name)
ZINTREL_SAME_CODE(TOK_EOF); ZINTREL_SAME_CODE(FLAG_ABSTRACT); ZINTREL_SAME_CODE(FLAG_FINAL);
ZINTREL_SAME_CODE(KEY_ABSTRACT); ZINTREL_SAME_CODE(KEY_AND); ZINTREL_SAME_CODE(KEY_BYTE);
ZINTREL_SAME_CODE(KEY_CASE); ZINTREL_SAME_CODE(KEY_CONST); ZINTREL_SAME_CODE(KEY_CONTINUE);
ZINTREL_SAME_CODE(KEY_DEFAULT); ZINTREL_SAME_CODE(KEY_DELETE); ZINTREL_SAME_CODE(KEY_DOUBLE);
ZINTREL_SAME_CODE(KEY_ELSE); ZINTREL_SAME_CODE(KEY_ELSEIF); ZINTREL_SAME_CODE(KEY_ENDEXTERN);
ZINTREL_SAME_CODE(KEY_ENDFUNCTION); ZINTREL_SAME_CODE(KEY_ENDIF);
ZINTREL_SAME_CODE(KEY_ENDMETHOD); ZINTREL_SAME_CODE(KEY_ENDSELECT);
ZINTREL_SAME_CODE(KEY_ENDCLASS); ZINTREL_SAME_CODE(KEY_ENDWHILE); ZINTREL_SAME_CODE(KEY_EXIT);
ZINTREL_SAME_CODE(KEY_EXTENDS); ZINTREL_SAME_CODE(KEY_EXTERN); ZINTREL_SAME_CODE(KEY_FALSE);
ZINTREL_SAME_CODE(KEY_FIELD); ZINTREL_SAME_CODE(KEY_FINAL); ZINTREL_SAME_CODE(KEY_FLOAT);
ZINTREL_SAME_CODE(KEY_FOR); ZINTREL_SAME_CODE(KEY_FOREVER); ZINTREL_SAME_CODE(KEY_FUNCTION);
ZINTREL_SAME_CODE(KEY_GLOBAL); ZINTREL_SAME_CODE(KEY_IF); ZINTREL_SAME_CODE(KEY_IMPORT);
ZINTREL_SAME_CODE(KEY_INT); ZINTREL_SAME_CODE(KEY_LOCAL); ZINTREL_SAME_CODE(KEY_LONG);
ZINTREL_SAME_CODE(KEY_METHOD); ZINTREL_SAME_CODE(KEY_MOD); ZINTREL_SAME_CODE(KEY_NEW);
ZINTREL_SAME_CODE(KEY_NEXT); ZINTREL_SAME_CODE(KEY_NOT); ZINTREL_SAME_CODE(KEY_NULL);
ZINTREL_SAME_CODE(KEY_OR); ZINTREL_SAME_CODE(KEY_PRIVATE); ZINTREL_SAME_CODE(KEY_PTR);
ZINTREL_SAME_CODE(KEY_PUBLIC); ZINTREL_SAME_CODE(KEY_REPEAT); ZINTREL_SAME_CODE(KEY_RETURN);
ZINTREL_SAME_CODE(KEY_SAR); ZINTREL_SAME_CODE(KEY_SELECT); ZINTREL_SAME_CODE(KEY_SELF);
ZINTREL_SAME_CODE(KEY_SHL); ZINTREL_SAME_CODE(KEY_SHORT); ZINTREL_SAME_CODE(KEY_SHR);
ZINTREL_SAME_CODE(KEY_STEP); ZINTREL_SAME_CODE(KEY_SUPER); ZINTREL_SAME_CODE(KEY_THEN);
ZINTREL_SAME_CODE(KEY_TO); ZINTREL_SAME_CODE(KEY_TRUE); ZINTREL_SAME_CODE(KEY_CLASS);
ZINTREL_SAME_CODE(KEY_UNTIL); ZINTREL_SAME_CODE(KEY_VARPTR); ZINTREL_SAME_CODE(KEY_WEND);
ZINTREL_SAME_CODE(KEY_WHILE); ZINTREL_SAME_CODE(KEY_BOOL); ZINTREL_SAME_CODE(KEY_DO);
ZINTREL_SAME_CODE(KEY_UBYTE); ZINTREL_SAME_CODE(KEY_USHORT); ZINTREL_SAME_CODE(KEY_UINT);
ZINTREL_SAME_CODE(KEY_ULONG); ZINTREL_SAME_CODE(KEY_VOID); ZINTREL_SAME_CODE(KEY_PROTECTED);
ZINTREL_SAME_CODE(TOK_PLUS); ZINTREL_SAME_CODE(TOK_MINUS); ZINTREL_SAME_CODE(TOK_ASTERISK);
ZINTREL_SAME_CODE(TOK_DIVIDE); ZINTREL_SAME_CODE(TOK_POWER); ZINTREL_SAME_CODE(TOK_LPARAN);
ZINTREL_SAME_CODE(TOK_RPARAN); ZINTREL_SAME_CODE(TOK_G); ZINTREL_SAME_CODE(TOK_L);
ZINTREL_SAME_CODE(TOK_E); ZINTREL_SAME_CODE(TOK_GE); ZINTREL_SAME_CODE(TOK_LE);
ZINTREL_SAME_CODE(TOK_NE); ZINTREL_SAME_CODE(TOK_BIT_XOR); ZINTREL_SAME_CODE(TOK_BIT_OR);
ZINTREL_SAME_CODE(TOK_BIT_AND); ZINTREL_SAME_CODE(TOK_COLON); ZINTREL_SAME_CODE(TOK_COMMA);
ZINTREL_SAME_CODE(TOK_PERIOD); ZINTREL_SAME_CODE(TOK_SEMICOLON);
ZINTREL_SAME_CODE(TOK_EXCLAMATION); ZINTREL_SAME_CODE(TOK_AT); ZINTREL_SAME_CODE(TOK_PERCENT);
ZINTREL_SAME_CODE(TOK_LBRACKET); ZINTREL_SAME_CODE(TOK_RBRACKET); ZINTREL_SAME_CODE(TOK_SHARP);
ZINTREL_SAME_CODE(TOK_EOL); ZINTREL_SAME_CODE(TOK_IDENTIFIER); ZINTREL_SAME_CODE(TOK_BYTE);
ZINTREL_SAME_CODE(TOK_SHORT); ZINTREL_SAME_CODE(TOK_INT); ZINTREL_SAME_CODE(TOK_LONG);
ZINTREL_SAME_CODE(TOK_FLOAT); ZINTREL_SAME_CODE(TOK_DOUBLE); ZINTREL_SAME_CODE(TOK_STRING);
ZINTREL_SAME_CODE(TOK_UBYTE); ZINTREL_SAME_CODE(TOK_USHORT); ZINTREL_SAME_CODE(TOK_UINT);
ZINTREL_SAME_CODE(TOK_ULONG); ZINTREL_SAME_CODE(TYPE_BYTE); ZINTREL_SAME_CODE(TYPE_SHORT);
ZINTREL_SAME_CODE(TYPE_INT); ZINTREL_SAME_CODE(TYPE_LONG); ZINTREL_SAME_CODE(TYPE_FLOAT);
ZINTREL_SAME_CODE(TYPE_DOUBLE); ZINTREL_SAME_CODE(TYPE_STRING); ZINTREL_SAME_CODE(TYPE_UBYTE);
ZINTREL_SAME_CODE(TYPE_USHORT); ZINTREL_SAME_CODE(TYPE_UINT); ZINTREL_SAME_CODE(TYPE_ULONG);
ZINTREL_SAME_CODE(TYPE_COMPOUND); ZINTREL_SAME_CODE(TYPE_FUNCTION); ZINTREL_SAME_CODE(TYPE_BOOL);
ZINTREL_SAME_CODE(TYPE_VOID); ZINTREL_SAME_CODE(TYPE_POINTER); ZINTREL_SAME_CODE(TYPE_ARRAY);
#undef ZINTREL_SAME_CODE

/* Hands the parser the lexer's next token with its value and location. */
static int yylex() {
  int token = TLexer::GetNextTokenStatic();
  TLexer* lexer = TLexer::Lexer;
  switch (token) {
    case TOK_IDENTIFIER:
      // Made of letters, digits and "_" only.
      yylval.name = {zintrel::TName(std::string_view(lexer->TokenText)).Identity()};
      break;
    case TOK_STRING:
      // Texts cross the bridge as 8-bit C texts: a unit whose low byte is zero ends them.
      yylval.name = {zintrel::TName(std::string_view(lexer->TokenText.c_str())).Identity()};
      break;
    case TOK_BYTE:
    case TOK_SHORT:
    case TOK_INT:
    case TOK_LONG:
    case TOK_FLOAT:
    case TOK_DOUBLE:
    case TOK_UBYTE:
    case TOK_USHORT:
    case TOK_UINT:
    case TOK_ULONG:
      yylval.value = static_cast<int64_t>(lexer->TokenBits);
      break;
    default:
      break;
  }
  yylloc = *TLexer::TokenLocation;
  return token;
}

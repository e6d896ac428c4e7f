#pragma once
// Token codes shared by the lexer, the grammar, the syntax tree (operator fields, declaration
// kinds, visibilities, literal kinds) and the back end (operator text through
// TLexer::TokenToString).
//
// They live in the nested namespace zintrel::tok so that the parser generated from the grammar,
// which declares the same names with the same codes, can define its own enumeration (or macros)
// without a clash. A file that needs both should include this header first and qualify the
// names (tok::TOK_EOL).

namespace zintrel::tok {

constexpr int TOK_EOF = 0;

// Single-character tokens carry the character's code ('+' is 43); they have no names here.

// Keywords, 259 to 362. Codes missing from the range are no keywords.
constexpr int KEY_ABSTRACT = 259;
constexpr int KEY_AND = 260;
constexpr int KEY_ASSERT = 262;
constexpr int KEY_BYTE = 263;
constexpr int KEY_CASE = 264;
constexpr int KEY_CATCH = 265;
constexpr int KEY_CONST = 267;
constexpr int KEY_CONTINUE = 268;
constexpr int KEY_DEFAULT = 269;
constexpr int KEY_DELETE = 271;
constexpr int KEY_DOUBLE = 272;
constexpr int KEY_EACHIN = 273;
constexpr int KEY_ELSE = 274;
constexpr int KEY_ELSEIF = 275;
constexpr int KEY_ENDEXTERN = 277;
constexpr int KEY_ENDFUNCTION = 278;
constexpr int KEY_ENDIF = 279;
constexpr int KEY_ENDMETHOD = 280;
constexpr int KEY_ENDSELECT = 282;
constexpr int KEY_ENDTRY = 283;
constexpr int KEY_ENDCLASS = 284;
constexpr int KEY_ENDWHILE = 285;
constexpr int KEY_EXIT = 286;
constexpr int KEY_EXTENDS = 287;
constexpr int KEY_EXTERN = 288;
constexpr int KEY_FALSE = 289;
constexpr int KEY_FIELD = 290;
constexpr int KEY_FINAL = 291;
constexpr int KEY_FLOAT = 292;
constexpr int KEY_FOR = 293;
constexpr int KEY_FOREVER = 294;
constexpr int KEY_FUNCTION = 296;
constexpr int KEY_GLOBAL = 297;
constexpr int KEY_IF = 299;
constexpr int KEY_IMPORT = 300;
constexpr int KEY_INCBIN = 301;
constexpr int KEY_INCBINLEN = 302;
constexpr int KEY_INCBINPTR = 303;
constexpr int KEY_INT = 305;
constexpr int KEY_LOCAL = 307;
constexpr int KEY_LONG = 308;
constexpr int KEY_METHOD = 310;
constexpr int KEY_MOD = 312;
constexpr int KEY_NEW = 315;
constexpr int KEY_NEXT = 316;
constexpr int KEY_NOT = 317;
constexpr int KEY_NULL = 318;
constexpr int KEY_OR = 320;
constexpr int KEY_PRIVATE = 322;
constexpr int KEY_PTR = 323;
constexpr int KEY_PUBLIC = 324;
constexpr int KEY_REPEAT = 328;
constexpr int KEY_RETURN = 330;
constexpr int KEY_SAR = 331;  // declared by the grammar, never produced: Sar is an identifier
constexpr int KEY_SELECT = 332;
constexpr int KEY_SELF = 333;
constexpr int KEY_SHL = 335;
constexpr int KEY_SHORT = 336;
constexpr int KEY_SHR = 337;
constexpr int KEY_SIZEOF = 338;
constexpr int KEY_STEP = 339;
constexpr int KEY_SUPER = 342;
constexpr int KEY_THEN = 344;
constexpr int KEY_THROW = 345;
constexpr int KEY_TO = 346;
constexpr int KEY_TRUE = 347;
constexpr int KEY_TRY = 348;
constexpr int KEY_CLASS = 349;
constexpr int KEY_UNTIL = 350;
constexpr int KEY_VAR = 351;
constexpr int KEY_VARPTR = 352;
constexpr int KEY_WEND = 353;
constexpr int KEY_WHILE = 354;
constexpr int KEY_BOOL = 355;
constexpr int KEY_DO = 356;
constexpr int KEY_UBYTE = 357;
constexpr int KEY_USHORT = 358;
constexpr int KEY_UINT = 359;
constexpr int KEY_ULONG = 360;
constexpr int KEY_VOID = 361;
constexpr int KEY_PROTECTED = 362;

// Operator codes used in the tree; the lexer itself returns only TOK_GE, TOK_LE and TOK_NE.
constexpr int TOK_PLUS = 401;
constexpr int TOK_MINUS = 402;
constexpr int TOK_ASTERISK = 403;
constexpr int TOK_DIVIDE = 404;
constexpr int TOK_POWER = 405;
constexpr int TOK_LPARAN = 406;
constexpr int TOK_RPARAN = 407;
constexpr int TOK_G = 408;
constexpr int TOK_L = 409;
constexpr int TOK_E = 410;
constexpr int TOK_GE = 411;
constexpr int TOK_LE = 412;
constexpr int TOK_NE = 413;
constexpr int TOK_BIT_XOR = 414;
constexpr int TOK_BIT_OR = 415;
constexpr int TOK_BIT_AND = 416;
constexpr int TOK_COLON = 417;
constexpr int TOK_COMMA = 418;
constexpr int TOK_PERIOD = 419;
constexpr int TOK_SEMICOLON = 420;
constexpr int TOK_EXCLAMATION = 422;
constexpr int TOK_AT = 423;
constexpr int TOK_PERCENT = 424;
constexpr int TOK_LBRACKET = 426;
constexpr int TOK_RBRACKET = 427;
constexpr int TOK_SHARP = 428;

// ".." that is not a line continuation; no grammar rule accepts it.
constexpr int TOK_DOUBLE_PERIOD = 429;

constexpr int TOK_EOL = 511;
constexpr int TOK_IDENTIFIER = 512;

// Literal kinds; the unsigned code of an integer kind is its signed code plus 7.
constexpr int TOK_BYTE = 513;
constexpr int TOK_SHORT = 514;
constexpr int TOK_INT = 515;
constexpr int TOK_LONG = 516;
constexpr int TOK_FLOAT = 517;
constexpr int TOK_DOUBLE = 518;
constexpr int TOK_STRING = 519;
constexpr int TOK_UBYTE = 520;
constexpr int TOK_USHORT = 521;
constexpr int TOK_UINT = 522;
constexpr int TOK_ULONG = 523;
constexpr int UNSIGNED_OFFSET = TOK_UBYTE - TOK_BYTE;

// Datatype kinds, used as constants by the grammar's actions. TYPE_ANY, the type of Null, is
// the tree's own. A literal kind plus LITERAL_TYPE_OFFSET is the kind of its type, and an
// unsigned type kind is the signed one plus UNSIGNED_OFFSET, as for literals.
constexpr int TYPE_ANY = 1024;
constexpr int TYPE_BYTE = 1025;
constexpr int TYPE_SHORT = 1026;
constexpr int TYPE_INT = 1027;
constexpr int TYPE_LONG = 1028;
constexpr int TYPE_FLOAT = 1029;
constexpr int TYPE_DOUBLE = 1030;
constexpr int TYPE_STRING = 1031;
constexpr int TYPE_UBYTE = 1032;
constexpr int TYPE_USHORT = 1033;
constexpr int TYPE_UINT = 1034;
constexpr int TYPE_ULONG = 1035;
constexpr int TYPE_COMPOUND = 1036;
constexpr int TYPE_FUNCTION = 1037;
constexpr int TYPE_BOOL = 1038;
constexpr int TYPE_VOID = 1039;
constexpr int TYPE_POINTER = 1040;
constexpr int TYPE_ARRAY = 1041;
constexpr int LITERAL_TYPE_OFFSET = TYPE_BYTE - TOK_BYTE;
static_assert(TYPE_UBYTE - TYPE_BYTE == UNSIGNED_OFFSET && TYPE_ULONG - TYPE_LONG == UNSIGNED_OFFSET);
static_assert(TYPE_ULONG - TOK_ULONG == LITERAL_TYPE_OFFSET);

// Inheritance flags of a class.
constexpr int FLAG_ABSTRACT = 1;
constexpr int FLAG_FINAL = 2;

}  // namespace zintrel::tok

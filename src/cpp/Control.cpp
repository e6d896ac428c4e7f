// C++ text of blocks and control statements: If chains, the loops, Exit and Continue.
#include <typeinfo>

#include "cpp/CPPNodes.h"
#include "cpp/Text.h"

namespace zintrel {

namespace {

// A nested block at its own indentation (callers pass one more tab than their statement's).
void AppendBlock(std::string& out, TStatementList* block, const std::string& indent) {
  if (block != nullptr) AppendNodeCode(out, block, indent);
}

// A Select without cases was lowered into its selector's local and the default statements:
// nothing compares the local, so it is marked used (g++ -Wall warns about it otherwise).
bool IsUncomparedSelector(TStatementList* block) {
  TStatementNode* first = block->Statements.empty() ? nullptr : block->Statements.front();
  if (first == nullptr || typeid(*first) != typeid(TCPPVariableDeclNode)) return false;
  auto* selector = static_cast<TVariableDeclNode*>(first);
  if (selector->Identifier.str().rfind("__select", 0) != 0) return false;
  if (block->Statements.size() == 1) return true;
  auto* chain = NodeCast<TIfNode>(block->Statements[1]);
  return chain != nullptr && NodeCast<TLiteralNode>(chain->Expression) != nullptr;
}

// The statements of a block, each closed by ";\n" (compound statements thus end in "};").
void AppendStatements(std::string& out, TStatementList* block, const std::string& indent) {
  for (TVariableDeclNode* constant : block->Constants) {
    out += indent;
    static_cast<TCPPVariableDeclNode*>(constant)->AppendImplementationCode(out, indent, "", "");
    out += ";\n";
  }
  if (!block->Statements.empty()) TASTNode::PrefetchStatement(nullptr, block->Statements.front());
  for (TStatementNode* const* at = block->Statements.begin(); at != block->Statements.end(); ++at) {
    TStatementNode* statement = *at;
    if (at + 1 != block->Statements.end()) TASTNode::PrefetchStatement(statement, at[1]);
    if (statement == nullptr) continue;
    // Declarations are always the target's own class: a type test is cheaper than a cast.
    if (typeid(*statement) == typeid(TCPPVariableDeclNode)) {
      auto* declaration = static_cast<TVariableDeclNode*>(statement);
      if (declaration->DeclKind == DECL_CONST) continue;
      if (declaration->DeclKind == DECL_GLOBAL) {
        // Defined with the file's globals; here it is only given its value.
        out += indent;
        out += '\t';
        AppendCPPIdentifier(out, declaration->Identifier);
        out += " = ";
        if (declaration->Value != nullptr) {
          AppendNodeCode(out, declaration->Value, indent);
        } else {
          out += declaration->Datatype->GenerateAutoValue(indent);
        }
        out += ";\n";
        continue;
      }
    }
    AppendNodeCode(out, statement, indent);
    out += ";\n";
    if (statement == block->Statements.front() && IsUncomparedSelector(block)) {
      out += indent;
      out += "(void)";
      AppendCPPIdentifier(out, static_cast<TVariableDeclNode*>(statement)->Identifier);
      out += ";\n";
    }
  }
}

}  // namespace

std::string TStatementList::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TStatementList::AppendCode(std::string& out, const std::string& indent) {
  AppendStatements(out, this, indent);
}

std::string TCPPIfNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPIfNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  out += "if (";
  AppendNodeCode(out, Expression, indent);
  out += ") {\n";
  AppendBlock(out, Statements, Deeper(indent));
  for (TElseIfNode* branch : ElseIfList) AppendNodeCode(out, branch, indent);
  AppendNodeCode(out, ElseBranch, indent);
  out += indent;
  out += '}';
}

std::string TCPPElseIfNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPElseIfNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  out += "} else if (";
  AppendNodeCode(out, Expression, indent);
  out += ") {\n";
  AppendBlock(out, Statements, Deeper(indent));
}

std::string TCPPElseNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPElseNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  out += "} else {\n";
  AppendBlock(out, Statements, Deeper(indent));
}

std::string TCPPWhileNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPWhileNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  out += "while (";
  AppendNodeCode(out, Expression, indent);
  out += ") {\n";
  AppendBlock(out, Statements, Deeper(indent));
  out += indent;
  out += '}';
}

std::string TCPPRepeatNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPRepeatNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  out += "do {\n";
  AppendBlock(out, Statements, Deeper(indent));
  out += indent;
  if (Expression != nullptr) {
    out += "} while (!(";
    AppendNodeCode(out, Expression, indent);
    out += "));";
  } else {
    out += "} while(1);";
  }
}

// A Select is lowered into an If chain before generation; its parts have no text of their own.
std::string TCPPSelectNode::GenerateCode(const std::string&) { return std::string(); }
void TCPPSelectNode::AppendCode(std::string&, const std::string&) {}
std::string TCPPCaseNode::GenerateCode(const std::string&) { return std::string(); }
void TCPPCaseNode::AppendCode(std::string&, const std::string&) {}
std::string TCPPDefaultNode::GenerateCode(const std::string&) { return std::string(); }
void TCPPDefaultNode::AppendCode(std::string&, const std::string&) {}

std::string TCPPForWhileNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPForWhileNode::AppendCode(std::string& out, const std::string& indent) {
  // The extra braces keep what the initial statements declare local to the loop.
  const std::string inner = Deeper(indent);
  out += indent;
  out += "{\n";
  AppendBlock(out, ForStatements, inner);
  out += inner;
  out += "for (; ";
  AppendNodeCode(out, WhileExpression, indent);
  out += ";) {\n";
  AppendBlock(out, Statements, Deeper(inner));
  out += inner;
  out += "}\n";
  out += indent;
  out += '}';
}

std::string TCPPForNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPForNode::AppendCode(std::string& out, const std::string& indent) {
  std::string variable;
  AppendNodeCode(variable, Variable, indent);
  out += indent;
  out += "for (";
  if (LoopVariable != nullptr && LoopVariable != Variable) {
    AppendNodeCode(out, LoopVariable, std::string());
  } else {
    out += variable;
    out += " = ";
    AppendNodeCode(out, FromExpression, indent);
  }
  out += "; ";
  // The bound is compared as the loop variable's value, also when one of the two is unsigned.
  const char* wide = WideComparisonType(Variable, ToExpression);
  if (wide != nullptr) {
    AppendConverted(out, wide, Variable, indent);
  } else {
    out += variable;
  }
  auto appendBound = [&] {
    if (wide != nullptr) {
      AppendConverted(out, wide, ToExpression, indent);
    } else {
      AppendNodeCode(out, ToExpression, indent);
    }
  };
  if (StepExpression == nullptr) {
    out += SkipLast == 1 ? " < " : " <= ";
    appendBound();
    out += "; ";
    out += variable;
    out += " += 1";
  } else {
    // The step is a constant: folded here, so the condition and the increment are literal.
    EvaluateForText(StepExpression);
    std::string step;
    TDatatype* type = StepExpression->EvaluateDatatype();
    if (type != nullptr && type->TypeKind == TYPE_FLOAT) {
      step = RealText(static_cast<double>(StepExpression->GetFloatResult()), 9);
    } else if (type != nullptr && type->TypeKind == TYPE_DOUBLE) {
      step = RealText(StepExpression->GetDoubleResult(), 17);
    } else {
      step = StepExpression->GetCastedStringResult();
    }
    if (SkipLast == 1) {
      out += " + ";
      out += step;
    }
    if (StepExpression->GetCastedDoubleResult() < 0) {
      out += " >= ";
      appendBound();
      out += "; ";
      out += variable;
      out += " -= ";
      out.append(step, 1);
    } else {
      out += " <= ";
      appendBound();
      out += "; ";
      out += variable;
      out += " += ";
      out += step;
    }
  }
  out += ") {\n";
  AppendBlock(out, Statements, Deeper(indent));
  out += indent;
  out += '}';
}

std::string TCPPExitNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPExitNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  out += "break";
}

std::string TCPPContinueNode::GenerateCode(const std::string& indent) {
  return GenerateByAppending(this, indent);
}

void TCPPContinueNode::AppendCode(std::string& out, const std::string& indent) {
  out += indent;
  out += "continue";
}

}  // namespace zintrel

#include "model/ProgramNode.h"

namespace zintrel {

int TProgramNode::CheckCorrectness(TScope*) { return 0; }

int TProgramNode::Merge(const TProgramNode* other) {
  if (other == nullptr) return 0;
  Statements.insert(Statements.end(), other->Statements.begin(), other->Statements.end());
  Functions.insert(Functions.end(), other->Functions.begin(), other->Functions.end());
  Classes.insert(Classes.end(), other->Classes.begin(), other->Classes.end());
  Libraries.insert(Libraries.end(), other->Libraries.begin(), other->Libraries.end());
  return 0;
}

}  // namespace zintrel

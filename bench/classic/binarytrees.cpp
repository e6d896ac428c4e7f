// binary-trees: many short-lived complete trees and one long-lived one, allocated node by node.
#include <cstdio>
#include <cstdlib>

struct Node {
	Node* left;
	Node* right;
	Node(Node* l, Node* r) : left(l), right(r) {}
	~Node() {
		delete left;
		delete right;
	}
	int Check() const { return 1 + (left ? left->Check() + right->Check() : 0); }
};

static Node* BottomUp(int depth) {
	if (depth > 0) return new Node(BottomUp(depth - 1), BottomUp(depth - 1));
	return new Node(nullptr, nullptr);
}

int main(int argc, char** argv) {
	int n = argc > 1 ? atoi(argv[1]) : 17;
	const int minDepth = 4;
	int maxDepth = minDepth + 2 > n ? minDepth + 2 : n;
	{
		Node* stretch = BottomUp(maxDepth + 1);
		printf("stretch tree of depth %d\t check: %d\n", maxDepth + 1, stretch->Check());
		delete stretch;
	}
	Node* longLived = BottomUp(maxDepth);
	for (int d = minDepth; d <= maxDepth; d += 2) {
		int iterations = 1 << (maxDepth - d + minDepth);
		int check = 0;
		for (int i = 0; i < iterations; i++) {
			Node* t = BottomUp(d);
			check += t->Check();
			delete t;
		}
		printf("%d\t trees of depth %d\t check: %d\n", iterations, d, check);
	}
	printf("long lived tree of depth %d\t check: %d\n", maxDepth, longLived->Check());
	delete longLived;
}

#!/usr/bin/env python3
"""Builds and runs the examples of the documentation.

usage: doc_examples.py ZINTREL FILE.md...

Every fenced block marked ```zintrel is a program: it is built in a temporary folder with
`ZINTREL -o prog main.zn` and run there. A block marked ```zintrel NAME (or ```cpp NAME, ```c NAME)
is a further file of the next program, written to NAME first; a NAME under mod/ is a user module,
built with a copy of the compiler before the program (-m of its top two name parts). A ```text
block right after a program is the program's expected output. Prints one line per failure and
ends with status 1 if any block failed.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

zintrel = os.path.abspath(sys.argv[1])
fence = re.compile(r"^```(\w*)[ \t]*(\S*)[ \t]*\n(.*?)^```[ \t]*\n", re.M | re.S)


def blocks(text):
    """(kind, name, body, line) for every fenced block, in order."""
    for m in fence.finditer(text):
        yield m.group(1), m.group(2), m.group(3), text.count("\n", 0, m.start()) + 1


def run(cmd, cwd):
    return subprocess.run(cmd, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, errors="replace", timeout=300)


def build(doc, line, program, extras, expected):
    with tempfile.TemporaryDirectory() as tmp:
        compiler = zintrel
        modules = sorted({".".join(n.split("/")[1:3]) for n in extras if n.startswith("mod/")})
        if modules:
            os.mkdir(os.path.join(tmp, "tc"))
            shutil.copy2(zintrel, os.path.join(tmp, "tc"))
            shutil.copytree(os.path.join(os.path.dirname(zintrel), "mod"), os.path.join(tmp, "tc", "mod"),
                            symlinks=True)
            compiler = os.path.join(tmp, "tc", os.path.basename(zintrel))
        for name, body in extras.items():
            path = os.path.join(tmp, "tc" if name.startswith("mod/") else "", name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w") as f:
                f.write(body)
        for module in modules:
            r = run([compiler, "-m", module], tmp)
            if r.returncode != 0:
                return f"{doc}:{line}: module {module} does not build:\n{r.stdout}"
        with open(os.path.join(tmp, "main.zn"), "w") as f:
            f.write(program)
        r = run([compiler, "-o", "prog", "main.zn"], tmp)
        if r.returncode != 0 or "Output:" in r.stdout:
            return f"{doc}:{line}: does not build cleanly:\n{r.stdout}"
        r = run(["./prog"], tmp)
        if expected is not None and r.stdout != expected:
            return f"{doc}:{line}: output differs:\n--- expected\n{expected}--- got\n{r.stdout}"
    return None


failures = programs = 0
for doc in sys.argv[2:]:
    with open(doc) as f:
        found = list(blocks(f.read()))
    extras = {}
    for i, (kind, name, body, line) in enumerate(found):
        if kind in ("zintrel", "cpp", "c") and name:
            extras[name] = body
        elif kind == "zintrel":
            expected = None
            if i + 1 < len(found) and found[i + 1][0] == "text":
                expected = found[i + 1][2]
            programs += 1
            failure = build(doc, line, body, extras, expected)
            extras = {}
            if failure:
                failures += 1
                print("FAIL " + failure)
print(f"{programs} programs, {failures} failed")
sys.exit(1 if failures else 0)

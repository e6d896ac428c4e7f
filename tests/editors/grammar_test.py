#!/usr/bin/env python3
"""Keeps the editor grammar in step with the lexer: the JSON parses, its keyword words are the
lexer's keyword list, and its number patterns take every literal form the lexer reads.

usage: grammar_test.py GRAMMAR.json LEXER.cpp
"""
import json
import re
import sys

grammar_path, lexer_path = sys.argv[1:3]
with open(grammar_path, encoding="utf-8") as f:
    grammar = json.load(f)
with open(lexer_path, encoding="utf-8") as f:
    lexer = f.read()

failures = []
if grammar.get("scopeName") != "source.zintrel" or "zn" not in grammar.get("fileTypes", []):
    failures.append("scopeName must be source.zintrel and fileTypes must hold zn")

table = re.search(r"KeywordList\[\]\s*=\s*\{(.*?)\};", lexer, re.S)
lexer_words = {w.lower() for w in re.findall(r'\{KEY_\w+,\s*"(\w+)"\}', table.group(1))}
if len(lexer_words) != 80:
    failures.append(f"read {len(lexer_words)} keywords from the lexer, expected 80")

grammar_words = set()
for pattern in grammar["repository"]["keywords"]["patterns"]:
    if pattern["name"].startswith("keyword.control.end."):
        continue  # "End If" and its kin: spellings of keywords already listed
    body = re.search(r"\(\?:([^)]*)\)", pattern["match"]).group(1)
    grammar_words |= set(body.split("|"))
for word in sorted(lexer_words - grammar_words):
    failures.append(f"keyword missing from the grammar: {word}")
for word in sorted(grammar_words - lexer_words):
    failures.append(f"grammar word that is no keyword: {word}")

# Each literal must be matched whole by one of the number patterns.
numbers = [re.compile(p["match"]) for p in grammar["repository"]["numbers"]["patterns"]]
for literal in ["0", "3000000000", "3000000000L", "255UB", "300B", "10u", "7uus", "$ff", "$1B",
                "$", "$FFul", "%101", "%", "%1s", "1.5", "1.5d", "2.", "2.D", "0.25"]:
    if not any(m.match(literal) and m.match(literal).end() == len(literal) for m in numbers):
        failures.append(f"no number pattern takes the literal {literal}")

continuation = re.compile(grammar["repository"]["continuation"]["patterns"][0]["match"], re.M)
if not continuation.search("a = 1 + ..\n") or continuation.search("a = b.. c\n"):
    failures.append("line continuation: only '..' right before the line end continues")

for failure in failures:
    print("FAIL " + failure)
sys.exit(1 if failures else 0)

#!/usr/bin/env python3
"""Builds random programs with the compiler, runs them and compares their output with the
output the generator computed. Usage:

    run.py COMPILER COUNT [FIRST_SEED] [--keep DIR] [--jobs N]

Programs of seeds FIRST_SEED .. FIRST_SEED + COUNT - 1 are tried. A program that fails to
build, crashes or prints something else is kept in DIR/<seed>/ with its expected and actual
output; the exit status is 1 when any program failed.
"""
import argparse
import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen  # noqa: E402


def try_seed(compiler, seed, work):
    source, expected = gen.program(seed)
    folder = os.path.join(work, str(seed))
    os.makedirs(folder)
    path = os.path.join(folder, 'prog.zn')
    with open(path, 'w') as f:
        f.write(source)
    try:
        build = subprocess.run([compiler, '-o', 'prog', 'prog.zn'], cwd=folder, capture_output=True,
                               text=True, timeout=300)
    except subprocess.TimeoutExpired:
        return seed, 'build timed out', source, expected, ''
    if build.returncode != 0 or not os.path.exists(os.path.join(folder, 'prog')):
        return seed, 'build failed', source, expected, build.stdout + build.stderr
    try:
        run = subprocess.run([os.path.join(folder, 'prog')], cwd=folder, capture_output=True,
                             timeout=20)
    except subprocess.TimeoutExpired:
        return seed, 'run timed out', source, expected, ''
    actual = run.stdout.decode('utf-8', 'replace')
    if run.returncode != 0:
        return seed, 'exit status %d' % run.returncode, source, expected, \
            actual + run.stderr.decode('utf-8', 'replace')
    if actual != expected:
        return seed, 'output differs', source, expected, actual
    shutil.rmtree(folder, ignore_errors=True)
    return seed, None, source, expected, actual


def first_difference(expected, actual):
    e, a = expected.splitlines(), actual.splitlines()
    for i in range(max(len(e), len(a))):
        x = e[i] if i < len(e) else '<none>'
        y = a[i] if i < len(a) else '<none>'
        if x != y:
            return 'line %d: expected %r, got %r' % (i + 1, x, y)
    return ''


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('compiler')
    parser.add_argument('count', type=int)
    parser.add_argument('seed', type=int, nargs='?', default=1)
    parser.add_argument('--keep', default='random-failures')
    parser.add_argument('--jobs', type=int, default=2)
    args = parser.parse_args()
    compiler = os.path.abspath(args.compiler)
    failures = 0
    with tempfile.TemporaryDirectory(prefix='zintrel-random-') as work:
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            seeds = range(args.seed, args.seed + args.count)
            for seed, problem, source, expected, actual in pool.map(
                    lambda s: try_seed(compiler, s, work), seeds):
                if problem is None:
                    continue
                failures += 1
                keep = os.path.join(args.keep, str(seed))
                os.makedirs(keep, exist_ok=True)
                for name, text in (('prog.zn', source), ('expected.txt', expected),
                                   ('actual.txt', actual)):
                    with open(os.path.join(keep, name), 'w') as f:
                        f.write(text)
                print('seed %d: %s (%s) %s' % (seed, problem, keep, first_difference(expected, actual)
                                               if problem == 'output differs' else ''), flush=True)
    print('%d programs, %d failed' % (args.count, failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())

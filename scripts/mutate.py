#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Mutation testing: does the test suite notice small faults in the library?

Puts one small fault (a mutant) at a time into the sources, rebuilds
incrementally, runs the suite (ctest, stopping at the first failure) and puts
the source back. A mutant that some test notices is killed; one that the whole
suite passes survived. Survivors are printed with their location and change.

  scripts/mutate.py                      20 mutants of src/, seed 1, in ./build
  scripts/mutate.py --count 100 --seed 7
  scripts/mutate.py --files 'src/notation/*.cpp' --list

The faults: comparisons flipped or moved by one (< <= > >= == !=), && and ||
swapped, a ! dropped, true and false swapped (inverted boolean returns among
them), + and - swapped, ++ and -- swapped, and integer constants moved by one.
Comments, string and character literals and preprocessor lines are left alone,
and so are generated files (see generated()).
The candidates are enumerated in a fixed order and sampled with the seed, so a
run is the same for the same sources, seed and count.

The build directory defaults to ./build (the default preset's); if it does not
exist it is configured with the default preset. When the library is shared,
only the library is rebuilt for each mutant (the tests load it at run time),
and for a mutant of a client under clients/<name>/ that client's library too.
The unchanged sources are built and tested first (--no-baseline skips that),
and the library is rebuilt from them at the end.

Some mutants change nothing observable (equivalent mutants); they are listed,
each with its reason, in scripts/mutate-equivalent.txt. A survivor listed
there is reported as equivalent and does not count as a gap.

A run stopped with Ctrl-C or SIGTERM puts the source back; one killed hard
(SIGKILL) cannot, and "git diff src/" then shows the mutant left behind.

Exit status: 0 when no mutant survived but listed ones, 1 when one did, 2
when the run itself failed (bad arguments, the unchanged sources do not build
or do not pass, a tool is missing).
"""

import argparse
import dataclasses
import glob
import os
import random
import re
import resource
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EQUIVALENT_LIST = os.path.join(ROOT, "scripts", "mutate-equivalent.txt")


class RunError(Exception):
    """The run cannot go on (exit status 2)."""


@dataclasses.dataclass
class Mutant:
    path: str  # relative to ROOT
    line: int  # 1-based
    column: int  # 0-based, in the line
    before: str
    after: str
    rule: str
    original_line: str = ""
    line_above: str = ""

    def mutated_line(self):
        text = self.original_line
        return text[: self.column] + self.after + text[self.column + len(self.before) :]

    def where(self):
        return f"{self.path}:{self.line}:{self.column + 1}"

    def key(self):
        """What identifies the mutant in the list of equivalent ones."""
        return (self.path, self.line_above.strip(), self.original_line.strip(), self.mutated_line().strip())


# ---------------------------------------------------------------- candidates


def mask(text):
    """The text with comments, string and character literals and preprocessor
    lines replaced by spaces (newlines kept), so that positions still match."""
    out = list(text)
    i, n = 0, len(text)
    line_start = True

    def blank(start, end):
        for k in range(start, end):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if line_start and c in " \t":
            i += 1
            continue
        if line_start and c == "#":  # a preprocessor line, with its continuations
            j = i
            while j < n and (text[j] != "\n" or text[j - 1] == "\\"):
                j += 1
            blank(i, j)
            i = j
            continue
        line_start = c == "\n"
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == "R" and i + 1 < n and text[i + 1] == '"':  # raw string literal
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(")" + (m.group(1) if m else "") + '"', i)
            j = n if end < 0 else end + len(m.group(1) if m else "") + 2
            blank(i, j)
            i = j
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum() and not re.search(r"(u8|[uUL])$", text[max(0, i - 2) : i]):
                i += 1  # a digit separator
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j, n)
            end = j + 1 if j < n and text[j] == c else j  # a literal left open ends with its line
            blank(i, end)
            i = end
        else:
            i += 1
    return "".join(out)


# (rule, pattern, replacements of the matched text)
RELATIONAL = {"<": ["<=", ">="], "<=": ["<", ">"], ">": [">=", "<="], ">=": [">", "<"], "==": ["!="], "!=": ["=="]}
RULES = [
    ("comparison", re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)"), lambda m: RELATIONAL[m.group(0)]),
    ("logical", re.compile(r"(?<=\s)(&&|\|\|)(?=\s)"), lambda m: ["||" if m.group(0) == "&&" else "&&"]),
    ("negation", re.compile(r"!(?!=)"), lambda m: [""]),
    ("boolean", re.compile(r"\b(true|false)\b"), lambda m: ["false" if m.group(0) == "true" else "true"]),
    ("arithmetic", re.compile(r"(?<=\s)[+-](?=\s)"), lambda m: ["-" if m.group(0) == "+" else "+"]),
    ("increment", re.compile(r"\+\+|--"), lambda m: ["--" if m.group(0) == "++" else "++"]),
    (
        "constant",
        re.compile(r"(?<![\w.'])(\d+)([uUlL]*)(?![\w.'])"),
        lambda m: [str(int(m.group(1)) + d) + m.group(2) for d in (1, -1) if int(m.group(1)) + d >= 0],
    ),
]


def candidates(paths):
    found = []
    for path in paths:
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            text = f.read()
        lines = text.split("\n")
        for number, code in enumerate(mask(text).split("\n"), start=1):
            for rule, pattern, replacements in RULES:
                for m in pattern.finditer(code):
                    for after in replacements(m):
                        above = lines[number - 2] if number > 1 else ""
                        found.append(Mutant(path, number, m.start(), m.group(0), after, rule, lines[number - 1], above))
    return found


def generated(path):
    """Whether the file says it is generated ("Generated by ...; do not edit"
    in its first lines). Such a file is left alone: a fault found there would
    be mended in its generator, not in the file, and a table's entries are
    data, not logic to mutate (src/notation/UnicodeLetters.cpp, from
    scripts/generate-unicode-letters.py)."""
    with open(path, encoding="utf-8") as f:
        head = "".join(f.readline() for _ in range(3))
    return head.startswith("// Generated by") and "do not edit" in head


def source_files(patterns):
    paths = set()
    for pattern in patterns:
        matched = glob.glob(os.path.join(ROOT, pattern), recursive=True)
        if not matched:
            raise RunError(f"no file matches {pattern}")
        paths.update(os.path.relpath(p, ROOT) for p in matched if os.path.isfile(p) and not generated(p))
    return sorted(paths)


def load_equivalent():
    """The listed equivalent mutants: keys, each with its reason."""
    listed = {}
    if not os.path.exists(EQUIVALENT_LIST):
        return listed
    with open(EQUIVALENT_LIST, encoding="utf-8") as f:
        entry = {}
        for raw in f:
            line = raw.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            field, _, value = line.partition(":")
            if field.strip() not in ("file", "above", "from", "to", "why"):
                raise RunError(f"{EQUIVALENT_LIST}: an unknown field in {line!r}")
            entry[field.strip()] = value.strip()
            if field.strip() == "why":
                try:
                    listed[(entry["file"], entry["above"], entry["from"], entry["to"])] = entry["why"]
                except KeyError as missing:
                    raise RunError(f"{EQUIVALENT_LIST}: an entry without {missing}") from None
                entry = {}
    return listed


# ---------------------------------------------------------------- running


def run(command, timeout=None, memory_mb=0):
    """(exit status, output); status None when the time ran out. The whole
    process group is stopped on timeout. With memory_mb, each process may
    use that much address space at most."""

    def limit():
        if memory_mb:
            size = memory_mb * 1024 * 1024
            resource.setrlimit(resource.RLIMIT_AS, (size, size))

    process = subprocess.Popen(
        command,
        cwd=ROOT,
        stdout=subprocess.PIPE,
        stderr=subprocess.STDOUT,
        text=True,
        start_new_session=True,
        preexec_fn=limit,
    )
    try:
        output, _ = process.communicate(timeout=timeout)
        return process.returncode, output or ""
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        output, _ = process.communicate()
        return None, output or ""
    except BaseException:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise


class Suite:
    def __init__(self, build_dir, jobs, timeout, memory_mb, library_sources=True):
        self.build_dir = build_dir
        self.jobs = jobs
        self.timeout = timeout
        self.memory_mb = memory_mb
        self.library_only = False
        # Only mutants of the library's own sources can be rebuilt as the
        # library alone; a client's mutant lives in the client's library.
        self.library_sources = library_sources

    def prepare(self):
        if not os.path.exists(os.path.join(self.build_dir, "CMakeCache.txt")):
            print(f"configuring {self.build_dir} with the default preset", flush=True)
            status, output = run(["cmake", "--preset", "default", "-B", self.build_dir])
            if status != 0:
                raise RunError("configuring failed:\n" + output)
        with open(os.path.join(self.build_dir, "CMakeCache.txt"), encoding="utf-8") as f:
            cache = f.read()
        shared = re.search(r"^BUILD_SHARED_LIBS:\w+=(\w+)", cache, re.M)
        self.library_only = self.library_sources and (shared is None or shared.group(1).upper() in ("ON", "1", "TRUE", "YES"))

    def build(self, everything=False, path=""):
        command = ["cmake", "--build", self.build_dir, "-j", str(self.jobs)]
        if self.library_only and not everything:
            command += ["--target", "algexpr"]
            parts = path.split("/")
            if len(parts) > 2 and parts[0] == "clients":
                command += ["algexpr_" + parts[1]]
        return run(command, timeout=self.timeout)

    def test(self):
        """(passed, what failed first or why)."""
        status, output = run(
            ["ctest", "--test-dir", self.build_dir, "-j", str(self.jobs), "--stop-on-failure", "--timeout",
             str(self.timeout)],
            timeout=self.timeout,
            memory_mb=self.memory_mb,
        )
        if status is None:
            return False, "timeout"
        if status == 0:
            return True, ""
        # "The following tests FAILED:" lists "<n> - <name> (<why>)"; a
        # parameterised test's name goes on with "  # GetParam() = ...".
        failed = re.findall(r"^\s*\d+ - (.+?) \(([^()]+)\)\s*$", output, re.M)
        failed = failed or re.findall(r"Test +#\d+: (.+?) \.+\*+([^\n]*?) +[\d.]+ sec", output)
        if failed:
            return False, f"{failed[0][0].split('  #')[0]} ({failed[0][1]})"
        last = [line.strip() for line in output.splitlines() if line.strip()]
        return False, f"ctest ended with {status}" + (f": {last[-1][:120]}" if last else "")


def mutate(mutant, original):
    lines = original.split("\n")
    assert lines[mutant.line - 1] == mutant.original_line
    lines[mutant.line - 1] = mutant.mutated_line()
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(
        description=__doc__.split("\n\n")[0], formatter_class=argparse.RawDescriptionHelpFormatter,
        epilog="\n\n".join(__doc__.split("\n\n")[1:]))
    parser.add_argument("--count", type=int, default=20, help="how many mutants to try (default 20)")
    parser.add_argument("--seed", type=int, default=1, help="the sampling seed (default 1)")
    parser.add_argument("--files", nargs="+", default=["src/**/*.cpp", "src/**/*.h"], metavar="GLOB",
                        help="the sources to mutate, relative to the checkout (default: src/**/*.cpp src/**/*.h)")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build"), help="default: ./build")
    parser.add_argument("--timeout", type=int, default=300, help="seconds for one mutant's build and for its tests")
    parser.add_argument("--memory-limit", type=int, default=2048, metavar="MB",
                        help="address space for each test process, so that a mutant cannot exhaust the machine's"
                             " memory (default 2048; 0 for none, as sanitizer builds need)")
    parser.add_argument("--jobs", type=int, default=2, help="parallel build and test jobs (default 2)")
    parser.add_argument("--at", nargs="+", default=[], metavar="FILE:LINE[:COLUMN]",
                        help="only the mutants at these places (to check survivors again)")
    parser.add_argument("--list", action="store_true", help="print the sampled mutants and stop")
    parser.add_argument("--no-baseline", action="store_true", help="do not build and test the unchanged sources first")
    args = parser.parse_args()
    if args.count < 1 or args.timeout < 1 or args.jobs < 1 or args.memory_limit < 0:
        parser.error("--count, --timeout and --jobs must be positive, --memory-limit not negative")

    paths = source_files(args.files)
    pool = candidates(paths)
    if args.at:
        pool = [m for m in pool if any(m.where() == place or m.where().startswith(place + ":") for place in args.at)]
    if not pool:
        raise RunError("no mutant can be made of those files")
    sample = random.Random(args.seed).sample(pool, min(args.count, len(pool)))
    sample.sort(key=lambda m: (m.path, m.line, m.column, m.after))
    equivalent = load_equivalent()
    print(f"{len(sample)} of {len(pool)} mutants of {len(paths)} files, seed {args.seed}", flush=True)
    if args.list:
        for m in sample:
            print(f"{m.where()} {m.rule}: {m.before!r} -> {m.after!r}\n  - {m.original_line.strip()}\n"
                  f"  + {m.mutated_line().strip()}")
        return 0

    suite = Suite(os.path.abspath(args.build_dir), args.jobs, args.timeout, args.memory_limit,
                  all(pattern.startswith("src/") for pattern in args.files))
    suite.prepare()
    if not args.no_baseline:
        status, output = suite.build(everything=True)
        if status != 0:
            raise RunError("the unchanged sources do not build:\n" + output[-3000:])
        passed, why = suite.test()
        if not passed:
            raise RunError(f"the unchanged sources do not pass the suite: {why}")

    results = {"killed": [], "survived": [], "equivalent": [], "not compiled": []}
    started = time.monotonic()
    try:
        for index, m in enumerate(sample, start=1):
            full = os.path.join(ROOT, m.path)
            with open(full, encoding="utf-8") as f:
                original = f.read()
            try:
                with open(full, "w", encoding="utf-8") as f:
                    f.write(mutate(m, original))
                status, _ = suite.build(path=m.path)
                if status is None:
                    outcome, why = "killed", "build timeout"
                elif status != 0:
                    outcome, why = "not compiled", ""
                else:
                    passed, why = suite.test()
                    outcome = "killed" if not passed else "equivalent" if m.key() in equivalent else "survived"
                    if outcome == "equivalent":
                        why = equivalent[m.key()]
            finally:
                with open(full, "w", encoding="utf-8") as f:
                    f.write(original)
            results[outcome].append(m)
            print(f"[{index}/{len(sample)}] {outcome}: {m.where()} {m.rule} {m.before!r} -> {m.after!r}"
                  + (f" ({why})" if why else ""), flush=True)
            if outcome == "survived":
                print(f"    - {m.original_line.strip()}\n    + {m.mutated_line().strip()}", flush=True)
    finally:
        status, output = suite.build(everything=True)
        if status != 0:
            print(f"warning: rebuilding the restored sources in {suite.build_dir} failed", file=sys.stderr)

    tried = len(sample) - len(results["not compiled"])
    killed = len(results["killed"])
    print(f"\n{killed} killed of {tried} mutants that compiled ({len(results['not compiled'])} did not), "
          f"{len(results['equivalent'])} listed as equivalent, {len(results['survived'])} survived; "
          f"{time.monotonic() - started:.0f} s")
    if tried:
        score = 100.0 * killed / tried
        real = tried - len(results["equivalent"])
        print(f"score {killed}/{tried} = {score:.0f}%"
              + (f"; without the equivalent ones {killed}/{real} = {100.0 * killed / real:.0f}%" if real else ""))
    for m in results["survived"]:
        print(f"survived: {m.where()} {m.rule}\n    - {m.original_line.strip()}\n    + {m.mutated_line().strip()}")
    return 1 if results["survived"] else 0


def interrupted(signum, frame):
    raise KeyboardInterrupt


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, interrupted)
    try:
        sys.exit(main())
    except RunError as error:
        print(f"mutate.py: {error}", file=sys.stderr)
        sys.exit(2)
    except KeyboardInterrupt:
        print("mutate.py: interrupted; the sources are restored", file=sys.stderr)
        sys.exit(2)

#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The GiNaC engine gives byte-identical output in every process.

    determinism.py TOOL [PROCESSES] [COUNT]

A corpus of COUNT inputs (eval, factor, simplify, expand, series, diff,
complex results; random trees and the cases that once differed between runs)
goes through `TOOL eval` in PROCESSES processes (at least 10), each with an
environment of its own size and its own MALLOC_PERTURB_, so that addresses
(and with them GiNaC's hash values) differ; every other process first reads
other expressions, which makes GiNaC's own helper symbols and tables differ
too. All processes must give one checksum of the corpus's output.

Exits 77 (skipped) when the tool was built without GiNaC. Standard library
only.
"""
import hashlib
import os
import random
import subprocess
import sys

SKIP = 77
FIXED = [
    # Sums with float and rational coefficients under integer powers.
    "divide(x,plus(divide(944.6,y),divide(x,8369101184041368982402)))",
    "divide(1,plus(times(-1,divide(x,6)),times(0.5,y)))",
    "power(plus(divide(x,6),divide(y,4),times(2.5,x,y)),-2)",
    "times(z,power(plus(divide(x,3),1.5,divide(y,9)),-3))",
    # A number beside the reciprocal of a sum whose sign the engine chooses.
    "plus(5.5,power(minus(log(4),omega),-1))",
    "plus(plus(383,798.98e1,755.30),power(minus(log(4),omega),-1))",
    "factor(minus(power(x,40),1))",
    "factor(minus(power(x,6),power(y,6)))",
    "factor(minus(power(y,2),power(x,2)))",
    "times(sin(x),minus(a,b))",
    "times(L,minus(A,B))",
    "times(L,minus(B,A))",
    "neg(times(L,minus(B,A)))",
    "series(sin(x),x,divide(pi,2),3)",
    "series(abs(x),x,1,3)",
    "series(minus(sqrt(plus(power(x,2),1)),x),x,infinity,6)",
    "series(exp(sqrt(x)),x,0,4)",
    # A number that meets a constant sum in one order of the factors only.
    "series(times(plus(divide(496,k),2.25),y,sin(x)),x,0,6)",
    "series(times(plus(divide(496,k),2.2),y,z,cos(x)),x,0,5)",
    "series(plus(times(plus(divide(496,k),2.25),y,sin(x)),cos(x)),x,0,5)",
    # Roots of reciprocals, kept as symbols of their own.
    "expand(times(plus(sqrt(divide(1,k)),sqrt(divide(2,a)),y),sqrt(divide(1,plus(sqrt(divide(1,k)),b)))))",
    "series(times(sqrt(divide(496,k)),y,sin(x)),x,0,4)",
    "times(sqrt(2),sqrt(6),power(x,n),power(x,-1))",
    "simplify(divide(1,minus(y,x)))",
    "factor(plus(times(2,power(x,2)),times(-2,power(y,2))))",
    "power(plus(1,i),7)",
    "times(plus(x,i),minus(x,i))",
    "log(exp(x))",
    "times(x,conjugate(x))",
    # More large radicands than the trial budget reaches.
    "plus(" + ",".join("sqrt(times(4,plus(power(10,{}),{})))".format(900 + k, 2 * k + 1) for k in range(1, 41)) + ")",
]
OPERATIONS = ["{}", "factor({})", "simplify({})", "expand({})", "series({},x,0,4)", "diff({},x)",
              "factor(expand({}))"]
FUNCTIONS = [("plus", 2), ("plus", 3), ("times", 2), ("minus", 2), ("divide", 2), ("power", 2), ("neg", 1),
             ("sin", 1), ("exp", 1), ("sqrt", 1), ("f", 1), ("abs", 1), ("conjugate", 1)]
LEAVES = ["x", "y", "z", "a", "1", "2", "-3", "divide(1,2)", "i", "pi"]


def tree(rng, depth):
    if depth == 0 or rng.random() < 0.3:
        return rng.choice(LEAVES)
    name, arity = rng.choice(FUNCTIONS)
    if name == "power":
        return f"power({tree(rng, depth - 1)},{rng.choice(['2', '3', '-1', 'divide(1,2)'])})"
    return f"{name}({','.join(tree(rng, depth - 1) for _ in range(arity))})"


def corpus(count):
    rng = random.Random(7)
    lines = list(FIXED)
    while len(lines) < count:
        lines.append(rng.choice(OPERATIONS).format(tree(rng, rng.randint(1, 4))))
    return lines


def run(tool, lines, index):
    """The output of one process, its corpus part only."""
    rng = random.Random(index)
    before = [tree(rng, 3) for _ in range(rng.randint(20, 200))] if index % 2 else []
    environment = dict(os.environ)
    environment["ALGEXPR_DETERMINISM_PADDING"] = "x" * (index * 997 % 9000)
    environment["MALLOC_PERTURB_"] = str(1 + index * 37 % 254)
    result = subprocess.run([tool, "eval"], input="\n".join(before + lines) + "\n", capture_output=True,
                            text=True, encoding="utf-8", env=environment)
    out = result.stdout.split("\n")[:-1]
    if len(out) != len(before) + len(lines):
        raise RuntimeError(f"process {index}: {len(out)} lines for {len(before) + len(lines)}:\n{result.stderr}")
    return "\n".join(out[len(before):]) + "\n", len(before)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    tool = sys.argv[1]
    processes = max(10, int(sys.argv[2]) if len(sys.argv) > 2 else 12)
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    probe = subprocess.run([tool, "eval", "i"], capture_output=True, text=True)
    if probe.stdout.strip() != "i":
        print("SKIP: the tool was built without the GiNaC engine")
        return SKIP
    lines = corpus(count)
    sums = {}
    first = None
    for index in range(processes):
        text, read_before = run(tool, lines, index)
        digest = hashlib.sha256(text.encode("utf-8")).hexdigest()
        sums.setdefault(digest, []).append(index)
        print(f"process {index}: {read_before} expressions first, checksum {digest[:16]}")
        if first is None:
            first = text
        elif text != first:
            for a, b, line in zip(first.split("\n"), text.split("\n"), lines):
                if a != b:
                    print(f"  differs on {line}:\n    {a}\n    {b}")
                    break
    print(f"{processes} processes, {count} inputs: {len(sums)} checksum(s)")
    return 0 if len(sums) == 1 else 1


if __name__ == "__main__":
    sys.exit(main())

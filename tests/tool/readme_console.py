#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs the `$ algexpr ...` lines of the README's console blocks and checks
that each prints what the README shows under it.

    readme_console.py README TOOL_DIR

A console block is a fenced block of language "console". In it, a line
starting with "$ " is a command and the lines up to the next command are its
output, standard output and standard error as a terminal shows them (the tool
writes a line at a time). Commands run in order, in one shell per block, in a
temporary directory, with TOOL_DIR first on PATH, so that `echo $?` sees the
command before it. Commands of other programs (dot) are left out, with what
follows them, and so are those with `--engine giac` when the tool was built
without Giac. Exits 77 (skipped) when the tool was built without GiNaC, since
the README shows its default engine.
"""
import os
import re
import subprocess
import sys
import tempfile

MARK = "@@readme-console@@"


def blocks(text, giac):
    for match in re.finditer(r"^```console\n(.*?)^```", text, re.S | re.M):
        commands = []
        for line in match.group(1).splitlines():
            if line.startswith("$ "):
                commands.append([line[2:], []])
            elif commands:
                commands[-1][1].append(line)
        yield [c for c in commands
               if re.match(r"(printf .*\| )?algexpr |echo \$\?$", c[0]) and "| dot" not in c[0]
               and (giac or "--engine giac" not in c[0])]


def main():
    readme, tool_dir = sys.argv[1], sys.argv[2]
    env = dict(os.environ, PATH=os.path.abspath(tool_dir) + os.pathsep + os.environ["PATH"], LC_ALL="C.UTF-8")
    version = subprocess.run(["algexpr", "--version"], capture_output=True, text=True, env=env).stdout
    if "\n  ginac " not in version:
        print("skipped: the tool was built without GiNaC, the README's default engine")
        return 77
    with open(readme, encoding="utf-8") as f:
        text = f.read()
    failures = checked = 0
    with tempfile.TemporaryDirectory() as work:
        for commands in blocks(text, "\n  giac " in version):
            script = "".join(f"s=$?; echo '{MARK}'; (exit $s); {command} 2>&1\n" for command, _ in commands)
            run = subprocess.run(["bash", "-c", script], capture_output=True, text=True, cwd=work, env=env)
            outputs = run.stdout.split(MARK + "\n")[1:]
            for (command, expected), got in zip(commands, outputs):
                checked += 1
                want = "".join(line + "\n" for line in expected)
                if got != want:
                    failures += 1
                    print(f"$ {command}\n--- README\n{want}--- algexpr\n{got}")
    print(f"{checked} commands of the README checked, {failures} differ")
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs every example of the documents and requires the program to print what they show.

An example is a command with its output, written as a person sees it in a terminal:

  README.md, docs/*.md   a fenced block (```) whose first line starts with
                         "$ quillmere-cli";
  docs/quillmere-cli.1   an .EX/.EE block whose first line starts with
                         "$ quillmere\\-cli" (roff escapes \\-, \\&, \\e and \\(rs are
                         read as -, nothing, \\ and \\).

Inside an example block:
  - a line "$ quillmere-cli ARGS" is a command; a line ending in " \\" goes on in the
    next one, as in a shell. ARGS are split as the shell would (shlex), without
    expansions;
  - a command may end in "# exit N": the exit code must be N; without it, 0;
  - the lines after a command, up to the next "$ " line or the end of the block, are
    its output: what it writes to standard output followed by what it writes to
    standard error (a refusal shows its one stderr line; a decode its row, then its
    warnings);
  - an output whose last line is "..." shows only its leading lines: those must be the
    first lines printed, and the rest is not compared;
  - csv's lines end in CR LF; the document shows them without the CR.

Blocks that show something else (a synopsis, a script, "sh" commands) do not start with
"$ quillmere-cli" and are left alone. A fault prints the file, the line of the command
and a diff of what the document shows against what the program printed.

Usage: doc_examples_test.py COMPANION SOURCE_DIR
"""

import difflib
import glob
import os
import re
import shlex
import subprocess
import sys

PROMPT = "$ quillmere-cli"
MORE = "..."
EXIT_MARK = re.compile(r"\s+#\s*exit\s+(\d+)\s*$")


def markdown_blocks(text):
    """(first line number, lines) of every fenced block; line numbers count from 1."""
    blocks, inside, start, lines = [], False, 0, []
    for number, line in enumerate(text.split("\n"), 1):
        if line.startswith("```"):
            if inside:
                blocks.append((start, lines))
            inside, start, lines = not inside, number + 1, []
        elif inside:
            lines.append(line)
    return blocks


def unroff(line):
    # \(rs and \e are a backslash; \& is a zero-width guard (before a leading dot);
    # \- is the ASCII minus. The backslash goes first into a placeholder so that
    # "\(rs-" is not read as "\-".
    line = line.replace("\\(rs", "\0").replace("\\e", "\0")
    return line.replace("\\&", "").replace("\\-", "-").replace("\0", "\\")


def man_blocks(text):
    blocks, inside, start, lines = [], False, 0, []
    for number, line in enumerate(text.split("\n"), 1):
        if line == ".EX":
            inside, start, lines = True, number + 1, []
        elif line == ".EE" and inside:
            blocks.append((start, lines))
            inside = False
        elif inside:
            lines.append(unroff(line))
    return blocks


def examples(blocks):
    """(line, arguments, exit code, expected lines, shows only the leading lines)."""
    found = []
    for start, lines in blocks:
        if not lines or not lines[0].startswith(PROMPT + " "):
            continue
        index = 0
        while index < len(lines):
            line_number = start + index
            command = lines[index][len("$ "):]
            while command.endswith("\\") and index + 1 < len(lines):
                index += 1
                command = command[:-1] + " " + lines[index].strip()
            index += 1
            output = []
            while index < len(lines) and not lines[index].startswith("$ "):
                output.append(lines[index])
                index += 1
            exit_code = 0
            mark = EXIT_MARK.search(command)
            if mark:
                exit_code = int(mark.group(1))
                command = command[:mark.start()]
            leading = bool(output) and output[-1] == MORE
            if leading:
                output.pop()
            found.append((line_number, shlex.split(command)[1:], exit_code, output, leading))
    return found


def run(companion, arguments):
    done = subprocess.run([companion] + arguments, capture_output=True, timeout=60,
                          env=dict(os.environ, LC_ALL="C.UTF-8"))
    text = (done.stdout + done.stderr).decode("utf-8", errors="backslashreplace")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return done.returncode, lines


def main():
    companion, source = sys.argv[1], sys.argv[2]
    documents = [os.path.join(source, "README.md")]
    documents += sorted(glob.glob(os.path.join(source, "docs", "*.md")))
    documents.append(os.path.join(source, "docs", "quillmere-cli.1"))
    failures = 0
    for path in documents:
        with open(path, encoding="utf-8") as document:
            text = document.read()
        name = os.path.relpath(path, source)
        blocks = man_blocks(text) if path.endswith(".1") else markdown_blocks(text)
        found = examples(blocks)
        for line, arguments, exit_code, expected, leading in found:
            code, printed = run(companion, arguments)
            # CSV lines end in CR LF; the document shows them without the CR.
            printed = [l[:-1] if l.endswith("\r") else l for l in printed]
            shown = printed[:len(expected)] if leading else printed
            if shown == expected and code == exit_code:
                continue
            failures += 1
            print(f"{name}:{line}: quillmere-cli {shlex.join(arguments)}")
            if code != exit_code:
                print(f"  exit code {code}, the document shows {exit_code}")
            if shown != expected:
                first = next((i for i, (a, b) in enumerate(zip(expected, shown)) if a != b),
                             min(len(expected), len(shown)))
                print(f"  first difference at {name}:{line + 1 + first}")
            for diff in difflib.unified_diff(expected, shown, name, "printed",
                                             lineterm="", n=1):
                print("  " + diff)
        print(f"{name}: {len(found)} examples")
    if failures:
        print(f"{failures} examples differ from what the program prints")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

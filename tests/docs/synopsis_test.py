#!/usr/bin/env python3
"""Requires the synopsis of the documents to be --help's, form for form and word for word.

The companion's --help opens with its usage: "Usage: " and the forms of the command, each
starting with "quillmere-cli", up to the first empty line. That is the one synopsis; the
documents restate it and are held to it:

  docs/companion.md     the fenced block whose first line starts with "quillmere-cli [";
  docs/quillmere-cli.1  the SYNOPSIS section, read as man writes it: the words of each
                        request line (.B, .RB, .IR, ...: the alternating ones joined
                        without a space), the forms separated by .br.

Line breaks and runs of blanks do not count; every other character does. A fault prints
the document and the forms that differ.

Usage: synopsis_test.py COMPANION SOURCE_DIR
"""

import os
import re
import subprocess
import sys

FORM = "quillmere-cli"


def words(text):
    return " ".join(text.split())


def forms(text):
    """The forms of a synopsis, each from one "quillmere-cli" to the next."""
    pieces = re.split(r"(?:^|\s)(?=" + re.escape(FORM) + r"\s)", words(text))
    return [piece.strip() for piece in pieces if piece.strip()]


def help_forms(companion):
    out = subprocess.run([companion, "--help"], capture_output=True, check=True, text=True).stdout
    usage = out.split("\n\n", 1)[0]
    if not usage.startswith("Usage: "):
        sys.exit(f"--help does not open with its usage: {usage[:60]!r}")
    return forms(usage[len("Usage: "):])


def markdown_forms(text):
    for block in re.findall(r"^```\n(.*?)^```", text, re.S | re.M):
        if block.startswith(FORM + " ["):
            return forms(block)
    return []


def unroff(text):
    return text.replace("\\&", "").replace("\\-", "-")


def man_forms(text):
    section = re.search(r"^\.SH SYNOPSIS\n(.*?)^\.SH ", text, re.S | re.M)
    if section is None:
        return []
    result, current = [], []
    for line in section.group(1).split("\n"):
        if line == ".br":
            result.append(" ".join(current))
            current = []
        elif line.startswith("."):
            request, _, rest = line.partition(" ")
            arguments = [quoted or bare for quoted, bare in re.findall(r'"([^"]*)"|(\S+)', rest)]
            # .B and .I set their words in one font; .BR, .RB, .IR, ... alternate two
            # fonts and join their arguments without a space.
            current.append((" " if len(request) == 2 else "").join(arguments))
        elif line:
            current.append(line)
    result.append(" ".join(current))
    return [words(unroff(form)) for form in result if form.strip()]


def main():
    companion, source = sys.argv[1], sys.argv[2]
    expected = help_forms(companion)
    if not any("--plan" in form for form in expected):
        sys.exit("--help's usage has no --plan form")
    documents = {
        "docs/companion.md": markdown_forms,
        "docs/quillmere-cli.1": man_forms,
    }
    faults = 0
    for name, read in documents.items():
        with open(os.path.join(source, name), encoding="utf-8") as document:
            shown = read(document.read())
        if shown == expected:
            continue
        faults += 1
        print(f"{name}: its synopsis is not --help's")
        for i in range(max(len(shown), len(expected))):
            have = shown[i] if i < len(shown) else "(none)"
            want = expected[i] if i < len(expected) else "(none)"
            if have != want:
                print(f"  form {i + 1}:\n    --help: {want}\n    {name}: {have}")
    if faults:
        sys.exit(1)
    print(f"the synopsis: {len(expected)} forms, the same in --help and {len(documents)} documents")


if __name__ == "__main__":
    main()

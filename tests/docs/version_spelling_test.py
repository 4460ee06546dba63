#!/usr/bin/env python3
"""The version is written by hand in one place, project(VERSION) of the top-level
CMakeLists.txt: no other tracked file may spell it (nor its four-number Windows form,
which starts with it).

Allowed beside it:
  - NEWS.md, whose "## VERSION" entries are the history;
  - README.md, inside the names of the release's packages (quillmere-X.Y.Z-win64.zip,
    quillmere-cli_X.Y.Z_amd64.deb, ...), which tests/release/release_test.sh requires to
    be this version's.
Every other place takes it from the build: QUILLMERE_VERSION in C++, windres's
QUILLMERE_VERSION_MAJOR/_MINOR/_PATCH, @PROJECT_VERSION@ in the man page and the
manifest. Examples in comments and guides write X.Y.Z.

Usage: version_spelling_test.py VERSION SOURCE_DIR
"""

import re
import subprocess
import sys


def main():
    version, source = sys.argv[1], sys.argv[2]
    spelled = re.compile(r"(?<![0-9.])" + re.escape(version) + r"(?![0-9])")
    package = re.compile(r"quillmere(-cli)?[-_]" + re.escape(version) + r"[-_]")
    files = subprocess.run(["git", "-C", source, "ls-files", "-z"], capture_output=True,
                           check=True).stdout.decode("utf-8").split("\0")
    faults = []
    for name in filter(None, files):
        if name in ("CMakeLists.txt", "NEWS.md"):
            continue
        try:
            with open(f"{source}/{name}", "rb") as file:
                data = file.read()
        except FileNotFoundError:
            continue  # deleted in the working tree, not yet in the index
        if b"\0" in data:
            continue  # pictures, the icon
        text = data.decode("utf-8", errors="replace")
        for number, line in enumerate(text.split("\n"), 1):
            if name == "README.md":
                line = package.sub("", line)
            if spelled.search(line):
                faults.append(f"{name}:{number}: {line.strip()}")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} lines spell the version {version} by hand; take it from "
              "project(VERSION) of CMakeLists.txt")
        return 1
    print(f"version {version}: written only in CMakeLists.txt, NEWS.md and README's package names")
    return 0


if __name__ == "__main__":
    sys.exit(main())

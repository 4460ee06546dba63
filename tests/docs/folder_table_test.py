#!/usr/bin/env python3
"""README's table under "## The tree" names every top-level folder of the tree, and
only those: a folder added or removed without the table fails here.

Usage: folder_table_test.py SOURCE_DIR
"""

import re
import subprocess
import sys


def main():
    source = sys.argv[1]
    files = subprocess.run(["git", "-C", source, "ls-files"], capture_output=True,
                           check=True, text=True).stdout.split("\n")
    folders = {name.split("/")[0] for name in files if "/" in name}
    with open(f"{source}/README.md", encoding="utf-8") as readme:
        text = readme.read()
    section = text.split("\n## The tree\n", 1)[1].split("\n## ", 1)[0]
    named = set()
    for line in section.split("\n"):
        if line.startswith("| `"):
            # The first cell: `calc/`, or `tests/native`, `tests/win`.
            for path in re.findall(r"`([^`]+)`", line.split("|")[1]):
                named.add(path.split("/")[0])
    missing, extra = sorted(folders - named), sorted(named - folders)
    for folder in missing:
        print(f"README.md: the folder table does not name {folder}/")
    for folder in extra:
        print(f"README.md: the folder table names {folder}/, which the tree does not have")
    if missing or extra:
        return 1
    print(f"README.md's folder table names the {len(folders)} top-level folders")
    return 0


if __name__ == "__main__":
    sys.exit(main())

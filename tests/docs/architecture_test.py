#!/usr/bin/env python3
"""docs/architecture.md's picture of the answer's stages is the code's: the picture
names every folder of answers/ and only those, in order, and every #include in
answers/ reads its own stage or one above it in the picture, never answers/answer.h
(which runs the stages) nor a face (cli/, ui/, app/, web/); calc/ includes nothing of
answers/; and no two files of answers/ (a .h with its .cpp) include each other in a
circle.

Usage: architecture_test.py SOURCE_DIR
"""

import os
import re
import subprocess
import sys

INCLUDE = re.compile(r'^#include "([^"]+)"', re.M)


def stages_of_picture(source):
    with open(os.path.join(source, "docs", "architecture.md"), encoding="utf-8") as doc:
        text = doc.read()
    section = text.split("\n## The stages of an answer\n", 1)[1].split("\n## ", 1)[0]
    picture = section.split("```\n", 2)[1]
    return re.findall(r"^  answers/([a-z]+)/", picture, re.M)


def main():
    source = sys.argv[1]
    files = subprocess.run(["git", "-C", source, "ls-files", "answers", "calc"], capture_output=True,
                           check=True, text=True).stdout.split()
    files = [f for f in files if f.endswith((".h", ".cpp"))]
    stages = stages_of_picture(source)
    faults = []
    folders = sorted({f.split("/")[1] for f in files if f.startswith("answers/") and f.count("/") == 2})
    if sorted(stages) != folders:
        faults.append(f"docs/architecture.md's picture names {stages}, answers/ has {folders}")
    rank = {stage: place for place, stage in enumerate(stages)}
    component = lambda path: path.rsplit(".", 1)[0]
    edges = {}
    for path in files:
        with open(os.path.join(source, path), encoding="utf-8") as code:
            included = INCLUDE.findall(code.read())
        parts = path.split("/")
        for target in included:
            if target.startswith(("cli/", "ui/", "app/", "web/")) or target == "answers/answer.h":
                if parts[0] == "answers" and component(target) != component(path):
                    faults.append(f"{path} includes {target}")
                continue
            if not target.startswith("answers/"):
                continue
            if parts[0] == "calc":
                faults.append(f"{path} includes {target}: calc/ is beneath the answers")
                continue
            if len(parts) == 3 and target.count("/") == 2:
                own, other = parts[1], target.split("/")[1]
                if own in rank and other in rank and rank[other] > rank[own]:
                    faults.append(f"{path} includes {target}: {other}/ comes after {own}/")
            if component(target) != component(path):
                edges.setdefault(component(path), set()).add(component(target))
    # A circle among the components (a header with its source).
    state = {}

    def visit(node, trail):
        state[node] = 1
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == 1:
                faults.append("an include circle: " + " -> ".join(trail[trail.index(nxt):] + [nxt]))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[node] = 2

    for node in sorted(edges):
        if node not in state:
            visit(node, [node])
    for fault in faults:
        print(fault)
    if faults:
        return 1
    count = sum(1 for f in files if f.startswith("answers/"))
    print(f"answers/: {len(stages)} stages in the picture's order, {count} files, no include circle")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs the companion of every build on each argument set of argument_sets.jsonl and
requires the same standard output and standard error, byte for byte, and the same exit
code as the first build's. Also checks that each build's --version names its arithmetic.

    tests/cross/compare_companions.py            the four builds of scripts/test.sh:
        x86 (x87)        build/native/cli/quillmere-cli
        x86 (portable)   build/portable/cli/quillmere-cli
        arm64 (qemu)     build/linux-arm64/cli/quillmere-cli under qemu-aarch64
        wasm (node)      build/wasm/cli/quillmere-cli.js under node

Prints one line per argument set that differs (at most 20, with the first differing
bytes), then a summary; exit code 0 when every set matched, 1 otherwise.
"""
import concurrent.futures
import json
import os
import pathlib
import re
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parents[2]
version = re.search(r"project\(Quillmere VERSION ([0-9.]+) ", (root / "CMakeLists.txt").read_text()).group(1)

# name, command words before the arguments, the arithmetic its --version names
BUILDS = [
    ("x86 (x87)", [str(root / "build/native/cli/quillmere-cli")], "x87"),
    ("x86 (portable)", [str(root / "build/portable/cli/quillmere-cli")], "portable"),
    ("arm64 (qemu)", ["qemu-aarch64", "-L", "/usr/aarch64-linux-gnu",
                      str(root / "build/linux-arm64/cli/quillmere-cli")], "portable"),
    ("wasm (node)", ["node", str(root / "build/wasm/cli/quillmere-cli.js")], "portable"),
]


def as_bytes(argument):
    return argument.encode("latin-1")  # one character, one byte


def run(command, arguments):
    # SIGPIPE at its default and no terminal: as a script runs the companion.
    done = subprocess.run(command + [as_bytes(a) for a in arguments], stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=600)
    return done.returncode, done.stdout, done.stderr


def first_difference(a, b):
    at = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
    return "byte %d: %r vs %r" % (at, a[max(0, at - 20):at + 20], b[max(0, at - 20):at + 20])


def compare(arguments):
    """The differences of one argument set, as lines of text."""
    results = [run(command, arguments) for _, command, _ in BUILDS]
    reference = results[0]
    differences = []
    for (name, _, _), result in zip(BUILDS[1:], results[1:]):
        if result[0] != reference[0]:
            differences.append("%s: exit code %d, %s: %d" % (BUILDS[0][0], reference[0], name, result[0]))
        for stream, index in (("stdout", 1), ("stderr", 2)):
            if result[index] != reference[index]:
                differences.append("%s %s: %s" % (name, stream, first_difference(reference[index], result[index])))
    return differences


def main():
    missing = [name for name, command, _ in BUILDS if not pathlib.Path(command[-1]).is_file()]
    if missing:
        print("compare_companions: not built: " + ", ".join(missing), file=sys.stderr)
        return 1
    lines = (pathlib.Path(__file__).parent / "argument_sets.jsonl").read_text(encoding="utf-8").splitlines()
    sets = [json.loads(line) for line in lines if line.strip()]
    failures = 0

    for name, command, arithmetic in BUILDS:
        code, out, err = run(command, ["--version"])
        # The first line names the version and the commit built, the second the arithmetic.
        expected = re.compile(rb"quillmere-cli %s \(commit [^)\n]+\)\narithmetic: %s\n" % (
            re.escape(version.encode()), arithmetic.encode()))
        if code != 0 or err != b"" or not expected.fullmatch(out):
            failures += 1
            print("FAIL %s --version: exit code %d, %r, %r" % (name, code, out, err))

    shown = 0
    differing = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for arguments, differences in zip(sets, pool.map(compare, sets)):
            if not differences:
                continue
            differing += 1
            if shown < 20:
                shown += 1
                print("FAIL %s" % json.dumps(arguments))
                for line in differences:
                    print("  " + line)
    failures += differing
    print("compare_companions: %d argument sets on %d builds: %s" % (
        len(sets), len(BUILDS), "all identical" if differing == 0 else "%d differ" % differing))
    return 0 if failures == 0 else 1


if __name__ == "__main__":
    sys.exit(main())

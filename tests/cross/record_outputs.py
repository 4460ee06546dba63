#!/usr/bin/env python3
"""Records what one companion prints (standard output, standard error, exit code) for
every argument set of argument_sets.jsonl and a few hundred more random requests over
every controller, form, decode and plan, so that a change meant to keep every byte can
be checked against the program as it was before it:

    tests/cross/record_outputs.py record FILE [COMPANION]   before the change
    tests/cross/record_outputs.py compare FILE [COMPANION]  after: exit 1 on a difference

COMPANION defaults to build/native/cli/quillmere-cli. The random part draws from a fixed
start, so the same program gives the same record. --help is left out of the comparison
(it may say more); --version is left out (it names the commit).
"""
import concurrent.futures
import gzip
import json
import pathlib
import random
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parents[2]


def controllers(companion):
    done = subprocess.run([companion, "--controller", "list", "--format", "json"], capture_output=True, check=True)
    return [entry["name"] for entry in json.loads(done.stdout)]


def random_sets(names):
    """Requests nobody picked, over every controller, form, decode and plan."""
    draw = random.Random(28028)
    forms = ["table", "tsv", "csv", "json", "hal", "spl", "registers", "linux", "zephyr", "python-can", "esp-idf"]
    clocks = ["8", "16", "20", "24", "36", "40", "42", "48", "60", "64", "72", "80", "120", "160", "170", "33.333"]
    rates = ["1000", "800", "500", "250", "125", "100", "50", "20", "10", "83.333", "33.3"]
    data_rates = ["1000", "2000", "4000", "5000", "8000", "2500"]
    sets = []
    for _ in range(300):
        name = draw.choice(names)
        words = ["--controller", name, "--format", draw.choice(forms), "--clock", draw.choice(clocks),
                 "--rate", draw.choice(rates), "--sample-point", draw.choice(["0", "50", "70", "75", "80", "87.5"]),
                 "--tolerance", draw.choice(["0", "0", "1", "2", "5"])]
        if draw.random() < 0.5:
            words += ["--data-rate", draw.choice(data_rates)]
        if draw.random() < 0.4:
            words.append("--best")
        if draw.random() < 0.3:
            words.append("--wide")
        if draw.random() < 0.15:
            words += ["--sjw", str(draw.randint(1, 5))]
        if draw.random() < 0.15:
            words += ["--min-tolerance", draw.choice(["0.1", "0.5", "1"])]
        if draw.random() < 0.15:
            words += ["--node-delay", str(draw.randint(0, 600)), "--bus-length", str(draw.randint(0, 200))]
        sets.append(words)
    for _ in range(150):
        name = draw.choice(names)
        value = "0x%08x" % draw.getrandbits(32) if draw.random() < 0.7 else str(draw.getrandbits(16))
        words = ["--controller", name, "--decode", value, "--clock", draw.choice(clocks),
                 "--format", draw.choice(forms)]
        if draw.random() < 0.5:
            words += ["--rate", draw.choice(rates)]
        if draw.random() < 0.4:
            words += ["--decode-data", "0x%08x" % draw.getrandbits(32), "--data-rate", draw.choice(data_rates)]
        sets.append(words)
    for _ in range(120):
        nodes = []
        for index in range(draw.randint(2, 4)):
            nodes += ["--node", "n%d=%s@%s" % (index, draw.choice(names), draw.choice(clocks))]
        words = ["--plan"] + nodes + ["--rate", draw.choice(rates), "--tolerance", draw.choice(["0", "1", "2", "5"]),
                                      "--format", draw.choice(["table", "json", "registers", "linux", "hal"])]
        if draw.random() < 0.4:
            words += ["--data-rate", draw.choice(data_rates[:3])]
        if draw.random() < 0.3:
            words += ["--sample-point-spread", str(draw.randint(0, 5))]
        sets.append(words)
    return sets


def all_sets(companion):
    lines = (pathlib.Path(__file__).parent / "argument_sets.jsonl").read_text(encoding="utf-8").splitlines()
    sets = [json.loads(line) for line in lines if line.strip()]
    sets += random_sets(controllers(companion))
    return [s for s in sets if "--help" not in s and "-h" not in s and "--version" not in s]


def run(companion, arguments):
    done = subprocess.run([companion] + [a.encode("latin-1") for a in arguments], stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=600)
    return {"args": arguments, "code": done.returncode, "out": done.stdout.decode("latin-1"),
            "err": done.stderr.decode("latin-1")}


def record_of(companion):
    sets = all_sets(companion)
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        return list(pool.map(lambda s: run(companion, s), sets))


def main():
    if len(sys.argv) not in (3, 4) or sys.argv[1] not in ("record", "compare"):
        print(__doc__, file=sys.stderr)
        return 2
    path = pathlib.Path(sys.argv[2])
    companion = sys.argv[3] if len(sys.argv) == 4 else str(root / "build/native/cli/quillmere-cli")
    if sys.argv[1] == "record":
        results = record_of(companion)
        with gzip.open(path, "wt", encoding="utf-8") as f:
            json.dump(results, f)
        print("record_outputs: %d argument sets recorded in %s" % (len(results), path))
        return 0
    with gzip.open(path, "rt", encoding="utf-8") as f:
        before = json.load(f)
    now = [run(companion, r["args"]) for r in before] if len(before) < 50 else None
    if now is None:
        with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
            now = list(pool.map(lambda r: run(companion, r["args"]), before))
    differences = [(b, n) for b, n in zip(before, now) if b != n]
    for b, n in differences[:20]:
        which = [k for k in ("code", "out", "err") if b[k] != n[k]]
        print("differs (%s): %s" % (", ".join(which), " ".join(b["args"])))
        for k in which[1:] if which[0] == "code" else which:
            at = next((i for i in range(min(len(b[k]), len(n[k]))) if b[k][i] != n[k][i]), min(len(b[k]), len(n[k])))
            print("  %s at %d: %r / %r" % (k, at, b[k][max(0, at - 30):at + 30], n[k][max(0, at - 30):at + 30]))
    print("record_outputs: %d argument sets, %d differ" % (len(before), len(differences)))
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())

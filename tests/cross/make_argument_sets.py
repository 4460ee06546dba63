#!/usr/bin/env python3
"""Writes argument_sets.jsonl: the companion's argument sets that every build must answer
with the same bytes and exit code (tests/cross/compare_companions.py runs them).

One JSON array of strings per line; each character stands for one byte (U+0000 to
U+00FF), so GBK bytes can be given too. The random part draws from a fixed start, so
running this again gives the same file:

    tests/cross/make_argument_sets.py > tests/cross/argument_sets.jsonl
"""
import json
import random
import sys

FORMATS = ["table", "tsv", "csv", "json", "hal", "spl"]
FDCAN_FORMATS = ["table", "tsv", "csv", "json"]
sets = []


def add(*arguments):
    sets.append(list(arguments))


# 1. bxCAN, every format, over clocks, rates, sample points and tolerances that the
#    window's users type, and the edges of each.
add()
for fmt in FORMATS:
    add("--format", fmt)
    add("--format=" + fmt, "--best")
    add("--format", fmt, "--clock", "36", "--rate", "125", "--tolerance", "1")
    add("--format", fmt, "--clock", "8", "--rate", "1000", "--sample-point", "75")
    add("--format", fmt, "--clock", "0.001", "--rate", "0.001", "--tolerance", "10")
    add("--format", fmt, "--decode", "0x001c0003")
    add("--format", fmt, "--sjw", "4", "--clock", "72", "--rate", "250")
clocks = ["42", "36", "8", "16", "24", "45", "48", "50", "64", "72", "80", "84", "100",
          "168", "170", "1", "0.5", "54.321", "2147483.647", "12.288", "33.333"]
rates = ["500", "1000", "800", "250", "125", "100", "83.333", "50", "20", "10", "5",
         "33.3", "1e3", "0.1", "615.384", "2.5e2"]
for clock in clocks:
    for rate in rates[:8]:
        add("--format", "tsv", "--clock", clock, "--rate", rate)
for sample in ["0", "40", "50", "66.6", "75", "80", "87.5", "90", "99.9", "100", "1e-43", "4e1"]:
    add("--format", "csv", "--sample-point", sample, "--tolerance", "2")
    add("--sample-point", sample, "--best", "--clock", "80", "--rate", "500")
for tolerance in ["0", "1", "3", "5", "10", "+2", "007"]:
    add("--format", "json", "--tolerance", tolerance, "--clock", "24", "--rate", "83.333")
for sjw in ["1", "2", "3", "4"]:
    add("--sjw", sjw, "--format", "tsv", "--tolerance", "1")
    add("--sjw=" + sjw, "--format", "hal", "--best", "--clock", "48")

# 2. Random requests (fixed start): the search's arithmetic on values nobody picked.
draw = random.Random(20150)
for _ in range(140):
    clock = draw.choice([str(draw.randint(1, 400)), "%.3f" % draw.uniform(0.001, 500)])
    rate = draw.choice([str(draw.randint(1, 1000)), "%.3f" % draw.uniform(1, 1000),
                        "%.6g" % draw.uniform(0.01, 2000)])
    sample = draw.choice(["0", "40", "50", "60", "70", "75", "80", "87.5", "%.2f" % draw.uniform(0, 100)])
    tolerance = str(draw.choice([0, 0, 1, 2, 5, 10]))
    arguments = ["--format", draw.choice(["tsv", "csv", "table", "json"]), "--clock", clock,
                 "--rate", rate, "--sample-point", sample, "--tolerance", tolerance]
    if draw.random() < 0.25:
        arguments.append("--best")
    sets.append(arguments)

# 3. --decode: register values at clocks and rates, the reserved bits, the extremes.
for value in ["0x001c0003", "0x001c0002", "0", "0xffffffff", "0x03ff0000", "0x037f03ff",
              "1835011", "0x00230005", "0x40000000", "0x7fffffff", "0x0000ffff"]:
    for fmt in ["table", "tsv", "json", "csv"]:
        add("--decode", value, "--clock", "42", "--rate", "500", "--format", fmt)
    add("--decode", value, "--clock", "8", "--format", "tsv")

# 4. FDCAN: nominal and data phases, --best, --decode and --decode-data.
for fmt in FDCAN_FORMATS:
    add("--controller", "fdcan", "--format", fmt)
    add("--controller", "fdcan", "--format", fmt, "--data-rate", "2000")
    add("--controller", "fdcan", "--format", fmt, "--data-rate", "5000", "--clock", "80", "--best")
    add("--controller", "fdcan", "--format", fmt, "--decode", "0x06000a03")
    add("--controller", "fdcan", "--format", fmt, "--decode-data", "0x00000a33", "--data-rate", "2000")
for clock in ["40", "80", "160", "20", "120", "60", "170"]:
    for rate in ["500", "1000", "250"]:
        add("--controller", "fdcan", "--format", "tsv", "--clock", clock, "--rate", rate,
            "--data-rate", "4000", "--data-sample-point", "70")
        add("--controller", "fdcan", "--clock", clock, "--rate", rate, "--data-rate", "2000", "--best")
for arguments in [["--sjw", "1"], ["--sjw", "128"], ["--data-sjw", "16"], ["--data-sjw", "1"],
                  ["--data-tolerance", "2"], ["--data-sample-point", "87.5"], ["--tolerance", "1"],
                  ["--sample-point", "80", "--data-sample-point", "0"]]:
    add("--controller", "fdcan", "--format", "csv", "--clock", "80", "--data-rate", "2000", *arguments)
for value in ["0", "0xffffffff", "0x06000a03", "0x02000f10", "0xfe00ff7f", "33554432"]:
    add("--controller", "fdcan", "--decode", value, "--clock", "80", "--rate", "1000", "--format", "tsv")
for value in ["0", "0xffffffff", "0x00000a33", "0x00801f0f", "0x00000000"]:
    add("--controller", "fdcan", "--decode-data", value, "--clock", "80", "--format", "json")

# 5. Odd values that are accepted: signs, zeros, exponents, --option=value, repeats.
for arguments in [
    ["--clock", "+42"], ["--clock", "042.000"], ["--clock", "42."], ["--clock", ".5"],
    ["--rate", "+500"], ["--rate", "5e2"], ["--rate", "5E+2"], ["--rate", "0.0000001"],
    ["--rate", "1.4e-45"], ["--rate", "3.4028234e38"], ["--rate", "500.00000000000000000001"],
    ["--sample-point", "-0"], ["--sample-point", "0e5"], ["--sample-point", "100.0"],
    ["--tolerance", "100", "--clock", "1", "--rate", "300"], ["--tolerance", "0100", "--clock", "2"],
    ["--rate", "500", "--rate", "250"], ["--clock=36", "--rate=125"], ["--format", "json", "--best"],
    ["--clock", "2147483.647", "--rate", "1e9", "--tolerance", "100"],
    ["--clock", "1", "--rate", "1000000", "--tolerance", "100", "--sample-point", "0"],
    ["--best", "--tolerance", "100", "--sample-point", "0", "--clock", "3", "--rate", "7"],
    ["-h"], ["--help"], ["--decode", "1835011", "--rate", "125"],
]:
    add("--format", "tsv", *arguments)

# 5b. The bus answers: oscillator tolerance (a json number), longest bus, TDC.
for arguments in [
    ["--format", "json"], ["--format", "tsv", "--wide"], ["--format", "csv", "--wide", "--clock", "36", "--rate", "125"],
    ["--format", "json", "--node-delay", "150", "--bus-length", "40"], ["--format", "json", "--sjw", "4", "--tolerance", "1"],
    ["--format", "json", "--min-tolerance", "0.5", "--tolerance", "2"], ["--format", "table", "--bus-length", "0"],
    ["--format", "json", "--controller", "fdcan", "--data-rate", "2000"],
    ["--format", "tsv", "--wide", "--controller", "fdcan", "--data-rate", "5000", "--clock", "80"],
    ["--format", "json", "--best", "--node-delay", "10000", "--bus-length", "100000"],
]:
    add(*arguments)

# 5c. Every controller of the table: listings at a few requests in tsv and json, --best,
#     --min-tolerance, the data phase of the FD ones; the table itself; custom:. Requests
#     stay small (a few hundred rows at most) so the emulated builds run them quickly.
CLASSIC = ["mcan-3.0", "c_can", "sja1000", "flexcan", "lpc", "mcp2515", "at91", "esp32-twai",
           "esp32s3-twai", "esp32s2-twai", "ti-hecc", "rcar-can", "xilinx-can", "multican", "gs-usb"]
FD = ["mcan", "mcan-3.0", "flexcan-fd", "mcp2518fd", "rcar-canfd", "rcar-canfd-gen4", "xilinx-canfd",
      "peak-canfd"]
for name in CLASSIC + [n for n in FD if n not in CLASSIC]:
    for clock, rate in [("16", "500"), ("40", "250"), ("80", "1000")]:
        add("--controller", name, "--format", "tsv", "--clock", clock, "--rate", rate)
    add("--controller", name, "--format", "json", "--clock", "8", "--rate", "125", "--sample-point", "75")
    add("--controller", name, "--format", "table", "--clock", "24", "--rate", "83.333", "--tolerance", "1")
    add("--controller", name, "--best", "--clock", "16", "--rate", "500")
    add("--controller", name, "--best", "--format", "json", "--clock", "20", "--rate", "125")
    add("--controller", name, "--format", "tsv", "--wide", "--clock", "16", "--rate", "250",
        "--min-tolerance", "0.5")
    add("--controller", name, "--best", "--format", "tsv", "--clock", "48", "--rate", "1000",
        "--min-tolerance", "0.3")
for name in FD:
    add("--controller", name, "--format", "tsv", "--clock", "40", "--rate", "1000", "--data-rate", "5000",
        "--sample-point", "80", "--data-sample-point", "70")
    add("--controller", name, "--format", "json", "--clock", "80", "--rate", "500", "--data-rate", "2000",
        "--sample-point", "85", "--data-sample-point", "75")
    add("--controller", name, "--best", "--clock", "40", "--rate", "500", "--data-rate", "2000")
    add("--controller", name, "--best", "--format", "json", "--clock", "80", "--rate", "1000",
        "--data-rate", "8000")
add("--controller", "list")
add("--controller", "list", "--format", "json")
add("--controller", "list", "--format", "tsv")
for custom in ["custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=1-64",
               "custom:seg1=3-16,seg2=2-8,sjw=4,prescaler=2-128/2",
               "custom:prescaler=5,sjw=1,seg2=2,seg1=13"]:
    add("--controller", custom, "--format", "tsv", "--clock", "16", "--rate", "500")
    add("--controller", custom, "--best", "--format", "json", "--clock", "16", "--rate", "250")

# 5d. Bus plans: two and three classic nodes, an FD bus of FD nodes, json, a code form,
#     no plan (exit 3), a refusal (exit 2) and a classic node on an FD bus.
def add_plans():
    plan = ["--plan", "--node", "stm32=bxcan@42", "--node", "pi=mcp2515@16"]
    three = plan + ["--node", "pc=peak-canfd@80"]
    fd = ["--plan", "--node", "a=fdcan@80", "--node", "b=mcp2518fd@40", "--node", "c=peak-canfd@80"]
    add(*plan)
    add(*plan, "--rate", "250", "--tolerance", "1", "--sample-point-spread", "5")
    add(*three, "--tolerance", "1")
    add(*three, "--tolerance", "1", "--format", "json")
    add(*three, "--tolerance", "1", "--format", "hal")
    add(*fd, "--rate", "500", "--data-rate", "2000", "--tolerance", "1")
    add(*fd, "--rate", "500", "--data-rate", "2000", "--tolerance", "1", "--format", "json")
    add(*plan, "--rate", "1000", "--sample-point-spread", "0.1")
    add(*plan, "--format", "tsv")
    add("--plan", "--node", "a=fdcan@80", "--node", "b=mcp2515@16", "--data-rate", "2000")


add_plans()


# 5e. Decodes by register name and the code forms. Each controller's registers are those
#     of its --best row at the request given (read from the companion's json), so each
#     decode gives a listed row back; then the refusals of a register list, and every
#     code form on a few controllers, classic and FD, with and without a data phase.
def add_decodes_and_code_forms():
    classic = [  # name, clock, its registers at 500 Kbps
        ("mcan-3.0", "40", "BTP=0x00012144"),
        ("c_can", "16", "BTR=0x1C41,BRPR=0x0"),
        ("sja1000", "16", "BTR0=0x40,BTR1=0x1C"),
        ("flexcan", "16", "CTRL1=0x01710005"),
        ("lpc", "16", "CANxBTR=0x001C4001"),
        ("mcp2515", "16", "CNF1=0x00,CNF2=0xB5,CNF3=0x01"),
        ("at91", "16", "CAN_BR=0x00011561"),
        ("esp32-twai", "16", "TWAI_BUS_TIMING_0_REG=0x40,TWAI_BUS_TIMING_1_REG=0x1C"),
        ("esp32s3-twai", "16", "TWAI_BUS_TIMING_0_REG=0x4000,TWAI_BUS_TIMING_1_REG=0x1C"),
        ("esp32s2-twai", "16", "TWAI_BUS_TIMING_0_REG=0x4000,TWAI_BUS_TIMING_1_REG=0x1C"),
        ("ti-hecc", "16", "CANBTC=0x00010161"),
        ("rcar-can", "16", "BCR=0xC00111"),
        ("xilinx-can", "16", "BRPR=0x1,BTR=0x9C"),
        ("multican", "16", "NBTR=0x1C41"),
    ]
    fd = [  # name, clock, nominal registers at 500 Kbps, data registers at 2000 Kbps
        ("mcan", "40", "NBTP=0x12004409", "DBTP=0x00000D44"),
        ("mcan-3.0", "40", "BTP=0x00012144", "FBTP=0x00010611"),
        ("flexcan-fd", "40", "CBT=0x800993E9", "FDCBT=0x00031CC4"),
        ("mcp2518fd", "40", "CiNBTCFG=0x00440909", "CiDBTCFG=0x000D0404"),
        ("rcar-canfd", "40", "RSCFDnCFDCmNCFG=0x09444800", "RSCFDnCFDCmDCFG=0x044D0000"),
        ("rcar-canfd-gen4", "40", "RSCFDnCFDCmNCFG=0x12882400", "RSCFDnCFDCmDCFG=0x04040D00"),
        ("xilinx-canfd", "40", "BRPR=0x00000000,BTR=0x00090944", "F_BRPR=0x00000000,F_BTR=0x0004040D"),
    ]
    for name, clock, registers in classic:
        add("--controller", name, "--clock", clock, "--rate", "500", "--decode", registers)
        add("--controller", name, "--clock", clock, "--decode", registers, "--format", "json")
        add("--controller", name, "--clock", "8", "--rate", "250", "--decode", registers, "--format", "tsv")
    for name, clock, nominal, data in fd:
        add("--controller", name, "--clock", clock, "--rate", "500", "--data-rate", "2000",
            "--decode", nominal, "--decode-data", data)
        add("--controller", name, "--clock", clock, "--decode", nominal, "--decode-data", data, "--format", "json")
        add("--controller", name, "--clock", clock, "--rate", "500", "--decode", nominal, "--format", "tsv")
    # A controller with one register also takes its bare value; the names in any order.
    add("--controller", "at91", "--clock", "16", "--rate", "500", "--decode", "0x00011561")
    add("--controller", "mcan", "--clock", "40", "--decode", "0x12004409", "--decode-data", "0x00000D44")
    add("--controller", "mcp2515", "--clock", "16", "--decode", "CNF3=1,CNF1=0,CNF2=181", "--format", "csv")
    # Decodes that break a rule: the row with its warnings.
    add("--controller", "mcp2515", "--clock", "16", "--rate", "500", "--decode", "CNF1=0xC0,CNF2=0xB5,CNF3=0x01")
    add("--controller", "mcp2515", "--clock", "16", "--decode", "CNF1=0x00,CNF2=0x81,CNF3=0x05", "--format", "tsv")
    # Refused: an unknown or repeated register, one left out, reserved bits, a value too
    # wide, a field outside the controller's limits, a fixed bit, a malformed pair.
    for arguments in [
        ["--controller", "mcp2515", "--decode", "CNF1=0x00,CNF2=0xB5,CNF4=0x01"],
        ["--controller", "mcp2515", "--decode", "CNF1=0x00,CNF2=0xB5,CNF1=0x01"],
        ["--controller", "mcp2515", "--decode", "CNF1=0x00,CNF2=0xB5"],
        ["--controller", "mcp2515", "--decode", "0xB5"],
        ["--controller", "mcp2515", "--decode", "CNF1=0x00,CNF2=0xB5,CNF3=0x09"],
        ["--controller", "mcp2515", "--decode", "CNF1=0x100,CNF2=0xB5,CNF3=0x01"],
        ["--controller", "mcp2515", "--decode", "CNF1=0x00,CNF2=0x35,CNF3=0x01"],
        ["--controller", "mcp2515", "--decode", "CNF1=0x00,CNF2=0xB5,CNF3="],
        ["--controller", "mcp2515", "--decode", "CNF1,CNF2=0xB5,CNF3=0x01"],
        ["--controller", "at91", "--decode", "CAN_BR=0x00000000"],
        ["--controller", "at91", "--decode", "CAN_BR=0x80011561"],
        ["--controller", "c_can", "--decode", "BTR=0x1C41,BRPR=0x10"],
        ["--controller", "flexcan", "--decode", "CTRL1=0x01710000"],
        ["--controller", "mcp2518fd", "--decode", "CiNBTCFG=0x00440909", "--decode-data", "CiNBTCFG=0x000D0404"],
        ["--controller", "mcp2518fd", "--decode-data", "CiDBTCFG=0x00ED0404"],
        ["--controller", "sja1000", "--decode-data", "BTR0=0x40,BTR1=0x1C"],
        ["--controller", "gs-usb", "--decode", "0x1C"],
        ["--controller", "custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=1-64", "--decode", "0x1C"],
    ]:
        add("--clock", "16", *arguments)
    # Every code form on a few controllers: classic, FD with and without a data phase,
    # the USB adapters, custom:, a decode. A form a controller lacks is refused with the
    # ones it has (esp-idf everywhere but on the ESP32; hal and spl on ST's two only).
    forms = ["registers", "linux", "zephyr", "python-can", "esp-idf"]
    for name, clock, data in [("mcp2515", "16", None), ("sja1000", "24", None), ("esp32-twai", "80", None),
                              ("flexcan", "40", None), ("c_can", "24", None), ("mcan", "40", None),
                              ("mcan", "40", "2000"), ("mcp2518fd", "40", "2000"), ("mcp2518fd", "20", None),
                              ("flexcan-fd", "80", "5000"), ("peak-canfd", "80", "4000"), ("gs-usb", "48", None),
                              ("bxcan", "42", None), ("fdcan", "80", "2000"),
                              ("custom:seg1=3-16,seg2=2-8,sjw=4,prescaler=2-128/2", "16", None)]:
        for fmt in forms + (["hal", "spl"] if name in ("bxcan", "fdcan", "mcp2515") else []):
            arguments = ["--controller", name, "--clock", clock, "--rate", "500", "--best", "--format", fmt]
            if data:
                arguments += ["--data-rate", data]
            add(*arguments)
    add("--controller", "mcp2515", "--clock", "8", "--rate", "125", "--min-tolerance", "1", "--format", "linux")
    add("--controller", "mcp2515", "--clock", "16", "--decode", "CNF1=0x00,CNF2=0xB5,CNF3=0x01", "--format", "zephyr")
    add("--controller", "mcp2518fd", "--clock", "40", "--decode", "CiNBTCFG=0x00440909",
        "--decode-data", "CiDBTCFG=0x000D0404", "--format", "python-can")
    add("--controller", "rcar-canfd", "--clock", "40", "--rate", "500", "--data-rate", "2000", "--best",
        "--format", "registers")


add_decodes_and_code_forms()

# 6. Refused values, each with its line and exit code 2, and --best without an answer
#    (exit code 3).
for arguments in [
    ["--clock", "abc"], ["--clock", ""], ["--clock", "0"], ["--clock", "-1"], ["--clock", "0.0001"],
    ["--clock", "2147483.648"], ["--clock", "1e3"], ["--clock", "4294967.368"], ["--clock", " 42"],
    ["--clock", "\u00a3\u00b4\u00a3\u00b2"],  # full-width 42 in GBK: the window folds it, not the companion
    ["--rate", "0"], ["--rate", "-500"], ["--rate", "1e39"], ["--rate", "1e-46"], ["--rate", "inf"],
    ["--rate", "nan"], ["--rate", "0x10"], ["--rate", "500kbps"], ["--rate", ""],
    ["--sample-point", "100.0001"], ["--sample-point", "-0.5"], ["--sample-point", "1e-50"],
    ["--sample-point", "abc"], ["--tolerance", "101"], ["--tolerance", "1.5"], ["--tolerance", "-1"],
    ["--tolerance", "4294967297"], ["--format", "xml"], ["--format"], ["--sjw", "0"], ["--sjw", "5"],
    ["--sjw", "1.0"], ["--decode", "zz"], ["--decode", "0x100000000"], ["--decode", "-1"],
    ["--decode-data", "0"], ["--data-rate", "2000"], ["--controller", "mcan"], ["--controller"],
    ["--controller", "fdcan", "--format", "hal"], ["--controller", "fdcan", "--sjw", "129"],
    ["--controller", "fdcan", "--data-sjw", "17", "--data-rate", "2000"],
    ["--controller", "fdcan", "--data-rate", "0"], ["--controller", "fdcan", "--data-tolerance", "101"],
    ["--unknown"], ["extra"], ["-x"], ["--clock"], ["--best=yes"], ["--", "--clock", "42"],
    ["--best", "--clock", "1", "--rate", "1000"],
    ["--best", "--clock", "42", "--rate", "333", "--sample-point", "99"],
    ["--controller", "fdcan", "--best", "--clock", "1", "--rate", "5000"],
    ["--controller", "fdcan", "--best", "--clock", "80", "--data-rate", "7777", "--data-sample-point", "99"],
    ["--controller", "mcp2551"], ["--controller", "MCP2515"], ["--controller", "custom:"],
    ["--controller", "custom:seg1=16-1,seg2=1-8,sjw=4,prescaler=1-64"],
    ["--controller", "custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=2-128/0"],
    ["--controller", "custom:seg1=1-16,seg2=,sjw=4,prescaler=1-64"],
    ["--controller", "custom:seg1=1-16,seg2=1-8,prescaler=1-64"],
    ["--controller", "custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=1-64,tq=5"],
    ["--controller", "sja1000", "--data-rate", "2000"], ["--controller", "mcp2515", "--sjw", "5"],
    ["--controller", "mcp2515", "--best", "--clock", "16", "--rate", "1000", "--sample-point", "95"],
]:
    add(*arguments)

# 7. The entries and options added since: the SAM V7x MCAN and PEAK's PCIe FD cards as
#    5c gives every controller, a decode of the V7x's registers, the wide list, nodes
#    fixed by their registers, and decoded flags in the code forms.
for name in ["mcan-samv7", "peak-pciefd"]:
    for clock, rate in [("16", "500"), ("40", "250"), ("80", "1000")]:
        add("--controller", name, "--format", "tsv", "--clock", clock, "--rate", rate)
    add("--controller", name, "--best", "--clock", "16", "--rate", "500")
    add("--controller", name, "--best", "--clock", "40", "--rate", "500", "--data-rate", "2000")
    add("--controller", name, "--best", "--format", "json", "--clock", "80", "--rate", "1000", "--data-rate", "8000")
    add("--controller", name, "--best", "--format", "linux", "--clock", "80", "--rate", "500", "--data-rate", "5000")
add("--controller", "peak-pciefd", "--best", "--clock", "50", "--rate", "500")
add("--controller", "mcan-samv7", "--clock", "40", "--rate", "500", "--data-rate", "2000",
    "--decode", "NBTP=0x12004409", "--decode-data", "DBTP=0x00000D44")
add("--controller", "mcan-samv7", "--clock", "40", "--decode-data", "DBTP=0x00000D48")
add("--controller", "list", "--wide")
add("--plan", "--node", "stm32=bxcan@42,registers=0x001A0005", "--node",
    "pi=mcp2515@16,registers=CNF1=0x00/CNF2=0xB5/CNF3=0x01", "--node", "esp=esp32-twai@80", "--tolerance", "1")
add("--plan", "--node", "g4=fdcan@160,registers=0x26018A13,dregisters=0x00011E77", "--node", "mcp=mcp2518fd@40",
    "--rate", "500", "--data-rate", "2000")
add("--plan", "--node", "a=mcp2515@16,registers=CNF1=0x40/CNF2=0xB5/CNF3=1", "--node", "b=bxcan@42")
for fmt in ["registers", "linux", "zephyr", "python-can"]:
    add("--controller", "flexcan", "--clock", "40", "--decode", "CTRL1=0x09712085", "--format", fmt)
    add("--decode", "0xC01A0005", "--format", fmt)
add("--controller", "esp32-twai", "--clock", "80", "--decode",
    "TWAI_BUS_TIMING_0_REG=0x44,TWAI_BUS_TIMING_1_REG=0x9C", "--format", "esp-idf")

# 8. The bxCAN-like peripherals of GigaDevice, Artery, WCH, Geehy and Nations: listings,
#    --best in their library's form and registers, a decode with the test-mode bits, and
#    the AT32F435's dividers above 1024.
for name, register in [("gd32-can", "CAN_BT"), ("at32-can", "CAN_BTMG"), ("at32f435-can", "CAN_BTMG"),
                       ("ch32-can", "CAN_BTIMR"), ("apm32-can", "CAN_BITTIM"), ("n32-can", "CAN_BTIM")]:
    for clock, rate in [("36", "500"), ("72", "125")]:
        add("--controller", name, "--format", "tsv", "--clock", clock, "--rate", rate)
    add("--controller", name, "--best", "--clock", "36", "--rate", "500", "--format", "sdk")
    add("--controller", name, "--best", "--clock", "48", "--rate", "1000", "--format", "registers")
    add("--controller", name, "--clock", "36", "--decode", register + "=0xC0050008", "--format", "sdk")
for arguments in [["--format", "tsv", "--clock", "60", "--rate", "500", "--data-rate", "2000"],
                  ["--best", "--clock", "60", "--rate", "500", "--data-rate", "2000", "--format", "registers"],
                  ["--best", "--format", "json", "--clock", "40", "--rate", "1000", "--data-rate", "4000"],
                  ["--clock", "60", "--rate", "500", "--data-rate", "2000", "--decode", "CAN_BT=0x0E673800",
                   "--decode-data", "CAN_DBT=0x03390001"]]:
    add("--controller", "gd32e50x-canfd", *arguments)
for arguments in [["--format", "tsv", "--clock", "100", "--rate", "500", "--data-rate", "2000"],
                  ["--best", "--clock", "100", "--rate", "500", "--data-rate", "2000", "--format", "registers"],
                  ["--clock", "100", "--rate", "500", "--data-rate", "2000", "--decode", "CAN_BT=0x00844204",
                   "--decode-data", "CAN_FDBT=0x00410C61"]]:
    add("--controller", "gd32h7-canfd", *arguments)
add("--controller", "mcan-3.1", "--best", "--clock", "80", "--rate", "500", "--data-rate", "5000", "--format", "linux")
add("--controller", "mcan-3.1", "--format", "tsv", "--clock", "40", "--rate", "1000", "--data-rate", "5000")
for name in ["usb2can", "f81604", "pcan-usb", "pcan-usb-pro", "ems-usb", "es581.4"]:
    add("--controller", name, "--format", "tsv", "--rate", "500")
    add("--controller", name, "--best", "--rate", "250", "--format", "linux")
    add("--controller", name, "--best", "--clock", "16", "--rate", "125")
add("--controller", "kvaser-pciefd", "--best", "--clock", "80", "--rate", "500", "--data-rate", "2000", "--format", "linux")
add("--controller", "kvaser-pciefd", "--format", "tsv", "--clock", "80", "--rate", "1000", "--data-rate", "8000")
add("--controller", "es58x-fd", "--best", "--rate", "500", "--data-rate", "2000", "--format", "linux")
add("--controller", "es58x-fd", "--best", "--format", "json", "--rate", "1000", "--data-rate", "5000")
add("--controller", "esd-usb2", "--best", "--clock", "60", "--rate", "500", "--format", "linux")
add("--controller", "esd-usb2", "--best", "--clock", "40", "--rate", "500")
add("--controller", "at32f435-can", "--best", "--clock", "144", "--rate", "5", "--format", "json")
add("--controller", "at32-can", "--best", "--clock", "144", "--rate", "5")
add("--controller", "at32-can", "--clock", "36", "--decode", "CAN_BTMG=0x00050808")
# The kernel's drivers with registers, each with a decode of a worked value.
for name, clock, decode in [("sun4i-can", "24", "BTIME=0x001C4002"), ("rk3568-can", "100", "FD_NOMINAL_BITTIMING=0x0304030E"),
                            ("hi3110", "16", "BTR0=0x40,BTR1=0x1C"), ("cc770", "8", "BTR0=0x40,BTR1=0x9C"),
                            ("mscan", "32", "CANBTR0=0x43,CANBTR1=0x1C"), ("grcan", "40", "CONF=0x04C22013")]:
    add("--controller", name, "--format", "tsv", "--clock", clock, "--rate", "500")
    add("--controller", name, "--best", "--clock", clock, "--rate", "250", "--format", "registers")
    add("--controller", name, "--best", "--clock", clock, "--rate", "125", "--format", "linux")
    add("--controller", name, "--clock", clock, "--decode", decode, "--format", "linux")
add("--controller", "grcan", "--clock", "8", "--decode", "CONF=0x00221000")
for arguments in [["--format", "tsv", "--clock", "100", "--rate", "500", "--data-rate", "2000"],
                  ["--best", "--clock", "100", "--rate", "500", "--data-rate", "2000", "--format", "registers"],
                  ["--best", "--clock", "100", "--rate", "1000", "--data-rate", "5000", "--format", "linux"],
                  ["--clock", "100", "--rate", "500", "--data-rate", "2000", "--decode", "BTR=0x7811F52A",
                   "--decode-data", "BTR_FD=0x60098992"]]:
    add("--controller", "ctucanfd", *arguments)
for name in ["ifi-canfd", "kvaser-hydra", "esd-usb3"]:
    add("--controller", name, "--best", "--clock", "80", "--rate", "500", "--data-rate", "4000", "--format", "linux")
    add("--controller", name, "--format", "tsv", "--clock", "80", "--rate", "1000", "--data-rate", "2000")
for name, clock in [("kvaser-usbcan2", "8"), ("kvaser-leaf", "16"), ("kvaser-leaf-imx", "24"), ("esdacc", "40")]:
    add("--controller", name, "--format", "tsv", "--clock", clock, "--rate", "500")
    add("--controller", name, "--best", "--clock", clock, "--rate", "250", "--format", "linux")
add("--controller", "kvaser-leaf-imx", "--best", "--clock", "20", "--rate", "500")
add("--controller", "ra-canfd", "--best", "--clock", "80", "--rate", "500", "--data-rate", "2000", "--format", "zephyr")
add("--controller", "ra-canfd", "--format", "tsv", "--clock", "40", "--rate", "1000", "--data-rate", "5000")

for arguments in sets:
    sys.stdout.write(json.dumps(arguments) + "\n")

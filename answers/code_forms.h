// Which code forms (--format hal, spl, registers, linux, zephyr, python-can, esp-idf)
// each controller has, and the facts about it that those forms need beyond its limits:
// the clock that the Linux kernel, Zephyr and python-can count the prescaler in, the
// spelling of its registers in C, and its Zephyr driver. A small table beside the
// controller table; a controller it does not name (custom:) has linux, zephyr and
// python-can.
#pragma once

#include <cstdint>
#include <string>

#include "answers/request.h"
#include "calc/controllers.h"

// Whether format writes code (hal, spl, registers, linux, zephyr, python-can, esp-idf).
bool IsCodeFormat(OutputFormat format);
// --format's name of a format: "python-can".
const char* FormatName(OutputFormat format);

// Whether entry has the form (every controller has table, tsv, csv and json).
bool HasForm(const ControllerEntry& entry, OutputFormat format);
// The forms entry has, in --format's order, joined by ", ": "table, tsv, csv, json,
// registers, linux, zephyr, python-can".
std::string FormNames(const ControllerEntry& entry);

// How many periods of the typed clock make one period of the clock the kernel, Zephyr
// and python-can count the prescaler in: 2 for the controllers whose prescaler counts
// pairs of oscillator periods (SJA1000, MCP2515, the ESP32s' TWAI), else 1.
int32_t CoreClockDivisor(const ControllerEntry& entry);

// What the registers form writes before a register's name ("CAN1->" for bxCAN), and
// whether the register keeps bits beside the timing that the form must leave alone
// (FlexCAN's CTRL1 holds the clock select and interrupt masks): then it is written
// with a read-modify-write.
struct RegisterSpelling {
  const char* prefix;
  bool keepOtherBits;
  const char* firstName;  // the C name of the first register where it differs from the
                          // manual's (bxCAN's CAN_BTR is CAN1->BTR); null: the manual's
};
RegisterSpelling RegisterSpellingOf(const ControllerEntry& entry);

// Zephyr's driver for entry and the clock its prescaler counts, for the zephyr form's
// comment: "can_mcp2515: core clock = half the oscillator".
const char* ZephyrDriverNote(const ControllerEntry& entry);

// The least prop-seg + phase-seg1 the kernel's driver takes where it is above the
// controller's own (Linux mcp251x.c has tseg1_min 3, the MCP2515 takes 2); else 0.
int32_t LinuxSeg1First(const ControllerEntry& entry);

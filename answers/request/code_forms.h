// Which code forms (--format hal, spl, registers, linux, zephyr, python-can, esp-idf, sdk)
// each controller has, and the facts about it that those forms need beyond its limits,
// read from its entry's code facts (calc/controllers.h, CodeFacts): the clock that the
// Linux kernel, Zephyr and python-can count the prescaler in, the spelling of its
// registers in C, and its Zephyr driver. The formats and their names are one table,
// calc/output_formats.h.
#pragma once

#include <cstdint>
#include <string>

#include "answers/request/request.h"
#include "calc/controllers.h"

// Whether format writes code (hal, spl, registers, linux, zephyr, python-can, esp-idf, sdk).
bool IsCodeFormat(OutputFormat format);
// --format's name of a format: "python-can".
const char* FormatName(OutputFormat format);
// The names of every format, in --format's order, joined as a sentence: "table, tsv,
// ..., esp-idf or sdk".
std::string FormatNamesSentence();

// Whether entry has the form (every controller has table, tsv, csv and json).
bool HasForm(const ControllerEntry& entry, OutputFormat format);
// The forms entry has, in --format's order, joined by ", ": "table, tsv, csv, json,
// registers, linux, zephyr, python-can".
std::string FormNames(const ControllerEntry& entry);

// The entry's CodeFacts, by name: the divisor of its core clock, the spelling of its
// registers, its Zephyr driver note (null without one), the Linux seg1 minimum.
int32_t CoreClockDivisor(const ControllerEntry& entry);
RegisterSpelling RegisterSpellingOf(const ControllerEntry& entry);
const char* ZephyrDriverNote(const ControllerEntry& entry);
int32_t LinuxSeg1First(const ControllerEntry& entry);

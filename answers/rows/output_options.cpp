#include "answers/rows/output_options.h"

#include "calc/candidate_cells.h"
#include "calc/fdcan_timing.h"
#include "calc/registers.h"

bool NamesInQuanta(const OutputOptions& options) {
  return options.controller->traits.segmentNames == SegmentNaming::kQuanta;
}

bool OlderForm(const OutputOptions& options) { return options.controller->traits.olderForm; }

int FaceIndex(const OutputOptions& options) {
  if (!NamesInQuanta(options)) return 0;
  return options.phase == Phase::kData ? 2 : 1;
}

bool InPhases(const OutputOptions& options) { return options.controller->fd; }

const PhaseLimits& LimitsOf(const OutputOptions& options) {
  return PhaseLimitsOf(*options.controller, options.phase == Phase::kData);
}

int32_t RowRegisters(const TimingCandidate& record, const OutputOptions& options, uint32_t* values) {
  const PhaseLimits& limits = LimitsOf(options);
  const int32_t count = limits.registerCount < kMaxPhaseRegisters ? limits.registerCount : kMaxPhaseRegisters;
  if (options.decoded) {
    for (int32_t i = 0; i < count; ++i) values[i] = options.decodedRegisters[i];
    return count;
  }
  EncodePhaseRegisters(limits, RowLengths(record, options), values);
  return count;
}

bool KeepsWindowSjw(const OutputOptions& options) {
  if (FaceIndex(options) != 0 || options.best || options.decoded) return false;
  // The table, and the narrow csv that writes the same columns as the window's copy.
  return options.format == OutputFormat::kTable ||
         (!options.wide && (options.format == OutputFormat::kTsv || options.format == OutputFormat::kCsv));
}

int32_t RowSjw(const TimingCandidate& record, const OutputOptions& options) {
  if (options.sjw != 0) return options.sjw;
  if (KeepsWindowSjw(options)) return 1;
  return DefaultSjw(*options.controller, LimitsOf(options), record);
}

const Register& RegisterOf(const OutputOptions& options) { return *LimitsOf(options).registers[0]; }

uint32_t RowRegister(const TimingCandidate& record, const OutputOptions& options) {
  return EncodeLengths(RowLengths(record, options), RegisterOf(options)) | options.modeBits;
}

BitTimingLengths RowLengths(const TimingCandidate& record, const OutputOptions& options) {
  if (options.decoded) return options.decodedLengths;
  return ControllerLengths(LimitsOf(options), record, RowSjw(record, options));
}

Tolerance RowTolerance(const TimingCandidate& record, const OutputOptions& options) {
  const BitTimingLengths lengths = RowLengths(record, options);
  if (options.phase == Phase::kData) return DataSettingTolerance(lengths);
  return SettingTolerance(lengths, options.clockKHz, options.bus);
}

const CandidateCells& CellsOf(RowCells& run, const TimingCandidate& record, const OutputOptions& options) {
  const SegmentNames& names = NamesInQuanta(options) ? kFdcanSegmentNames : kBxCanSegmentNames;
  if (run.made)
    UpdateCandidateCells(run.last, record, run.cells, names);
  else
    MakeCandidateCells(record, run.cells, names);
  run.made = true;
  run.last = record;
  return run.cells;
}

std::string RowFlagNames(const OutputOptions& options, const char* sep) {
  const PhaseLimits& limits = LimitsOf(options);
  std::string names;
  if (OlderForm(options) || !options.decoded) return names;
  for (int32_t i = 0; i < limits.registerCount && i < kMaxPhaseRegisters; ++i) {
    const Register& reg = *limits.registers[i];
    for (int k = 0; k < reg.fieldCount; ++k) {
      if (reg.fields[k].role != FieldRole::kFlag || (options.decodedRegisters[i] & FieldMask(reg.fields[k])) == 0) continue;
      names += (names.empty() ? "" : sep) + std::string(reg.fields[k].name);
    }
  }
  return names;
}

const char* PhaseName(const OutputOptions& options) { return options.phase == Phase::kData ? "data" : "nominal"; }

RowSource SingleRow(const TimingCandidate& record) {
  return [record](const RowVisitor& visit) { visit(record); };
}

bool FirstRow(const RowSource& rows, TimingCandidate& record) {
  bool found = false;
  rows([&](const TimingCandidate& row) {
    record = row;
    found = true;
    return false;
  });
  return found;
}

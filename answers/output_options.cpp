#include "answers/output_options.h"

#include "calc/candidate_cells.h"
#include "calc/fdcan_timing.h"
#include "calc/registers.h"

bool IsFdcan(const OutputOptions& options) { return options.phase != Phase::kBxCan; }

bool InPhases(const OutputOptions& options) {
  return options.phase != Phase::kBxCan && (options.controller == nullptr || options.controller->fd);
}

const PhaseLimits* LimitsOf(const OutputOptions& options) {
  if (options.controller == nullptr) return nullptr;
  return options.phase == Phase::kData ? &options.controller->data : &options.controller->nominal;
}

int32_t RowRegisters(const TimingCandidate& record, const OutputOptions& options, uint32_t* values) {
  const PhaseLimits* limits = LimitsOf(options);
  if (limits == nullptr) return 0;
  const int32_t count = limits->registerCount < kMaxPhaseRegisters ? limits->registerCount : kMaxPhaseRegisters;
  if (options.decoded) {
    for (int32_t i = 0; i < count; ++i) values[i] = options.decodedRegisters[i];
    return count;
  }
  EncodePhaseRegisters(*limits, RowLengths(record, options), values);
  return limits->registerCount < kMaxPhaseRegisters ? limits->registerCount : kMaxPhaseRegisters;
}

int32_t RowSjw(const TimingCandidate& record, const OutputOptions& options) {
  if (options.sjw != 0) return options.sjw;
  if (const PhaseLimits* limits = LimitsOf(options)) return WidestSjw(*limits, record.bs1Code + 1, record.bs2Code + 1);
  return DefaultSyncJumpWidth(record, options.phase == Phase::kData ? kFdcanDataRanges : kFdcanNominalRanges);
}

const Register& RegisterOf(const OutputOptions& options) {
  if (options.phase == Phase::kNominal) return kNbtp;
  return options.phase == Phase::kData ? kDbtp : kCanBtr;
}

uint32_t RowRegister(const TimingCandidate& record, const OutputOptions& options) {
  return EncodeLengths(RowLengths(record, options), RegisterOf(options)) | options.modeBits;
}

BitTimingLengths RowLengths(const TimingCandidate& record, const OutputOptions& options) {
  const PhaseLimits* limits = LimitsOf(options);
  if (limits != nullptr && options.decoded) return options.decodedLengths;
  if (limits != nullptr) return ControllerLengths(*limits, record, RowSjw(record, options));
  return LengthsOf(record, RowSjw(record, options));
}

Tolerance RowTolerance(const TimingCandidate& record, const OutputOptions& options) {
  const BitTimingLengths lengths = RowLengths(record, options);
  if (options.phase == Phase::kData) return DataSettingTolerance(lengths);
  return SettingTolerance(lengths, options.clockKHz, options.bus);
}

const CandidateCells& CellsOf(RowCells& run, const TimingCandidate& record, const OutputOptions& options) {
  const SegmentNames& names = IsFdcan(options) ? kFdcanSegmentNames : kBxCanSegmentNames;
  if (run.made)
    UpdateCandidateCells(run.last, record, run.cells, names);
  else
    MakeCandidateCells(record, run.cells, names);
  run.made = true;
  run.last = record;
  return run.cells;
}

std::string RowFlagNames(const OutputOptions& options, const char* sep) {
  const PhaseLimits* limits = LimitsOf(options);
  std::string names;
  if (limits == nullptr || !options.decoded) return names;
  for (int32_t i = 0; i < limits->registerCount && i < kMaxPhaseRegisters; ++i) {
    const Register& reg = *limits->registers[i];
    for (int k = 0; k < reg.fieldCount; ++k) {
      if (reg.fields[k].role != FieldRole::kFlag || (options.decodedRegisters[i] & FieldMask(reg.fields[k])) == 0) continue;
      names += (names.empty() ? "" : sep) + std::string(reg.fields[k].name);
    }
  }
  return names;
}

const char* PhaseName(const OutputOptions& options) { return options.phase == Phase::kData ? "data" : "nominal"; }

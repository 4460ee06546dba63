#include "cli/output_options.h"

#include "calc/candidate_cells.h"
#include "calc/fdcan_timing.h"

bool IsFdcan(const OutputOptions& options) { return options.phase != Phase::kBxCan; }

int32_t RowSjw(const TimingCandidate& record, const OutputOptions& options) {
  if (options.sjw != 0) return options.sjw;
  return DefaultSyncJumpWidth(record, options.phase == Phase::kData ? kFdcanDataRanges : kFdcanNominalRanges);
}

uint32_t RowRegister(const TimingCandidate& record, const OutputOptions& options) {
  const int32_t sjw = RowSjw(record, options);
  switch (options.phase) {
    case Phase::kNominal: return NominalBitTimingRegister(FdcanTimingOf(record, sjw)) | options.modeBits;
    case Phase::kData: return DataBitTimingRegister(FdcanTimingOf(record, sjw)) | options.modeBits;
    default: return BitTimingRegister(record, sjw) | options.modeBits;
  }
}

void MakeRowCells(const TimingCandidate& record, const OutputOptions& options, CandidateCells& cells) {
  MakeCandidateCells(record, cells, IsFdcan(options) ? kFdcanSegmentNames : kBxCanSegmentNames);
}

const char* PhaseName(const OutputOptions& options) { return options.phase == Phase::kData ? "data" : "nominal"; }

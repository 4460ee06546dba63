#include "answers/code_output.h"

#include "answers/row_columns.h"
#include "calc/bus_tolerance.h"
#include "calc/bxcan_register.h"
#include "calc/candidate_cells.h"

#include <string>

namespace {

// The spellings of one block: the two bxCAN libraries', and HAL's for FDCAN's phases.
struct CodeDialect {
  const char* prescaler;  // the field names, up to " = "
  const char* sjw;
  const char* bs1;
  const char* bs2;
  const char* mode;       // null: no mode field
  const char* quanta;     // the constants' "tq", as the library writes it; null: plain numbers
  const char* modes[4];   // normal, loop-back, silent, both
};

constexpr CodeDialect kHal = {"hcan.Init.Prescaler",    "hcan.Init.SyncJumpWidth", "hcan.Init.TimeSeg1",
                              "hcan.Init.TimeSeg2",     "hcan.Init.Mode",          "TQ",
                              {"CAN_MODE_NORMAL", "CAN_MODE_LOOPBACK", "CAN_MODE_SILENT", "CAN_MODE_SILENT_LOOPBACK"}};
constexpr CodeDialect kSpl = {"CAN_InitStructure.CAN_Prescaler", "CAN_InitStructure.CAN_SJW",
                              "CAN_InitStructure.CAN_BS1",       "CAN_InitStructure.CAN_BS2",
                              "CAN_InitStructure.CAN_Mode",      "tq",
                              {"CAN_Mode_Normal", "CAN_Mode_LoopBack", "CAN_Mode_Silent", "CAN_Mode_Silent_LoopBack"}};
// HAL takes FDCAN's lengths as plain numbers of quanta.
constexpr CodeDialect kHalNominal = {"hfdcan.Init.NominalPrescaler", "hfdcan.Init.NominalSyncJumpWidth",
                                     "hfdcan.Init.NominalTimeSeg1", "hfdcan.Init.NominalTimeSeg2",
                                     nullptr, nullptr, {}};
constexpr CodeDialect kHalData = {"hfdcan.Init.DataPrescaler", "hfdcan.Init.DataSyncJumpWidth",
                                  "hfdcan.Init.DataTimeSeg1", "hfdcan.Init.DataTimeSeg2",
                                  nullptr, nullptr, {}};

const CodeDialect& DialectOf(const OutputOptions& options) {
  if (options.phase == Phase::kNominal) return kHalNominal;
  if (options.phase == Phase::kData) return kHalData;
  return options.format == OutputFormat::kSpl ? kSpl : kHal;
}

void PutAssignment(OutputSink& sink, const char* field, const std::string& value) {
  Put(sink, field);
  Put(sink, " = ");
  Put(sink, value);
  Put(sink, ";\n");
}

// A segment's value from its cell: FDCAN's plain length; for bxCAN its constant,
// "CAN_BS1_11tq", the library's own name in the spl form; the hal form writes "TQ".
std::string SegmentValue(const CandidateText& cell, const CodeDialect& dialect) {
  if (dialect.quanta == nullptr) return cell.bytes;
  return std::string(cell.bytes, static_cast<std::size_t>(cell.length - 2)) + dialect.quanta;
}

// The comment that opens a block: the columns that have a place there, in its
// order, "/* 500 Kbps, sample point 85.7%, error 0%, CAN_BTR 0x001A0005 */".
void PutComment(OutputSink& sink, const RowContext& row) {
  CandidateText scratch;
  const char* separator = "/* ";
  for (int place = 1; place <= kColumnCount; ++place) {
    for (int c = 0; c < kColumnCount; ++c) {
      const Column& column = kColumns[c];
      if (column.codePlace != place || !InRow(column, row.options)) continue;
      Put(sink, separator);
      separator = ", ";
      const char* label = FaceOf(column, row.options).codeLabel;
      Put(sink, label);
      if (*label != 0) Put(sink, ' ');
      Put(sink, column.text(row, scratch).bytes);
      if (column.codeUnit != nullptr) Put(sink, column.codeUnit);
    }
  }
  Put(sink, " */\n");
}

// The offset ST recommends with filter 0, or why there is none.
void PutTdc(OutputSink& sink, const TimingCandidate& record, const OutputOptions& options) {
  const BitTimingLengths data = RowLengths(record, options);
  const TdcAdvice advice = AdvisedTdc(data);
  switch (advice.verdict) {
    case TdcVerdict::kApplies:
      Put(sink, "HAL_FDCAN_ConfigTxDelayCompensation(&hfdcan, " + std::to_string(advice.offset) + ", 0);\n");
      Put(sink, "HAL_FDCAN_EnableTxDelayCompensation(&hfdcan);\n");
      return;
    case TdcVerdict::kPrescalerAboveTwo:
      Put(sink, "/* no TDC: ISO 11898-1 allows it only with a data prescaler of 1 or 2, this one is " +
                    std::to_string(data.prescaler) + " */\n");
      return;
    default:
      Put(sink, "/* no TDC: its offset DataPrescaler x DataTimeSeg1 = " + std::to_string(advice.offset) +
                    " exceeds TDCO's 127 */\n");
  }
}

void PutBlock(OutputSink& sink, const TimingCandidate& record, const OutputOptions& options, const CodeDialect& dialect,
              RowCells& run) {
  const CandidateCells& cells = CellsOf(run, record, options);
  PutComment(sink, RowContext{record, cells, options});
  const std::string sjw = std::to_string(RowSjw(record, options));
  PutAssignment(sink, dialect.prescaler, cells.prescaler.bytes);
  PutAssignment(sink, dialect.sjw, dialect.quanta == nullptr ? sjw : "CAN_SJW_" + sjw + dialect.quanta);
  PutAssignment(sink, dialect.bs1, SegmentValue(cells.bs1, dialect));
  PutAssignment(sink, dialect.bs2, SegmentValue(cells.bs2, dialect));
  if (options.modeBits != 0 && dialect.mode != nullptr) {
    const int mode = ((options.modeBits & kLoopBackBit) != 0 ? 1 : 0) + ((options.modeBits & kSilentBit) != 0 ? 2 : 0);
    PutAssignment(sink, dialect.mode, dialect.modes[mode]);
  }
  // The data phase's transmitter delay compensation; a decoded DBTP only where its TDC
  // bit is set.
  if (options.phase == Phase::kData && (!options.decoded || options.modeBits != 0)) PutTdc(sink, record, options);
}

}  // namespace

bool WriteCode(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  const CodeDialect& dialect = DialectOf(options);
  bool first = true;
  RowCells run;
  rows([&](const TimingCandidate& record) {
    if (!first || options.continued) Put(sink, '\n');
    first = false;
    PutBlock(sink, record, options, dialect, run);
    return sink.error == 0;
  });
  return !first;
}

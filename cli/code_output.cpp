#include "cli/code_output.h"

#include "calc/candidate_cells.h"

#include <string>

namespace {

// The two libraries' spellings of one block.
struct CodeDialect {
  const char* prescaler;  // the field names, up to " = "
  const char* sjw;
  const char* bs1;
  const char* bs2;
  const char* mode;
  const char* quanta;     // the constants' "tq", as the library writes it
  const char* modes[4];   // normal, loop-back, silent, both
};

constexpr CodeDialect kHal = {"hcan.Init.Prescaler",    "hcan.Init.SyncJumpWidth", "hcan.Init.TimeSeg1",
                              "hcan.Init.TimeSeg2",     "hcan.Init.Mode",          "TQ",
                              {"CAN_MODE_NORMAL", "CAN_MODE_LOOPBACK", "CAN_MODE_SILENT", "CAN_MODE_SILENT_LOOPBACK"}};
constexpr CodeDialect kSpl = {"CAN_InitStructure.CAN_Prescaler", "CAN_InitStructure.CAN_SJW",
                              "CAN_InitStructure.CAN_BS1",       "CAN_InitStructure.CAN_BS2",
                              "CAN_InitStructure.CAN_Mode",      "tq",
                              {"CAN_Mode_Normal", "CAN_Mode_LoopBack", "CAN_Mode_Silent", "CAN_Mode_Silent_LoopBack"}};

void PutAssignment(OutputSink& sink, const char* field, const std::string& value) {
  Put(sink, field);
  Put(sink, " = ");
  Put(sink, value);
  Put(sink, ";\n");
}

// A segment's constant from its cell: "CAN_BS1_11tq" is the library's own name in the
// spl form; the hal form writes "TQ".
std::string SegmentConstant(const CandidateText& cell, const CodeDialect& dialect) {
  return std::string(cell.bytes, static_cast<std::size_t>(cell.length - 2)) + dialect.quanta;
}

void PutBlock(OutputSink& sink, const TimingCandidate& record, const OutputOptions& options, const CodeDialect& dialect) {
  CandidateCells cells;
  MakeCandidateCells(record, cells);
  CandidateText rate;
  FormatRateCell(cells.actualRate, rate);
  Put(sink, "/* ");
  Put(sink, rate.bytes);
  Put(sink, " Kbps, sample point ");
  Put(sink, cells.samplePoint.bytes);
  Put(sink, ", error ");
  Put(sink, options.errorKnown ? cells.errorPercent.bytes : "-");
  Put(sink, ", CAN_BTR ");
  Put(sink, RegisterText(RowRegister(record, options)));
  Put(sink, " */\n");
  PutAssignment(sink, dialect.prescaler, cells.prescaler.bytes);
  PutAssignment(sink, dialect.sjw, "CAN_SJW_" + std::to_string(options.sjw) + dialect.quanta);
  PutAssignment(sink, dialect.bs1, SegmentConstant(cells.bs1, dialect));
  PutAssignment(sink, dialect.bs2, SegmentConstant(cells.bs2, dialect));
  if (options.modeBits != 0) {
    const int mode = ((options.modeBits & kLoopBackBit) != 0 ? 1 : 0) + ((options.modeBits & kSilentBit) != 0 ? 2 : 0);
    PutAssignment(sink, dialect.mode, dialect.modes[mode]);
  }
}

}  // namespace

void WriteCode(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  const CodeDialect& dialect = options.format == OutputFormat::kSpl ? kSpl : kHal;
  bool first = true;
  rows([&](const TimingCandidate& record) {
    if (!first) Put(sink, '\n');
    first = false;
    PutBlock(sink, record, options, dialect);
    return sink.error == 0;
  });
}

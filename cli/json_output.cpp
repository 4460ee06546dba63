#include "cli/json_output.h"

#include "calc/candidate_cells.h"
#include "cli/bit_timing_register.h"

#include <string>

namespace {

// True when the bytes form a JSON number: -? digits (. digits)? ([eE] [+-]? digits)?
// (a leading zero alone before the point). The non-finite texts ("1.#INF") are not.
bool IsJsonNumber(const char* p, const char* end) {
  auto digits = [&](bool leadingZeroRule) {
    const char* start = p;
    while (p < end && *p >= '0' && *p <= '9') ++p;
    if (p == start) return false;
    return !(leadingZeroRule && *start == '0' && p - start > 1);
  };
  if (p < end && *p == '-') ++p;
  if (!digits(true)) return false;
  if (p < end && *p == '.') {
    ++p;
    if (!digits(false)) return false;
  }
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    if (!digits(false)) return false;
  }
  return p == end;
}

// A number by its shown text. A text that is no JSON number, the window's "1.#INF" of a
// value that is not finite, is written as a string (it holds no quote or backslash);
// null is kept for no text at all: an error without a rate to measure it against.
void PutJsonNumber(OutputSink& sink, const char* name, const char* bytes, int32_t length) {
  Put(sink, name);
  if (IsJsonNumber(bytes, bytes + length)) {
    Put(sink, bytes, static_cast<std::size_t>(length));
  } else if (length > 0) {
    Put(sink, '"');
    Put(sink, bytes, static_cast<std::size_t>(length));
    Put(sink, '"');
  } else {
    Put(sink, "null");
  }
}

void PutJsonField(OutputSink& sink, const char* name, const std::string& value) {
  Put(sink, name);
  Put(sink, value);
}

const char* Flag(bool set) { return set ? "true" : "false"; }

// The keys of one phase: bxCAN's segments and register, or FDCAN's.
struct JsonKeys {
  const char* seg1;
  const char* seg2;
  const char* registerValue;
};

JsonKeys KeysOf(Phase phase) {
  switch (phase) {
    case Phase::kNominal: return {"{\"seg1\": ", ", \"seg2\": ", ", \"nbtp\": "};
    case Phase::kData: return {"{\"seg1\": ", ", \"seg2\": ", ", \"dbtp\": "};
    default: return {"{\"bs1\": ", ", \"bs2\": ", ", \"btr\": "};
  }
}

void PutJsonRow(OutputSink& sink, const TimingCandidate& record, const OutputOptions& options, RowCells& run) {
  const CandidateCells& cells = CellsOf(run, record, options);
  CandidateText rate;
  FormatRateCell(cells.actualRate, rate);
  const JsonKeys keys = KeysOf(options.phase);
  PutJsonField(sink, keys.seg1, std::to_string(int64_t{record.bs1Code} + 1));
  PutJsonField(sink, keys.seg2, std::to_string(int64_t{record.bs2Code} + 1));
  PutJsonField(sink, ", \"prescaler\": ", std::to_string(record.prescaler));
  // The cut percent and the error as shown, without their "%".
  PutJsonNumber(sink, ", \"samplePoint\": ", cells.samplePoint.bytes, cells.samplePoint.length - 1);
  PutJsonNumber(sink, ", \"actualRate\": ", rate.bytes, rate.length);
  const int32_t errorLength = options.errorKnown ? cells.errorPercent.length - 1 : 0;
  PutJsonNumber(sink, ", \"errorPercent\": ", cells.errorPercent.bytes, errorLength);
  PutJsonField(sink, keys.registerValue, std::to_string(RowRegister(record, options)));
  if (options.decoded) {
    PutJsonField(sink, ", \"sjw\": ", std::to_string(RowSjw(record, options)));
    if (options.phase == Phase::kBxCan) {
      PutJsonField(sink, ", \"loopBack\": ", Flag((options.modeBits & kLoopBackBit) != 0));
      PutJsonField(sink, ", \"silent\": ", Flag((options.modeBits & kSilentBit) != 0));
    }
    if (options.phase == Phase::kData) PutJsonField(sink, ", \"tdc\": ", Flag(options.modeBits != 0));
  }
  Put(sink, '}');
}

}  // namespace

bool WriteJsonArray(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  const char* const indent = IsFdcan(options) ? "  " : "";
  bool first = true;
  RowCells run;
  rows([&](const TimingCandidate& record) {
    Put(sink, first ? "[\n  " : ",\n  ");
    Put(sink, indent);
    first = false;
    PutJsonRow(sink, record, options, run);
    return sink.error == 0;
  });
  if (first) {
    Put(sink, "[]");
    return false;
  }
  Put(sink, '\n');
  Put(sink, indent);
  Put(sink, ']');
  return true;
}

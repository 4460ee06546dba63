// What the companion answers for a request: the listing, the best setting or a
// decoded register value, for bxCAN or FDCAN's phases, written to an output sink.
#pragma once

#include "answers/request.h"
#include "answers/output_sink.h"

enum class Answer {
  kWritten,        // also a listing without rows
  kNoSetting,      // --best: no (nominal) setting meets the request; nothing written
  kNoDataSetting,  // --best: no data-phase setting meets it; nothing written
};

// Writes the answer to a checked request (ParseCommandLine's kRun).
Answer WriteAnswer(const Request& request, OutputSink& out);

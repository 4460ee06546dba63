// The companion's end of the answers' output sink: chunks written to a C stream.
#pragma once

#include <cstdio>

#include "answers/writers/output_sink.h"

// A sink whose chunks are written to stream and flushed at once; a failed write or
// flush keeps its errno (EIO when none was set).
OutputSink StreamOutput(std::FILE* stream);

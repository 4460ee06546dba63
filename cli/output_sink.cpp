#include "cli/output_sink.h"

#include <cerrno>
#include <cstring>

namespace {

void WritePending(OutputSink& sink) {
  if (sink.error == 0 && !sink.pending.empty()) {
    errno = 0;
    const bool written = std::fwrite(sink.pending.data(), 1, sink.pending.size(), sink.stream) == sink.pending.size();
    if (!written || std::fflush(sink.stream) != 0) sink.error = errno != 0 ? errno : EIO;
  }
  sink.pending.clear();
}

}  // namespace

void Put(OutputSink& sink, const char* bytes, std::size_t length) {
  if (sink.error != 0) return;
  sink.pending.append(bytes, length);
  if (sink.pending.size() >= kOutputChunkBytes) WritePending(sink);
}

void Put(OutputSink& sink, const std::string& text) { Put(sink, text.data(), text.size()); }

void Put(OutputSink& sink, const char* text) { Put(sink, text, std::strlen(text)); }

void Put(OutputSink& sink, char byte) { Put(sink, &byte, 1); }

void PutBlanks(OutputSink& sink, std::size_t count) {
  if (sink.error == 0) sink.pending.append(count, ' ');
}

bool FlushOutput(OutputSink& sink) {
  WritePending(sink);
  if (sink.error == 0 && std::fflush(sink.stream) != 0) sink.error = errno != 0 ? errno : EIO;
  return sink.error == 0;
}

#include "answers/writers/output_sink.h"

#include <cstring>

namespace {

int AppendToText(void* text, const char* bytes, std::size_t length) {
  static_cast<std::string*>(text)->append(bytes, length);
  return 0;
}

void WritePending(OutputSink& sink) {
  if (sink.error == 0 && !sink.pending.empty()) sink.error = sink.write(sink.context, sink.pending.data(), sink.pending.size());
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
  return sink.error == 0;
}

OutputSink TextOutput(std::string& text) {
  OutputSink sink;
  sink.write = AppendToText;
  sink.context = &text;
  return sink;
}

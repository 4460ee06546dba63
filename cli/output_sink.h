// Where the companion's output goes: bytes gathered into chunks and handed to a
// stream chunk by chunk, so that a listing of any length takes little memory and a
// failed write is known at once.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

struct OutputSink {
  std::FILE* stream = nullptr;
  std::string pending;  // bytes not yet handed to the stream
  int error = 0;        // errno of the first write that failed; 0 while all went well
};

// Bytes gathered before they are written (and flushed) as one chunk.
constexpr std::size_t kOutputChunkBytes = 64 * 1024;

// Adds bytes; writes a chunk once enough have gathered. After a failure nothing more
// is written, so a writer may go on and look at `error` when it suits it.
void Put(OutputSink& sink, const char* bytes, std::size_t length);
void Put(OutputSink& sink, const std::string& text);
void Put(OutputSink& sink, const char* text);  // zero-terminated
void Put(OutputSink& sink, char byte);
void PutBlanks(OutputSink& sink, std::size_t count);
// Writes what is pending and flushes the stream; false when any write has failed.
bool FlushOutput(OutputSink& sink);

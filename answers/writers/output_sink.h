// Where the answers go: bytes gathered into chunks and handed to the caller's write
// function chunk by chunk, so that a listing of any length takes little memory and a
// failed write is known at once. The library itself never touches a stream: the
// companion hands chunks to standard output, a web page to its own buffer.
#pragma once

#include <cstddef>
#include <string>

// Takes one chunk; returns 0 when it was written, or a nonzero code (the companion's:
// an errno value) that the sink keeps as its error.
using OutputWrite = int (*)(void* context, const char* bytes, std::size_t length);

struct OutputSink {
  OutputWrite write = nullptr;
  void* context = nullptr;  // handed to write as it is
  std::string pending;      // bytes not yet handed to write
  int error = 0;            // the code of the first write that failed; 0 while all went well
};

// Bytes gathered before they are handed over as one chunk.
constexpr std::size_t kOutputChunkBytes = 64 * 1024;

// Adds bytes; hands over a chunk once enough have gathered. After a failure nothing
// more is handed over, so a writer may go on and look at `error` when it suits it.
void Put(OutputSink& sink, const char* bytes, std::size_t length);
void Put(OutputSink& sink, const std::string& text);
void Put(OutputSink& sink, const char* text);  // zero-terminated
void Put(OutputSink& sink, char byte);
void PutBlanks(OutputSink& sink, std::size_t count);
// Hands over what is pending; false when any write has failed.
bool FlushOutput(OutputSink& sink);

// A sink that appends every chunk to text (which must outlive it); it never fails.
OutputSink TextOutput(std::string& text);

#include "cli/stream_output.h"

#include <cerrno>

namespace {

int WriteToStream(void* context, const char* bytes, std::size_t length) {
  std::FILE* stream = static_cast<std::FILE*>(context);
  errno = 0;
  const bool written = std::fwrite(bytes, 1, length, stream) == length;
  if (written && std::fflush(stream) == 0) return 0;
  return errno != 0 ? errno : EIO;
}

}  // namespace

OutputSink StreamOutput(std::FILE* stream) {
  OutputSink sink;
  sink.write = WriteToStream;
  sink.context = stream;
  return sink;
}

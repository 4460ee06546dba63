// The module's one reply (web/page_reply.h), and the two calls the worker reads it by.
#include "web/page_reply.h"

#include <emscripten/emscripten.h>

#include "answers/text/register_text.h"
#include "web/page_fields.h"

namespace {

struct KeptReply {
  std::string json;
};

KeptReply& Kept() {
  static KeptReply kept;
  return kept;
}

}  // namespace

void AddMember(PageReply& reply, const char* key, const std::string& json) {
  reply.members += ", \"";
  reply.members += key;
  reply.members += "\": ";
  reply.members += json;
}

PageReply RefusalReply(const std::string& status, const std::string& field, const std::string& line) {
  PageReply reply;
  reply.status = status;
  reply.field = field;
  reply.text = line;
  return reply;
}

PageReply RefusalReply(const RequestCheck& check) {
  // The companion's line where it has one (a field's refusal: why its text is none).
  const std::string line = RefusalLine(check);
  const char* field = PageFieldOf(check);
  PageReply reply = RefusalReply(StatusName(static_cast<int>(check.status)), field != nullptr ? field : "",
                                 line.empty() ? check.detail : line);
  if (check.bits != 0) AddMember(reply, "bits", JsonString(BitList(check.bits)));
  return reply;
}

void KeepReply(const PageReply& reply) {
  Kept().json = "{\"status\": " + JsonString(reply.status) + ", \"field\": " + JsonString(reply.field) +
                ", \"text\": " + JsonString(reply.text) + reply.members + "}";
}

void KeepRefusal(const RequestCheck& check) { KeepReply(RefusalReply(check)); }

extern "C" {

// The last entry's reply (web/page_reply.h): UTF-8 JSON, zero-terminated, valid until
// the next entry is called.
EMSCRIPTEN_KEEPALIVE const char* QuillmereReply() { return Kept().json.c_str(); }

}  // extern "C"

// The one shape in which every entry of the module answers the page's worker: UTF-8
// JSON {"status": NAME, "field": FIELD, "text": TEXT, ...}, kept until the next entry
// is called and read through QuillmereReply(). status is "ready" or the name of why it
// was refused (a RequestStatus's, a PlanStatus's, or "unknown-form", ...); field the
// page's field the refusal concerns, or ""; text the answer's text, or the refusal's
// line; further members as each entry says (web/worker.js reads them).
#pragma once

#include <string>

#include "answers/request/request_check.h"
#include "answers/text/json_string.h"

struct PageReply {
  std::string status = "ready";
  std::string field;
  std::string text;
  std::string members;  // the further members, each ", \"key\": value" (AddMember)
};

// Adds the member key (a plain name) with json, a JSON value written whole.
void AddMember(PageReply& reply, const char* key, const std::string& json);

// A refusal of a request check: its status's name, the page's field it concerns, the
// companion's line (else its detail) and the reserved bits it names ("bits": "10, 11").
PageReply RefusalReply(const RequestCheck& check);

// A refusal by name, field and line.
PageReply RefusalReply(const std::string& status, const std::string& field, const std::string& line);

// Makes reply the one QuillmereReply() returns.
void KeepReply(const PageReply& reply);

// Keeps RefusalReply(check).
void KeepRefusal(const RequestCheck& check);

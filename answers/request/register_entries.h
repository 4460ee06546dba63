// Register values as a person types them, for a decode and for a node fixed by its
// registers: the text read into named values, before any controller is asked.
#pragma once

#include <string>
#include <vector>

#include "answers/request/request.h"

// Register values by name, "CNF1=0x01,CNF2=0xB5,CNF3=0x01" (each name letters, digits
// and "_"), or without "=" one bare value, into entries; "" when they read, else why not.
// Which register each is, and whether it fits, is the request check's to say.
std::string RegisterEntriesProblem(const char* text, std::vector<RegisterEntry>& entries);

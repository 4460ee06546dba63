// The module's calls into the page's worker (page_module.cpp defines them with EM_JS).
#pragma once

#include <cstdint>

extern "C" {
// Module.takeRows(bytes, byteCount, rowEnds, rowCount): a block of table rows (each
// ended by CR LF; rowEnds are offsets into the block), copied out before it returns.
void HandRowsToPage(const char* bytes, int32_t byteCount, const uint32_t* rowEnds, int32_t rowCount);
// Module.takeSettings(settings, rowCount): the settings of the rows of the block just
// handed over, three numbers a row (prescaler, seg1, seg2), copied out before it
// returns.
void HandSettingsToPage(const uint16_t* settings, int32_t rowCount);
// Module.takeTsv(bytes, byteCount): a chunk of the companion's tsv, copied out before
// it returns.
void HandTsvToPage(const char* bytes, int32_t byteCount);
}

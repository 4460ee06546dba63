// The module's calls into the page's worker (page_module.cpp defines them with EM_JS),
// and what every entry of the module shares: the form's field texts as they cross the
// C interface (its one reply: web/page_reply.h).
#pragma once

#include <cstdint>

#include "web/page_fields.h"
#include "answers/request/request_check.h"
#include "web/row_text.h"

extern "C" {
// Module.takeRows(bytes, byteCount, rowEnds, rowCount): a block of table rows (each
// ended by CR LF; rowEnds are offsets into the block), copied out before it returns.
void HandRowsToPage(const char* bytes, int32_t byteCount, const uint32_t* rowEnds, int32_t rowCount);
// Module.takeSettings(settings, rowCount): the settings of the rows just handed over
// (a block's, or the best setting's), kSettingFields numbers a row (web/row_text.h),
// copied out before it returns.
void HandSettingsToPage(const uint16_t* settings, int32_t rowCount);
// Module.takeTsv(bytes, byteCount): a chunk of the companion's tsv, copied out before
// it returns.
void HandTsvToPage(const char* bytes, int32_t byteCount);
}

// A RowBlocks' hand function (web/row_text.h): the block's rows through Module.takeRows,
// then their settings through Module.takeSettings.
void HandBlockToPage(void* context, const RowTextBlock& block);

// The number of field texts an entry takes, in this order: controller, clock, rate,
// data rate, SJW, data SJW, node delay, bus length, least tolerance, spread (GBK), the
// nodes (UTF-8, as the companion takes --node), then a plan's clock accuracy, the
// target sample point (a plan's, or a listing's best's), a plan's data target sample
// point and the rate error (GBK); each null or zero-terminated; texts itself null:
// all empty.
constexpr int kPageFieldCount = 15;
PageFieldTexts PageTextsAt(const char* const* texts, int samplePointIndex);

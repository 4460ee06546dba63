// What the page's exports return: a status, 0 when the answer was written. The page
// reads a status by its name (QuillmereStatusName), never by its number.
#pragma once

enum class PageStatus {
  kReady = 0,
  kClockMissing = 1,          // the window's input check (app/compute_inputs.h)
  kRateMissing = 2,
  kReservedBits = 3,          // the first register value sets bits that hold no field
  kDataReservedBits = 4,      // DBTP does
  kSettingOutsideRanges = 5,  // a setting the phase cannot hold: no code
};

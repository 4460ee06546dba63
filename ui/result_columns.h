// The six columns of the result table: their titles, in GBK, left to right.
#pragma once

constexpr int kResultColumnCount = 6;

constexpr const char* kResultColumnTitles[kResultColumnCount] = {
    "BS1",
    "BS2",
    "\xB7\xD6\xC6\xB5\xCF\xB5\xCA\xFD",  // 分频系数 (prescaler)
    "\xB2\xC9\xBC\xAF\xB5\xE3",          // 采集点 (sample point)
    "\xCA\xB5\xBC\xCA\xB2\xA8\xCC\xD8\xC2\xCA",  // 实际波特率 (actual bit rate)
    "\xCE\xF3\xB2\xEE",                  // 误差 (rate error)
};

// The result table's copy command on the platform clipboard.
#pragma once

#include <windows.h>

#include "ui/result_table.h"

// Puts the table's copy text (result_table_copy.h) on the clipboard, owned by `owner`,
// as CF_TEXT (the cells' GBK bytes) and CF_UNICODETEXT (the same converted with code
// page 936). False, with the clipboard left as it was, when nothing is selected or the
// clipboard or memory cannot be had.
bool CopyTableToClipboard(HWND owner, const ResultTable& table);

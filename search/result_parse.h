// Filling the rows from the engine's CSV export. The rows (result_rows.h) are
// the data; this only writes them, and they know nothing of it.
#pragma once

#include "search/result_rows.h"

#include <string>

struct ImportOptions {
    bool useIgnoreList = false;
    std::string ignoreList;
};

// Parses the engine's CSV bytes into rows (pure; the bytes are consumed).
void ParseResultText(std::string bytes, const ImportOptions& options, ResultRowsRecord& into);

// Reads "results.txt" into ResultRows; returns the number of rows read. With
// none, the one "<empty>" row stands, so the rows are never empty.
int ReadResultFile();

// The names of the result list on the default printer.
#pragma once

#include <string>
#include <vector>

// The names, one per line, in the list's order, up to `MaxPrintLines` for the
// whole job; the same names go on the clipboard afterwards.
void PrintResultList();

// How many lines a page holds: never fewer than one, so a font taller than the
// page still prints every name.
int LinesPerPage(int lineHeight, int pageHeight);
// The names cut into pages of that many lines.
std::vector<std::vector<std::string>> PaginateLines(const std::vector<std::string>& lines,
                                                    int linesPerPage);
// The names as they are pasted: one per line, no empty line at either end.
std::string ClipboardTextOf(const std::vector<std::string>& lines);

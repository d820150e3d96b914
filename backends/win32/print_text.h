// Lines of names drawn on a printer as the list shows them: in the print font
// where it has the characters, in a face that has them where it does not, and
// right-to-left words in their reading order within a left-to-right line.
#pragma once

#include "backends/win32/win32.h"

#include <usp10.h>

#include <map>
#include <string>
#include <vector>

namespace platform::win32 {

struct PrintFaces {
    HDC dc = nullptr;
    LOGFONTW look{}; // the print font's size and weight, which stand-ins share
    // [0] the print font, then each stand-in once it was needed.
    std::vector<HFONT> fonts;
    std::vector<SCRIPT_CACHE> caches;
    std::vector<std::wstring> untried;  // faces on the printer not yet made
    bool listed = false;                // every face of the printer is in `untried`
    std::map<std::wstring, int> chosen; // text the print font lacks -> font, -1 none
};

// The print font stays the caller's; the stand-ins are deleted by ClosePrintFaces.
PrintFaces OpenPrintFaces(HDC dc, HFONT printFont, const LOGFONTW& look);
void ClosePrintFaces(PrintFaces& faces);
// Draws the line with its left edge at x and its top at y; leaves the print
// font selected.
void DrawPrintLine(PrintFaces& faces, int x, int y, std::wstring_view line);

} // namespace platform::win32

// The search box: its text and selection. Positions are bytes here; tests use ASCII terms.
#include "backends/testing/testing.h"

#include "platform/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

// ---- Search box: positions are bytes here; tests use ASCII terms.
std::string SearchBoxText() {
    return TheWorld().searchText;
}

void SetSearchBoxText(const std::string& text) {
    TheWorld().searchText = text;
    TheWorld().selStart = TheWorld().selEnd = int(text.size());
}

void SearchBoxSetSelection(int start, int end) {
    int size = int(TheWorld().searchText.size());
    TheWorld().selStart = std::clamp(start, 0, size);
    TheWorld().selEnd = end < 0 ? size : std::clamp(end, 0, size);
}

void SearchBoxSetSelectionColors(int foreground, int background) {
    TheWorld().searchBoxSelectionColors = {foreground, background};
}

void SearchBoxPostSelectAll() {
    ++TheWorld().postedSelectAlls;
    SearchBoxSetSelection(0, -1);
}

void SearchBoxGetSelection(int& start, int& end) {
    start = TheWorld().selStart;
    end = TheWorld().selEnd;
}

std::string SearchBoxRange(int start, int end) {
    const std::string& t = TheWorld().searchText;
    start = std::clamp(start, 0, int(t.size()));
    end = std::clamp(end, start, int(t.size()));
    return t.substr(start, end - start);
}

void SearchBoxReplaceSelection(const std::string& text) {
    testing::World& w = TheWorld();
    int start = std::min(w.selStart, w.selEnd), end = std::max(w.selStart, w.selEnd);
    w.searchText.replace(size_t(start), size_t(end - start), text);
    w.selStart = w.selEnd = start + int(text.size());
}

} // namespace platform

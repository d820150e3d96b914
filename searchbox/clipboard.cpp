#include "searchbox/clipboard.h"

#include "platform/platform.h"
#include "results/result_list.h"
#include "search/result_rows.h"
#include "speech/speech.h"

#include <algorithm>
#include <string>

namespace {

struct Selection {
    int start = 0, end = 0;
    bool Empty() const { return start == end; }
};

Selection BoxSelection() {
    Selection s;
    platform::SearchBoxGetSelection(s.start, s.end);
    if (s.start > s.end) std::swap(s.start, s.end);
    return s;
}

bool FocusOn(int id) {
    return platform::FocusedControl() == id;
}

// A one-line box keeps the first line of what is pasted into it.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

CopyOutcome CopyFromSearchBox() {
    Selection s = BoxSelection();
    std::string text =
        s.Empty() ? platform::SearchBoxText() : platform::SearchBoxRange(s.start, s.end);
    const char* label = s.Empty() ? "Entire Search String " : "Selection from Search String ";
    if (!platform::ClipboardSetText(text)) {
        SpeakClipboardNotAvailable();
        return CopyOutcome::ClipboardBusy;
    }
    SpeakText(std::string(label) + " Was Copied");
    return CopyOutcome::Copied;
}

CopyOutcome CopyFromResultList(bool listShowsShortcuts) {
    // The shortcut lists have no folders to copy.
    if (listShowsShortcuts) {
        SpeakText("Not Available in Help Mode");
        return CopyOutcome::NothingCopied;
    }
    int s = SelectedRow();
    if (s < 1 || s > ResultRows.Count()) {
        SpeakText("No Selection");
        return CopyOutcome::NothingCopied;
    }
    // The row that stands for no result has no folder to give.
    if (ResultRows.Name(s) == EmptyRowName) {
        SpeakText("List is Empty");
        return CopyOutcome::NothingCopied;
    }
    if (!platform::ClipboardSetText(std::string(ResultRows.Path(s)))) {
        SpeakClipboardNotAvailable();
        return CopyOutcome::ClipboardBusy;
    }
    SpeakText("Path Copied");
    return CopyOutcome::Copied;
}

} // namespace

CopyOutcome CopySearchTerm(bool listShowsShortcuts) {
    if (FocusOn(platform::SearchBoxId)) return CopyFromSearchBox();
    if (FocusOn(platform::ResultListId)) return CopyFromResultList(listShowsShortcuts);
    return CopyOutcome::NothingCopied;
}

// The box's own cut and paste would not tell whether the clipboard could be
// opened, and its paste would bring in other programs' fonts and pictures; so
// the text goes through the clipboard here and into the box as typed.
void CutSearchTerm() {
    if (!FocusOn(platform::SearchBoxId)) return SpeakText("Cut Option not Available");
    Selection s = BoxSelection();
    if (s.Empty()) return SpeakText("No Selection");
    if (!platform::ClipboardSetText(platform::SearchBoxRange(s.start, s.end)))
        return SpeakClipboardNotAvailable();
    platform::SearchBoxReplaceSelection("");
    SpeakText("Selection Cut");
}

void PasteIntoSearchBox() {
    if (!FocusOn(platform::SearchBoxId)) return SpeakText("Paste Option not Available");
    std::string text;
    if (!platform::ClipboardGetText(text)) return SpeakClipboardNotAvailable();
    text = FirstLine(text);
    if (text.empty()) return SpeakText("No Text On Clipboard");
    platform::SearchBoxReplaceSelection(text);
    SpeakText("Clipboard Pasted");
}

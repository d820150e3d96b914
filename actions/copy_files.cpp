#include "actions/copy_files.h"

#include "base/text.h"
#include "platform/platform.h"
#include "results/selected_result.h"
#include "search/result_rows.h"
#include "speech/speech.h"

#include <algorithm>

namespace {

constexpr const char* CannotCopyText =
    "Cannot Copy : A Name In The Path Ends In A Dot Or Blank, Which Windows Would Change";

// Pasting a file drop reads the name the ordinary way, which drops a dot or a
// blank at the end of a name: another file, or none, would be copied.
bool PasteWouldChangeName(std::string_view path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = std::min(path.find_first_of("\\/", start), path.size());
        std::string_view name = path.substr(start, end - start);
        bool onlyDots = name.find_first_not_of('.') == std::string_view::npos;
        if (!name.empty() && !onlyDots && (name.back() == '.' || name.back() == ' ')) return true;
        start = end + 1;
    }
    return false;
}

} // namespace

// The file goes on the clipboard as the shell copies one, ready to paste into
// a folder; the full path is used whole, however long.
void CopySelectedFile() {
    int s = SelectedResultRow();
    if (s == 0) return;
    std::string_view name = ResultRows.Name(s);
    std::string full = ResultRows.FullName(s);
    if (!platform::FileExists(full)) {
        SpeakText(std::string(name) + " is not a file");
        return;
    }
    if (PasteWouldChangeName(full)) {
        SpeakText(CannotCopyText);
        return;
    }
    if (!platform::ClipboardSetFileDrop(full)) {
        SpeakClipboardNotAvailable();
        return;
    }
    SpeakText("Copying File " + full);
}

// The engine's whole export as it lies on disk, decoded as every file the
// program reads, so accented names arrive intact.
void CopyResultList() {
    std::string bytes;
    if (!platform::FileExists(ResultFile) || !platform::ReadWholeFile(ResultFile, bytes)) {
        SpeakText("Search Results not Found");
        return;
    }
    if (!platform::ClipboardSetText(DecodeFileText(bytes))) {
        SpeakClipboardNotAvailable();
        return;
    }
    SpeakText("Search Results Copied to Clipboard");
}

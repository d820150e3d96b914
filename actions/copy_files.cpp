#include "actions/copy_files.h"

#include "results/selected_result.h"
#include "app/text.h"
#include "platform/platform.h"
#include "search/result_rows.h"
#include "speech/speech.h"

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

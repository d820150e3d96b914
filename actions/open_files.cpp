#include "actions/open_files.h"

#include "base/text.h"
#include "platform/platform.h"
#include "results/selected_result.h"
#include "search/result_rows.h"
#include "speech/speech.h"

namespace {

constexpr const char* CannotOpenText =
    "Cannot Open : A Name In The Path Ends In A Dot Or Blank, Which Windows Would Change";

// The shell is handed the exact item or nothing: never a neighbour whose name
// lacks the final dot or blank.
bool OpenExactly(const std::string& path) {
    if (platform::ShellOpen(path)) return true;
    SpeakText(CannotOpenText);
    return false;
}

} // namespace

std::string AssociatedProgramName(const std::string& extension) {
    std::string name;
    if (platform::AssociatedProgram(extension, name)) return name;
    return "Error: associated program not found";
}

// Paths go to the shell exactly as the row holds them, never cut, so the file
// opened is the file the user heard.
void OpenSelectedFile() {
    int s = SelectedResultRow();
    if (s == 0) return;
    if (ResultRows.IsFolder(s)) {
        OpenSelectedFolder();
        return;
    }
    std::string name(ResultRows.Name(s));
    std::string extension = ExtensionOf(name);
    if (IsKnownExtension(extension)) {
        SpeakText("Using " + AssociatedProgramName(extension) + " to Open " + name);
        OpenExactly(ResultRows.FullName(s));
        return;
    }
    if (OpenExactly(std::string(ResultRows.Path(s))))
        SpeakText("Cannot Open File. Opening Parent Folder.");
}

void OpenSelectedFolder() {
    int s = SelectedResultRow();
    if (s == 0) return;
    std::string folder(ResultRows.Path(s));
    if (OpenExactly(folder)) SpeakText("Opening " + folder);
}

#include "actions/open_files.h"

#include "results/selected_result.h"
#include "app/text.h"
#include "platform/platform.h"
#include "search/result_rows.h"
#include "speech/speech.h"

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
        platform::ShellOpen(ResultRows.FullName(s));
        return;
    }
    platform::ShellOpen(std::string(ResultRows.Path(s)));
    SpeakText("Cannot Open File. Opening Parent Folder.");
}

void OpenSelectedFolder() {
    int s = SelectedResultRow();
    if (s == 0) return;
    std::string folder(ResultRows.Path(s));
    platform::ShellOpen(folder);
    SpeakText("Opening " + folder);
}

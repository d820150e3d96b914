#include "results/selected_result.h"

#include "platform/platform.h"
#include "results/result_list.h"
#include "search/result_rows.h"
#include "settings/search_type.h"
#include "settings/settings.h"
#include "speech/speech.h"

// The shortcut lists and the placeholder rows name no file: acting on them
// would hand the shell a bare text to look up in the program's folder.
int SelectedResultRow() {
    int s = SelectedRow();
    if (s < 1 || s > ResultRows.Count()) {
        SpeakText("No Selection");
        return 0;
    }
    if (Settings.SearchType == SettingsListType || Settings.SearchType == ActionListType) {
        SpeakText("Not Available in Help Mode");
        return 0;
    }
    std::string_view name = ResultRows.Name(s);
    if (name == EmptyRowName || name == LoadingRowName) {
        SpeakText("Empty");
        return 0;
    }
    return s;
}

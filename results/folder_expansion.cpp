#include "results/folder_expansion.h"

#include "platform/platform.h"
#include "results/selected_result.h"
#include "search/result_rows.h"
#include "search/run_search.h"
#include "settings/search_type.h"
#include "settings/settings.h"
#include "speech/speech.h"

namespace {

// The search box gets the typed term back whatever the search did.
void Expand(std::string (*folderOf)(const std::string&)) {
    std::string typed = platform::SearchBoxText();
    int s = SelectedResultRow();
    if (s == 0) return;
    Settings.SearchType = Both;
    RunFolderSearch(folderOf(std::string(ResultRows.Path(s))));
    platform::SetSearchBoxText(typed);
}

} // namespace

std::string ParentFolder(const std::string& path) {
    size_t first = path.find_first_not_of('\\');
    if (first == std::string::npos) return {};
    size_t last = path.find_last_not_of('\\');
    size_t cut = path.rfind('\\', last);
    if (cut == std::string::npos || cut < first) return {};
    return path.substr(0, cut + 1);
}

void ExpandFolder() {
    Expand([](const std::string& path) { return path; });
}

void ExpandParentFolder() {
    Expand(ParentFolder);
}

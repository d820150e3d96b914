#include "app/stale_temporaries.h"

#include "platform/platform.h"
#include "search/history.h"
#include "settings/settings.h"

namespace {

// What the update downloads beside the program before it swaps it in.
constexpr const char* UpdateDownloadFile = "lumafind.tmp";

bool AllDigits(std::string_view text) {
    if (text.empty() || text.size() > 10) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of("\\/") + 1);
}

} // namespace

uint32_t TemporaryOwner(std::string_view name, const std::vector<std::string>& targets) {
    constexpr std::string_view suffix = ".new";
    for (const std::string& target : targets) {
        if (name.size() <= target.size() + 1 + suffix.size() ||
            name.substr(0, target.size()) != target || name[target.size()] != '.' ||
            name.substr(name.size() - suffix.size()) != suffix)
            continue;
        std::string_view middle =
            name.substr(target.size() + 1, name.size() - target.size() - 1 - suffix.size());
        size_t dash = middle.find('-');
        if (dash == std::string_view::npos || !AllDigits(middle.substr(0, dash)) ||
            !AllDigits(middle.substr(dash + 1)))
            continue;
        uint64_t id = std::stoull(std::string(middle.substr(0, dash)));
        if (id > 0 && id <= UINT32_MAX) return uint32_t(id);
    }
    return 0;
}

void RemoveStaleTemporaries() {
    const std::string folder = platform::ProgramFolder();
    const std::vector<std::string> targets{NameOf(SettingsFile()), HistoryFile, UpdateDownloadFile};
    for (const std::string& name : platform::FileNamesIn(folder)) {
        uint32_t owner = TemporaryOwner(name, targets);
        if (owner != 0 && !platform::ProcessRunning(owner)) platform::RemoveFile(folder + name);
    }
}

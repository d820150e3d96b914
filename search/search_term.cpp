#include "search/search_term.h"

#include "base/text.h"
#include "platform/platform.h"
#include "settings/settings.h"

static constexpr std::string_view kAllowed =
    "1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ !%*()-_=+\\|:./?\"";

bool IsValidSearchTerm(std::string_view term) {
    return term.find_first_not_of(kAllowed) == std::string_view::npos;
}

int ValidateSearchTerm() {
    if (IsValidSearchTerm(Settings.SearchTerm)) return 1;
    platform::SetFocusTo(platform::SearchBoxId);
    platform::SearchBoxSetSelection(0, -1);
    return 0;
}

std::string SpreadTerm(std::string_view term) {
    if (TrimBlanks(term).empty()) return "Empty";
    return ReplaceAll(ReplaceAll(std::string(term), "*", " *"), "?", " ?");
}

std::string SpreadSearchTerm() {
    return SpreadTerm(Settings.SearchTerm);
}

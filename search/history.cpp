#include "search/history.h"

#include "base/text.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "speech/speech.h"

std::string SearchHistory;

namespace {

bool HistoryUnreadable = false;

} // namespace

bool SearchHistoryUnreadable() {
    return HistoryUnreadable;
}

void ResetSearchHistory() {
    SearchHistory.clear();
    HistoryUnreadable = false;
}

void ReadSearchHistory() {
    std::string bytes;
    HistoryUnreadable = platform::ReadFileWaiting(HistoryFile, bytes, HeldFileWaitMs) ==
                        platform::ReadResult::Unreadable;
    SearchHistory = DecodeFileText(bytes);
    if (TrimBlanks(SearchHistory).empty()) SearchHistory = Settings.SearchTerm;
}

std::string HistoryWithTerm(const std::string& history, const std::string& term) {
    if (history.empty()) return term; // no empty entry to step onto later
    std::vector<std::string> entries =
        SplitAll(term + HistorySeparator + history, HistorySeparator);
    if (entries.size() > size_t(HistoryLimit)) entries.resize(HistoryLimit);
    std::string joined;
    for (size_t i = 0; i < entries.size(); ++i)
        joined += (i ? HistorySeparator : "") + entries[i];
    return joined;
}

void RecordSearchTerm() {
    std::string text = platform::SearchBoxText();
    if (TrimBlanks(text).empty()) return;
    Settings.SearchTerm = CutToCharacters(text, SettingTextLimit);
    SearchHistory = HistoryWithTerm(SearchHistory, Settings.SearchTerm);
    if (!HistoryUnreadable) platform::ReplaceFile(HistoryFile, SearchHistory);
}

int StepPosition(int position, int delta, int entries) {
    position += delta;
    if (position <= 0) position = 1;
    if (position > entries) position = 1;
    return position;
}

void StepSearchHistory(int& delta) {
    std::vector<std::string> entries = SplitAll(SearchHistory, HistorySeparator);
    Settings.SearchTermNumber = StepPosition(Settings.SearchTermNumber, delta, int(entries.size()));
    const std::string& entry = entries[Settings.SearchTermNumber - 1];
    platform::SetSearchBoxText(entry);
    SpeakText("Search Term is : " + entry);
}

// The last search terms, newest first, joined by "++++"; mirrored in
// "searchterms.txt".
#pragma once

#include <string>

extern std::string SearchHistory;

constexpr const char* HistoryFile = "searchterms.txt";
constexpr const char* HistorySeparator = "++++";
constexpr int HistoryLimit = 5;

// Start-up: the file's text, or `SearchTerm` when the file is missing or blank.
// A file that is there but cannot be read starts the same way and is never
// written over in this run.
void ReadSearchHistory();
bool SearchHistoryUnreadable();
// As a new process has it: empty, nothing read.
void ResetSearchHistory();
void RecordSearchTerm();
void StepSearchHistory(int& delta);

// Pure forms.
std::string HistoryWithTerm(const std::string& history, const std::string& term);
int StepPosition(int position, int delta, int entries);

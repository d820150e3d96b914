#pragma once

#include <cstdint>
#include <string>

#include "search/engine_run.h"

// The engine's arguments of the last search as the user sees them in the
// caption and on the clipboard ("|" written "^|").
extern std::string EngineArguments;
// The history, the rows and the last arguments as a new process has them.
void ResetSearchState();

// One search of the kind in `SearchType`, from the search box to the spoken
// result.
void RunSearch();
// A search of the kind in `SearchType` for everything under `folder`, a path
// the engine reported: it goes into the search box quoted, skips the typed-term
// check and reaches the engine whole, as one term.
void RunFolderSearch(const std::string& folder);

// Reads "results.txt" into ResultRows and empties the list control; returns the
// number of rows imported (the "<empty>" row stands when there are none).
int ImportResultFile();
// The last result again: imported and shown, as a search ends.
void LoadResultFile();

// What the user hears when the engine run went wrong, or did not write the
// result file it was asked for; empty when the search succeeded.
std::string EngineFailureMessage(EngineOutcome outcome, bool resultWritten);
std::string SearchSummary(int n);
std::string SearchCaption(int64_t t0, int64_t t1, int64_t t2, int64_t frequency,
                          const std::string& arguments);

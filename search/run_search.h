#pragma once

#include <cstdint>
#include <string>

// Arguments given to the engine after "CMD /C es " by the last search.
extern std::string EngineArguments;

// One search of the kind in `SearchType`, from the search box to the spoken
// result.
void RunSearch();

// What the user hears when the engine run ended with this exit code; empty
// when it succeeded.
std::string EngineFailureMessage(bool started, uint32_t exitCode);
std::string SearchSummary(int n);
std::string SearchCaption(int64_t t0, int64_t t1, int64_t t2, int64_t frequency,
                          const std::string& arguments);

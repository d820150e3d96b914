// Checking a search term before it reaches the command interpreter, and
// spelling its wildcards out for the voice.
#pragma once

#include <string>
#include <string_view>

bool IsValidSearchTerm(std::string_view term); // pure check
// Checks `SearchTerm`; on failure the search box gets the focus with all of
// its text selected so that the next key replaces the term.
int ValidateSearchTerm();
std::string SpreadSearchTerm();
std::string SpreadTerm(std::string_view term); // pure form

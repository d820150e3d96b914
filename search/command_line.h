// The engine's command line, built from the term, the kind of search and the
// settings, and made safe for the command interpreter.
#pragma once

#include <string>
#include <string_view>

enum SearchKind { Files = 1, Folders = 2, Both = 3, Custom = 4 };

constexpr const char* EngineCommandPrefix = "CMD /C es ";

// " !" in front of each excluded folder: "exclusion.txt" when it exists,
// otherwise the two system folders; empty when exclusion is off.
std::string BuildExclusionTerms();
std::string ExclusionTermsFrom(bool fileExists, std::string_view fileText);

std::string SortOption(int sortType);
std::string CountOption(int maxResults);
// Arguments after "CMD /C es ", before filter names are expanded.
std::string EngineArgumentsFor(int kind, const std::string& exclusions, int sortType,
                               int maxResults, const std::string& term);

// Escapes, outside double quotes, the characters the command interpreter would
// act on, so the engine receives exactly what was typed and nothing else runs.
std::string EscapeForInterpreter(std::string_view arguments);
// Line breaks would end the command; they are dropped.
std::string WithoutLineBreaks(std::string_view text);

// The engine's arguments, built from the term, the kind of search and the
// settings: once as the text the user sees and keeps (caption, clipboard), once
// as the argument list the engine is started with.
#pragma once

#include "settings/search_type.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The lines of "exclusion.txt": each ends at CR LF or LF, a NUL ends its line
// early, and the empty piece after a final line break is a line too.
std::vector<std::string> ExclusionLines(std::string_view fileText);

// "exclusion.txt" as read from the program folder. None when it is there but
// cannot be read: a search must then not run without the user's exclusions.
struct ExclusionFile {
    bool exists = false;
    std::string text; // decoded
};
std::optional<ExclusionFile> ReadExclusionFile();

// " !" in front of each excluded folder: "exclusion.txt" when it exists,
// otherwise the two system folders; empty when exclusion is off; none when
// the file cannot be read.
std::optional<std::string> BuildExclusionTerms();
std::string ExclusionTermsFrom(bool fileExists, std::string_view fileText);
// The same folders as engine arguments, "!" and the folder, one argument each.
std::vector<std::string> ExclusionArgumentsFrom(bool fileExists, std::string_view fileText);

std::string SortOption(int sortType);
std::string CountOption(int maxResults);
// The arguments as text, before filter names are expanded. A Custom search
// asks for the export unless the term does; its other words must have passed
// CheckCustomWords.
std::string EngineArgumentsFor(int kind, const std::string& exclusions, int sortType,
                               int maxResults, const std::string& term);
// The same arguments as the list the engine receives; filter names expanded.
// Outside Custom searches every word of the term reaches it as a name fragment.
std::vector<std::string> EngineArgumentListFor(int kind, const std::vector<std::string>& exclusions,
                                               int sortType, int maxResults,
                                               const std::string& term);

// The term as typed, split into engine terms: blanks (and line breaks) outside
// double quotes separate them, the quotes only group. Nothing else is special.
std::vector<std::string> TermArguments(std::string_view term);
// A folder path the engine reported, as one engine term in double quotes, so
// that its blanks group and it stays a single argument; empty stays empty.
std::string QuotedFolderTerm(std::string_view folder);

// Every "|" written "^|", the form users know from the caption and clipboard.
std::string MarkVerticalBars(std::string_view arguments);

#include "search/command_line.h"

#include "app/text.h"
#include "platform/platform.h"
#include "settings/settings.h"

std::string ExclusionTermsFrom(bool fileExists, std::string_view fileText) {
    if (!fileExists) return " !c:\\windows\\ !c:\\$recycle.bin\\ ";
    std::string terms;
    for (const std::string& line : SplitAll(fileText, "\r\n"))
        terms += " !" + line;
    return terms;
}

std::string BuildExclusionTerms() {
    if (Settings.ExcludeSystemFolders == 0) return {};
    std::string bytes;
    bool exists = platform::ReadWholeFile("exclusion.txt", bytes);
    return ExclusionTermsFrom(exists, DecodeFileText(bytes));
}

std::string SortOption(int sortType) {
    return sortType != 0 ? " -sort dm " : " -sort name ";
}

std::string CountOption(int maxResults) {
    return maxResults == 0 ? std::string() : " -n" + NumberText(maxResults);
}

static const char* KindOptions(int kind) {
    switch (kind) {
    case Files:
        return " -size -size-format 2 -dm /a-d ";
    case Folders:
        return " -size -size-format 2 -dm /ad ";
    default:
        return " -size -size-format 2 -dm ";
    }
}

std::string EngineArgumentsFor(int kind, const std::string& exclusions, int sortType,
                               int maxResults, const std::string& term) {
    if (kind == Custom) return term;
    return exclusions + KindOptions(kind) + SortOption(sortType) + CountOption(maxResults) +
           " -export-csv results.txt " + term;
}

std::string EscapeForInterpreter(std::string_view arguments) {
    std::string out;
    out.reserve(arguments.size() + 8);
    bool quoted = false;
    for (char c : arguments) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '|' || c == '&' || c == '<' || c == '>' || c == '^'))
            out += '^';
        out += c;
    }
    return out;
}

std::string WithoutLineBreaks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

#include "search/command_line.h"

#include "base/text.h"
#include "platform/platform.h"
#include "search/engine_options.h"
#include "search/filter_groups.h"
#include "settings/settings.h"

namespace {

const char* const SystemFolders[] = {"c:\\windows\\", "c:\\$recycle.bin\\"};

const char* KindOptions(int kind) {
    switch (kind) {
    case Files:
        return " -size -size-format 2 -dm /a-d ";
    case Folders:
        return " -size -size-format 2 -dm /ad ";
    default:
        return " -size -size-format 2 -dm ";
    }
}

constexpr const char* ExportOption = " -export-csv results.txt ";
// A Custom search asks for the same export, in front of the user's own words.
constexpr const char* CustomExportOption = "-export-csv results.txt ";

// Option texts carry their own blanks; as arguments they are the words between.
void AddWords(std::vector<std::string>& list, std::string_view text) {
    for (const std::string& word : SplitAll(text, " "))
        if (!word.empty()) list.push_back(word);
}

} // namespace

std::vector<std::string> ExclusionLines(std::string_view fileText) {
    std::vector<std::string> lines = SplitAll(fileText, "\n");
    for (std::string& line : lines) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = line.substr(0, line.find('\0'));
    }
    return lines;
}

std::string ExclusionTermsFrom(bool fileExists, std::string_view fileText) {
    if (!fileExists) return " !c:\\windows\\ !c:\\$recycle.bin\\ ";
    std::string terms;
    for (const std::string& line : ExclusionLines(fileText))
        terms += " !" + line;
    return terms;
}

std::vector<std::string> ExclusionArgumentsFrom(bool fileExists, std::string_view fileText) {
    std::vector<std::string> arguments;
    if (!fileExists) {
        for (const char* folder : SystemFolders)
            arguments.push_back(std::string("!") + folder);
        return arguments;
    }
    for (const std::string& line : ExclusionLines(fileText))
        arguments.push_back("!" + line);
    return arguments;
}

std::optional<ExclusionFile> ReadExclusionFile() {
    std::string bytes;
    platform::ReadResult result = platform::ReadFileWaiting("exclusion.txt", bytes, HeldFileWaitMs);
    if (result == platform::ReadResult::Unreadable) return std::nullopt;
    return ExclusionFile{result == platform::ReadResult::Read, DecodeFileText(bytes)};
}

std::optional<std::string> BuildExclusionTerms() {
    if (Settings.ExcludeSystemFolders == 0) return std::string();
    std::optional<ExclusionFile> file = ReadExclusionFile();
    if (!file) return std::nullopt;
    return ExclusionTermsFrom(file->exists, file->text);
}

std::string SortOption(int sortType) {
    return sortType != 0 ? " -sort dm " : " -sort name ";
}

std::string CountOption(int maxResults) {
    return maxResults == 0 ? std::string() : " -n" + NumberText(maxResults);
}

std::string EngineArgumentsFor(int kind, const std::string& exclusions, int sortType,
                               int maxResults, const std::string& term) {
    if (kind == Custom)
        return CheckCustomWords(TermArguments(term)).exportTyped ? term : CustomExportOption + term;
    return exclusions + KindOptions(kind) + SortOption(sortType) + CountOption(maxResults) +
           ExportOption + NameFragmentsText(term);
}

std::vector<std::string> TermArguments(std::string_view term) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : term) {
        if (c == '"') {
            quoted = !quoted, any = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (any) words.push_back(word);
            word.clear(), any = false;
        } else {
            word += c, any = true;
        }
    }
    if (any) words.push_back(word);
    return words;
}

std::string QuotedFolderTerm(std::string_view folder) {
    if (folder.empty()) return {};
    std::string term(1, '"');
    term.append(folder).push_back('"');
    return term;
}

std::vector<std::string> EngineArgumentListFor(int kind, const std::vector<std::string>& exclusions,
                                               int sortType, int maxResults,
                                               const std::string& term) {
    std::vector<std::string> list;
    if (kind == Custom) {
        AddWords(list, CustomExportOption);
        for (std::string& word : CheckCustomWords(TermArguments(term)).words)
            list.push_back(std::move(word));
    } else {
        list = exclusions;
        AddWords(list, KindOptions(kind));
        AddWords(list, SortOption(sortType));
        AddWords(list, CountOption(maxResults));
        AddWords(list, ExportOption);
        for (std::string& word : TermArguments(term))
            list.push_back(AsNameFragment(std::move(word)));
    }
    for (std::string& argument : list)
        ExpandFilterGroups(argument);
    return list;
}

std::string MarkVerticalBars(std::string_view arguments) {
    return ReplaceAll(std::string(arguments), "|", "^|");
}

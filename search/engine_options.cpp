#include "search/engine_options.h"

#include "base/command_line.h"
#include "base/text.h"

#include <algorithm>
#include <array>

namespace {

// Options of the outside engine's client and of our stand-in that only shape
// what is searched and how it is listed, with how many values follow each.
// Anything that writes a file, saves or clears settings or the database, ends
// or restarts the engine, or waits for a key is absent on purpose.
struct ReadingOption {
    const char* name;
    int values;
};
constexpr std::array<ReadingOption, 88> ReadingOptions{{
    {"i", 0},
    {"case", 0},
    {"no-case", 0},
    {"w", 0},
    {"ww", 0},
    {"whole-word", 0},
    {"whole-words", 0},
    {"no-whole-word", 0},
    {"no-whole-words", 0},
    {"p", 0},
    {"match-path", 0},
    {"no-match-path", 0},
    {"a", 0},
    {"diacritics", 0},
    {"no-diacritics", 0},
    {"s", 0},
    {"sort-ascending", 0},
    {"sort-descending", 0},
    {"name", 0},
    {"path-column", 0},
    {"full-path-and-name", 0},
    {"filename-column", 0},
    {"extension", 0},
    {"ext", 0},
    {"size", 0},
    {"date-created", 0},
    {"dc", 0},
    {"date-modified", 0},
    {"dm", 0},
    {"date-accessed", 0},
    {"da", 0},
    {"attributes", 0},
    {"attribs", 0},
    {"attrib", 0},
    {"file-list-file-name", 0},
    {"run-count", 0},
    {"date-run", 0},
    {"date-recently-changed", 0},
    {"rc", 0},
    {"highlight", 0},
    {"csv", 0},
    {"efu", 0},
    {"txt", 0},
    {"m3u", 0},
    {"m3u8", 0},
    {"tsv", 0},
    {"no-digit-grouping", 0},
    {"size-leading-zero", 0},
    {"run-count-leading-zero", 0},
    {"double-quote", 0},
    {"no-header", 0},
    {"utf8-bom", 0},
    {"h", 0},
    {"help", 0},
    {"version", 0},
    {"get-everything-version", 0},
    {"get-result-count", 0},
    {"get-total-size", 0},
    {"ipc1", 0},
    {"ipc2", 0},
    {"hide-empty-search-results", 0},
    {"empty-search-help", 0},
    {"no-result-error", 0},
    {"r", 1},
    {"regex", 1},
    {"o", 1},
    {"offset", 1},
    {"n", 1},
    {"max-results", 1},
    {"path", 1},
    {"parent-path", 1},
    {"parent", 1},
    {"sort", 1},
    {"size-format", 1},
    {"date-format", 1},
    {"timeout", 1},
    {"instance", 1},
    {"highlight-color", 1},
    {"filename-color", 1},
    {"name-color", 1},
    {"path-color", 1},
    {"extension-color", 1},
    {"size-color", 1},
    {"filename-width", 1},
    {"name-width", 1},
    {"path-width", 1},
    {"extension-width", 1},
    {"size-width", 1},
}};

constexpr const char* ExportName = "export-csv";
constexpr const char* ExportFile = "results.txt";

// "-sort", "/sort" and "--sort" name the same option.
std::string OptionName(std::string_view word) {
    size_t start = word.find_first_not_of("-/");
    return LowerCase(std::string(word.substr(std::min(start, word.size()))));
}

// "/a-d", "/ad", "/arh": attribute filters; "/on", "/o-d": sort orders.
bool IsAttributeOrSortForm(const std::string& name) {
    if (name.size() > 1 && name[0] == 'a')
        return name.find_first_not_of("rhsdavntplcoie-", 1) == std::string::npos;
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'o') {
        std::string order = name.substr(name[1] == '-' ? 2 : 1);
        return order.size() == 1 && std::string_view("nsed").find(order[0]) != std::string::npos;
    }
    return false;
}

// How many values follow the option; -1 when it may not reach the engine.
int ValuesOf(std::string_view word) {
    std::string name = OptionName(word);
    if (name.empty()) return -1;
    if (IsAttributeOrSortForm(name)) return 0;
    for (const ReadingOption& option : ReadingOptions)
        if (name == option.name) return option.values;
    return -1;
}

bool LooksLikeOptionWord(std::string_view word) {
    return !word.empty() && (word[0] == '-' || word[0] == '/');
}

// A value may be a negative number ("-n -5"), never another option: an engine
// that reads its options one by one could otherwise be handed "-export-csv"
// as the value of one option and then read it as an option of its own.
bool IsValue(std::string_view word) {
    if (!LooksLikeOptionWord(word)) return true;
    return word.size() > 1 && word[0] == '-' &&
           word.find_first_not_of("0123456789", 1) == std::string_view::npos;
}

} // namespace

bool LooksLikeOption(std::string_view word) {
    return LooksLikeOptionWord(word);
}

std::string AsNameFragment(std::string word) {
    if (!LooksLikeOption(word)) return word;
    return '"' + word + '"';
}

std::string NameFragmentsText(std::string_view term) {
    std::string text;
    size_t i = 0;
    while (i < term.size()) {
        if (term[i] == ' ' || term[i] == '\t' || term[i] == '\r' || term[i] == '\n') {
            text += term[i++];
            continue;
        }
        // One word, split as the argument list splits it: quotes only group.
        size_t start = i;
        bool quoted = false;
        std::string value;
        for (; i < term.size(); ++i) {
            char c = term[i];
            if (c == '"')
                quoted = !quoted;
            else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n'))
                break;
            else
                value += c;
        }
        text += LooksLikeOption(value) ? QuoteArgument(AsNameFragment(value))
                                       : std::string(term.substr(start, i - start));
    }
    return text;
}

CustomArguments CheckCustomWords(const std::vector<std::string>& words) {
    CustomArguments checked;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!LooksLikeOption(word)) {
            checked.words.push_back(word);
            continue;
        }
        if (OptionName(word) == ExportName && i + 1 < words.size() &&
            LowerCase(words[i + 1]) == ExportFile) {
            checked.exportTyped = true;
            ++i;
            continue;
        }
        int values = ValuesOf(word);
        bool complete = values >= 0 && i + size_t(values) < words.size();
        for (int k = 1; complete && k <= values; ++k)
            complete = IsValue(words[i + size_t(k)]);
        if (!complete) {
            checked.refused = word;
            return checked;
        }
        for (int k = 0; k <= values; ++k)
            checked.words.push_back(words[i + size_t(k)]);
        i += size_t(values);
    }
    return checked;
}

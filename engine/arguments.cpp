// The command line: options and search terms.
#include "engine/es.h"

#include <charconv>

namespace es {

namespace {

std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

bool ParseCount(std::string_view text, int64_t& count) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
    count = value > 0 ? value : 0; // zero or a negative count puts no limit on the matches
    return true;
}

bool IsOption(std::string_view arg) {
    return arg.size() > 1 && (arg[0] == '-' || arg[0] == '/');
}

// Options that take a value: checks the value and stores it; false when it is not acceptable.
bool TakeValue(const std::string& option, const std::string& value, Request& request) {
    if (option == "-n") return ParseCount(value, request.limit);
    if (option == "-size-format") {
        int64_t format;
        return ParseCount(value, format); // every format is written as a count of bytes
    }
    if (option == "-export-csv") {
        request.exportCsv = true;
        request.exportFile = value;
        return !value.empty();
    }
    std::string v = AsciiLower(value);
    if (v == "name")
        request.sortBy = SortBy::Name;
    else if (v == "dm" || v == "date-modified")
        request.sortBy = SortBy::DateModified;
    else
        return false;
    return true;
}

bool TakeFlag(const std::string& option, Request& request) {
    if (option == "/a-d")
        request.only = Only::Files;
    else if (option == "/ad")
        request.only = Only::Folders;
    else if (option == "-size")
        request.wantSize = true;
    else if (option == "-dm")
        request.wantDate = true;
    else
        return false;
    return true;
}

bool TakesValue(const std::string& option) {
    return option == "-n" || option == "-size-format" || option == "-sort" ||
           option == "-export-csv";
}

// A value that is itself an option means the value was left out.
bool IsKnownOption(const std::string& arg) {
    Request scratch;
    std::string option = AsciiLower(arg);
    return TakesValue(option) || TakeFlag(option, scratch);
}

void AddTerm(std::string_view arg, Request& request) {
    Term term = ParseTerm(arg);
    if (term.alternatives.empty()) return; // a bare "!" or "|" asks for nothing
    for (const Pattern& p : term.alternatives)
        request.usesPath = request.usesPath || p.onPath;
    request.terms.push_back(std::move(term));
}

} // namespace

int ParseArguments(const std::vector<std::string>& args, Request& request, std::string& message) {
    bool termsOnly = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (termsOnly || !IsOption(arg)) {
            AddTerm(arg, request);
            continue;
        }
        std::string option = AsciiLower(arg);
        if (option == "--") {
            termsOnly = true;
        } else if (TakeFlag(option, request)) {
        } else if (TakesValue(option)) {
            if (i + 1 >= args.size() || IsKnownOption(args[i + 1])) {
                message = "es: option " + arg + " needs a value";
                return ExitMissingValue;
            }
            if (!TakeValue(option, args[++i], request)) {
                message = "es: bad value for " + arg + ": " + args[i];
                return ExitBadValue;
            }
        } else if (option.starts_with("-n") && ParseCount(option.substr(2), request.limit)) {
            // "-n-5" is how a negative count arrives, glued to the option
        } else {
            message = "es: unknown option: " + arg;
            return ExitUnknownOption;
        }
    }
    return ExitOk;
}

} // namespace es

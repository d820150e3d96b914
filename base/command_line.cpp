#include "base/command_line.h"

std::string QuoteArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string_view::npos)
        return std::string(argument);
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count as escapes only in front of a quote.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\'); // the closing quote must stay a quote
    return out + '"';
}

std::string JoinCommandLine(std::string_view program, const std::vector<std::string>& arguments) {
    // The program name is read up to the next quote, with no escapes at all.
    bool quoted = program.find_first_of(" \t") != std::string_view::npos;
    std::string line;
    if (quoted) line += '"';
    line.append(program);
    if (quoted) line += '"';
    for (const std::string& argument : arguments) {
        line += ' ';
        line.append(QuoteArgument(argument));
    }
    return line;
}

size_t Utf16Length(std::string_view text) {
    size_t units = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++units; // each character starts once
        if (c >= 0xF0) ++units;          // and takes a surrogate pair beyond the first plane
    }
    return units;
}

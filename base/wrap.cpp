#include "base/wrap.h"

#include "base/text.h"

static size_t NextBoundary(std::string_view text, size_t pos) {
    NextCodePoint(text, pos);
    return pos;
}

// The end of the longest piece from `from` that fits, never less than one
// code point.
static size_t FittingEnd(std::string_view text, size_t from, int width,
                         const std::function<int(std::string_view)>& measure) {
    size_t end = NextBoundary(text, from);
    while (end < text.size()) {
        size_t next = NextBoundary(text, end);
        if (measure(text.substr(from, next - from)) > width) break;
        end = next;
    }
    return end;
}

std::vector<std::string> WrapText(std::string_view text, int width,
                                  const std::function<int(std::string_view)>& measure) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = FittingEnd(text, pos, width, measure);
        size_t next = end;
        if (end < text.size() && text[end] != ' ') {
            size_t blank = text.rfind(' ', end - 1);
            if (blank != std::string_view::npos && blank > pos &&
                text.find_first_not_of(' ', pos) < blank) {
                size_t wordStart = blank + 1;
                size_t wordEnd = std::min(text.find(' ', wordStart), text.size());
                // A word that fits on a line of its own goes there whole.
                if (measure(text.substr(wordStart, wordEnd - wordStart)) <= width)
                    end = next = wordStart;
            }
        }
        std::string_view line = text.substr(pos, end - pos);
        while (!line.empty() && line.back() == ' ')
            line.remove_suffix(1);
        lines.emplace_back(line);
        pos = next;
        while (pos < text.size() && text[pos] == ' ' && !lines.empty())
            ++pos;
    }
    return lines;
}

#include "settings/ini_codec.h"

#include "base/text.h"

static bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

static std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::optional<std::string> IniLookup(std::string_view text, std::string_view section,
                                     std::string_view key) {
    bool inSection = false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = TrimSpace(line);
        if (line.empty()) continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            std::string_view name =
                line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
            inSection = SameIgnoringCase(TrimSpace(name), section);
            continue;
        }
        size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) continue;
        if (SameIgnoringCase(TrimSpace(line.substr(0, equals)), key))
            return std::string(Unquoted(TrimSpace(line.substr(equals + 1))));
    }
    return std::nullopt;
}

std::string IniWrite(std::string_view section, const IniEntries& entries) {
    std::string out = "[";
    out.append(section).append("]\r\n");
    for (const auto& [key, value] : entries)
        out += key + "=" + value + "\r\n";
    return out;
}

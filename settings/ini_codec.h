// The INI file form the profile functions read and write: a "[Section]" line,
// then "Key=Value" lines, CR LF line ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using IniEntries = std::vector<std::pair<std::string, std::string>>;

// Value of `key` in `section` (both compared without regard to case; the first
// one wins), trimmed of blanks and tabs and of one pair of enclosing quotes as
// the profile functions do; nothing when the key is missing.
std::optional<std::string> IniLookup(std::string_view text, std::string_view section,
                                     std::string_view key);

std::string IniWrite(std::string_view section, const IniEntries& entries);

// The shell: opens are recorded, associations come from the world's table.
#include "backends/testing/testing.h"

#include <algorithm>
#include <cctype>

namespace platform {

using testing::TheWorld;

// Windows' path normalisation removes the dots and blanks that end a name
// (only the "\\?\" form keeps them); a volume may have no short names.
static bool NormalisationChanges(const std::string& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = std::min(path.find_first_of("\\/", start), path.size());
        std::string name = path.substr(start, end - start);
        if (!name.empty() && name.find_first_not_of('.') != std::string::npos &&
            (name.back() == '.' || name.back() == ' '))
            return true;
        start = end + 1;
    }
    return false;
}

bool ShellOpen(const std::string& path) {
    if (NormalisationChanges(path) && !TheWorld().shortNames) return false;
    TheWorld().shellOpens.push_back(path);
    TheWorld().events.push_back("shell: open " + path);
    return true;
}

static bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(uint8_t(x)) == std::tolower(uint8_t(y));
           });
}

bool AssociatedProgram(const std::string& extension, std::string& name) {
    name.clear();
    for (const auto& [registered, program] : TheWorld().associations)
        if (SameIgnoringCase(registered, extension)) {
            name = program;
            return true;
        }
    return false;
}

} // namespace platform

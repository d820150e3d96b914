// The shell: opens are recorded, associations come from the world's table.
#include "platform/testing/testing.h"

#include <algorithm>
#include <cctype>

namespace platform {

using testing::TheWorld;

void ShellOpen(const std::string& path) {
    TheWorld().shellOpens.push_back(path);
    TheWorld().events.push_back("shell: open " + path);
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

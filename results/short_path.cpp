#include "app/text.h"
#include "results/result_list.h"
#include "settings/settings.h"

std::string ShortFolderPath(const std::string& path) {
    if (Settings.ShortPath == 0 || path.empty()) return {};
    std::string t = path.back() == '\\' ? path : path + "\\";
    std::vector<std::string> fields = SplitAll(t, "\\");
    size_t n = fields.size();
    // Up to three names (C:\Users\Ann\) nothing would be left out, and "..."
    // would claim otherwise: the path is shown whole.
    if (n < 5) return t;
    return fields[0] + "\\" + fields[1] + "\\...\\" + fields[n - 2];
}

#include "base/text.h"
#include "results/result_list.h"
#include "settings/settings.h"

std::string ShortFolderPath(const std::string& path) {
    if (Settings.ShortPath == 0 || path.empty()) return {};
    std::string t = path.back() == '\\' ? path : path + "\\";
    // A network path's server is its first name, not two empty ones.
    size_t names = t.starts_with("\\\\") ? 2 : 0;
    std::vector<std::string> fields = SplitAll(std::string_view(t).substr(names), "\\");
    size_t n = fields.size();
    // Up to three names (C:\Users\Ann\) nothing would be left out, and "..."
    // would claim otherwise: the path is shown whole.
    if (n < 5) return t;
    return t.substr(0, names) + fields[0] + "\\" + fields[1] + "\\...\\" + fields[n - 2];
}

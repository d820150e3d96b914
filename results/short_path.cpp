#include "app/text.h"
#include "results/result_list.h"
#include "settings/settings.h"

std::string ShortFolderPath(const std::string& path) {
    if (Settings.ShortPath == 0 || path.empty()) return {};
    std::string t = path.back() == '\\' ? path : path + "\\";
    std::vector<std::string> fields = SplitAll(t, "\\");
    size_t n = fields.size();
    // Three folders or fewer: shortening would hide nothing, so show it whole.
    if (n < 5) return path;
    return fields[0] + "\\" + fields[1] + "\\...\\" + fields[n - 2];
}

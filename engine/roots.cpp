// Which folders are searched: LUMAFIND_ES_ROOTS, else es-roots.txt beside the program, else
// the user's home folder.
#include "engine/es.h"

#include <algorithm>

namespace es {

namespace {

std::string Trim(std::string_view s) {
    size_t from = s.find_first_not_of(" \t\r\n");
    if (from == std::string_view::npos) return "";
    size_t to = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(from, to - from + 1));
}

std::vector<std::string> SplitList(std::string_view text, char separator) {
    std::vector<std::string> items;
    while (true) {
        size_t end = text.find(separator);
        std::string item = Trim(text.substr(0, end));
        if (!item.empty() && !item.starts_with('#')) items.push_back(item);
        if (end == std::string_view::npos) return items;
        text.remove_prefix(end + 1);
    }
}

std::vector<std::string> RootsFile() {
    std::string content;
    if (!ReadWholeFile(JoinHost(ProgramFolder(), "es-roots.txt"), content)) return {};
    if (content.starts_with("\xEF\xBB\xBF")) content.erase(0, 3);
    return SplitList(content, '\n');
}

// A root inside another root would report its matches twice.
bool InsideAny(const std::string& folded, const std::vector<std::string>& others) {
    for (const std::string& other : others)
        if (folded != other && folded.starts_with(other)) return true;
    return false;
}

std::vector<std::string> WithoutNested(const std::vector<std::string>& roots) {
    std::vector<std::string> folded, kept, keptFolded;
    for (const std::string& root : roots) {
        std::string f = Fold(ShownPath(root));
        folded.push_back(f.ends_with('\\') ? f : f + '\\');
    }
    for (size_t i = 0; i < roots.size(); ++i) {
        bool seen = std::find(keptFolded.begin(), keptFolded.end(), folded[i]) != keptFolded.end();
        if (seen || InsideAny(folded[i], folded)) continue;
        kept.push_back(roots[i]);
        keptFolded.push_back(folded[i]);
    }
    return kept;
}

} // namespace

std::vector<std::string> FindRoots() {
    std::vector<std::string> named = SplitList(Environment("LUMAFIND_ES_ROOTS"), ';');
    if (named.empty()) named = RootsFile();
    if (named.empty()) named.push_back(HomeFolder());
    std::vector<std::string> roots;
    for (const std::string& root : named)
        roots.push_back(CleanFolder(HostPath(root)));
    return WithoutNested(roots);
}

} // namespace es

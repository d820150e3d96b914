#include "search/file_types.h"

#include "base/text.h"

std::string ExtensionOf(std::string_view name) {
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || CutToCharacters(name, 260).size() < name.size()) return {};
    return LowerCase(name.substr(dot));
}

bool IsKnownExtension(const std::string& extension) {
    if (extension.empty()) return false;
    for (std::string_view group :
         {DocumentExtensions, ImageExtensions, AudioExtensions, VideoExtensions})
        if (group.find(extension) != std::string_view::npos) return true;
    return false;
}

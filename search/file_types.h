// What kind of file a result's name says it is, by its extension.
#pragma once

#include <string>
#include <string_view>

// The four groups of extensions opened directly; any other file opens its
// folder instead. The image preview shows the same image group.
constexpr const char* DocumentExtensions =
    ".doc .docx .dat .bas .inc .txt .pdf .xls .xlsx .ppt .pptx .htm .html .rtf .ini .bat .xml";
constexpr const char* ImageExtensions = ".jpg .bmp .png .ico .gif .jpeg .tiff .tif .svg .webp";
constexpr const char* AudioExtensions = ".mp3 .wav .aac .ogg .flac .aiff .m4a .wma";
constexpr const char* VideoExtensions = ".mov .mp4 .avi .wmv .flv";

// From the last period on, in lower case; empty without one, and for names
// longer than 260 characters.
std::string ExtensionOf(std::string_view name);
// Found anywhere in one of the groups' texts, so fragments such as ".ht" count.
bool IsKnownExtension(const std::string& extension);

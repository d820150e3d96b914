// Writing a new file whole on Windows, for both Windows programs of the engine.
#pragma once

#include <string>
#include <string_view>
#include <windows.h>

namespace es {

// Creates the file (it must not exist yet), writes all of content and flushes it to the disk;
// false when any step fails. security gives the new file's access list, or null for the default.
bool WriteNewFileFlushed(const std::wstring& path, std::string_view content,
                         SECURITY_ATTRIBUTES* security);

} // namespace es

// UTF-8 to and from the system's UTF-16, for both Windows programs of the engine.
#pragma once

#include <string>
#include <string_view>

namespace es {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

} // namespace es

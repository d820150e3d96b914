// How a program's argument list becomes one Windows command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The program name first, quoted when it holds a blank, then each argument so
// that the C runtime and CommandLineToArgvW hand the program exactly that list.
std::string JoinCommandLine(std::string_view program, const std::vector<std::string>& arguments);
std::string QuoteArgument(std::string_view argument);

// Characters the text takes in UTF-16, the unit of the command-line limit.
size_t Utf16Length(std::string_view text);
constexpr size_t CommandLineLimit = 32766; // 32,767 with the closing NUL

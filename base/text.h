// Small text helpers shared by every subsystem. All texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Decimal with one blank in front of a number that is 0 or positive, the way
// the program writes numbers into messages, the INI file and the engine's count.
std::string NumberText(int64_t value);

// Masked numbers: "###,##0" (digits grouped, at least one digit),
// "###,###" (grouped, nothing for 0) and "###.0" (one decimal, rounded).
std::string GroupedNumber(int64_t value);        // "###,##0" and "##,##0"
std::string GroupedNumberOrEmpty(int64_t value); // "###,###"
std::string OneDecimal(double value);            // "###.0"

// Rounds halves to the even neighbour, as every stored product and quotient does.
int64_t RoundHalfEven(double value);

std::string_view TrimBlanks(std::string_view text); // blanks only, both ends
std::string_view TrimSpace(std::string_view text);  // blanks and tabs, both ends

// Replaces every occurrence of `from` (not empty) by `to`.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);
std::vector<std::string> SplitAll(std::string_view text, std::string_view separator);

// Cuts a text to at most `characters` characters, never inside a character.
std::string CutToCharacters(std::string_view text, size_t characters);
// Bytes taken by the first `characters` characters of a text.
size_t PrefixBytes(std::string_view text, size_t characters);

// File bytes as program text, read as the profile functions read them: UTF-16
// (little or big endian) after its byte-order mark, UTF-8 when valid (a BOM is
// skipped), otherwise Windows-1252.
std::string DecodeFileText(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// Lower case with the rules of the Western code page: ASCII and Latin-1 letters.
std::string LowerCase(std::string_view text);
char32_t LowerCodePoint(char32_t c);

// Reads the code point at `pos` and advances it; invalid bytes come out as U+FFFD.
char32_t NextCodePoint(std::string_view text, size_t& pos);
void AppendCodePoint(std::string& out, char32_t c);

// Val-style number at the start of a text: leading blanks skipped, an optional
// sign, digits with an optional fraction; rounded half-even; 0 when none.
int64_t LeadingNumber(std::string_view text);

// Texts spelled out character by character, for checking exactly what was
// typed or found.
#pragma once

#include <string>
#include <string_view>

// Each character followed by " : ", the few the voice would swallow or misread
// named in lower-case words; blanks trimmed at both ends of the whole.
std::string SpellingOf(std::string_view text);

// The search box's text, spelled.
void SpellSearchTerm();

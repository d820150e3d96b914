// Breaking a text into lines of a given width, as the status bar shows it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The lines of `text` (UTF-8) no wider than `width` as `measure` gives it.
// Lines break at blanks; a word wider than a whole line is broken where the
// line ends, starting on the line it follows, so no line is left short before
// it. Every line holds at least one character.
std::vector<std::string> WrapText(std::string_view text, int width,
                                  const std::function<int(std::string_view)>& measure);

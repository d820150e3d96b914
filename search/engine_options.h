// Which words of a term the engine may read as options.
//
// The engine's client takes any argument that starts with "-" or "/" as an
// option, and some options write files, save or clear its settings and
// database, or end it. In a File, Folder or Both search every word is a name
// fragment; in a Custom search only options that read are let through.
#pragma once

#include <string>
#include <string_view>
#include <vector>

constexpr const char* OptionNotAllowedText = "Search Option Not Allowed : ";

// True for a word the engine would take as an option.
bool LooksLikeOption(std::string_view word);
// The word as the engine must receive it to read it as text: one that looks
// like an option goes in double quotes, which the engine's query drops.
std::string AsNameFragment(std::string word);
// The term's text with each such word written in the quoted form, as the
// caption and the clipboard show the arguments.
std::string NameFragmentsText(std::string_view term);

struct CustomArguments {
    std::vector<std::string> words; // the user's words, a typed export request left out
    bool exportTyped = false;       // "-export-csv results.txt" was among them
    std::string refused;            // the first word that may not reach the engine
};
// Checks a Custom term's words: options that only read pass with their values;
// "-export-csv results.txt" is the export the program asks for anyway; any
// other option, known or not, is refused.
CustomArguments CheckCustomWords(const std::vector<std::string>& words);

#include "speech/spelling.h"

#include "base/text.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "speech/speech.h"

namespace {

const char* SpelledName(char32_t c) {
    switch (c) {
    case '*':
        return " asterisk : ";
    case '?':
        return " question mark : ";
    case '\\':
        return " backslash : ";
    case ':':
        return " colon : ";
    case '.':
        return " period : ";
    case ',':
        return " comma : ";
    case '_':
        return " underscore : ";
    case '-':
        return " dash : ";
    case ' ':
        return " space : ";
    }
    return nullptr;
}

} // namespace

std::string SpellingOf(std::string_view text) {
    std::string spelled;
    for (size_t pos = 0; pos < text.size();) {
        size_t start = pos;
        const char* name = SpelledName(NextCodePoint(text, pos));
        if (name)
            spelled += name;
        else
            spelled.append(text.substr(start, pos - start)) += " : ";
    }
    return std::string(TrimBlanks(spelled));
}

void SpellSearchTerm() {
    Settings.SearchTerm = CutToCharacters(platform::SearchBoxText(), SettingTextLimit);
    SpeakText("Spelling Search Term: " + SpellingOf(Settings.SearchTerm));
}

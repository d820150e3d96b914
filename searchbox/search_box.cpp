#include "searchbox/search_box.h"

#include "app/layout.h"
#include "appearance/appearance.h"
#include "base/text.h"
#include "platform/events.h"
#include "platform/key_codes.h"
#include "platform/platform.h"
#include "search/history.h"
#include "search/search_term.h"
#include "settings/settings.h"
#include "speech/beep.h"
#include "speech/key_names.h"
#include "speech/speech.h"

#include <initializer_list>
#include <string_view>

namespace {

constexpr const char* FocusWords = "SearchBox has focus. Search term is ";
constexpr const char* RefusedWords = " : Invalid Search String Character";
constexpr const char* DeleteWord = "Delete ";
constexpr const char* EraseWord = "Erase ";
constexpr const char* KeyNameSeparator = " : ";
constexpr int WheelFontStep = 4;

bool IsLetterKey(int key) {
    return key >= 'A' && key <= 'Z';
}

bool IsOneOf(int key, std::initializer_list<int> keys) {
    for (int k : keys)
        if (k == key) return true;
    return false;
}

// Keys whose unshifted character is refused anyway: a beep says so at once.
bool IsRefusedUnshiftedKey(int key) {
    return IsOneOf(key, {VkOem3, VkOem4, VkOem6, VkOem7, VkOemComma});
}

bool IsSpokenKey(int key, bool shift) {
    if (IsLetterKey(key)) return true;
    if (!shift)
        return (key >= '0' && key <= '9') ||
               IsOneOf(key, {VkOemMinus, VkSubtract, VkOemPlus, VkOem5, VkOemPeriod, VkOem2});
    return IsOneOf(key, {'1', '5', '8', '9', '0', VkOemMinus, VkSubtract, VkOemPlus, VkOem5, VkOem1,
                         VkOem7, VkOemPeriod, VkOem2});
}

std::string SelectedText() {
    int start = 0, end = 0;
    platform::SearchBoxGetSelection(start, end);
    return start < end ? platform::SearchBoxRange(start, end) : std::string();
}

// With a selection, Delete and BackSpace remove the selection, so that is what
// is named; otherwise the one character on the side the key erases.
std::string WhatIsRemoved(const std::string& oneCharacter) {
    std::string selected = SelectedText();
    if (selected.empty()) return DescribeCharacter(oneCharacter);
    size_t pos = 0;
    NextCodePoint(selected, pos);
    return pos == selected.size() ? DescribeCharacter(selected) : selected;
}

void SpeakWordAtSpace() {
    std::string words;
    int letters = Settings.EnableSpeakLetters;
    if (letters == 1 || letters == 3) words = KeyName + KeyNameSeparator;
    if (letters > 1) words += CurrentWord;
    SpeakEcho(words);
    CurrentWord.clear();
}

void AnnounceEditKey(int key) {
    switch (key) {
    case VkShift:
        SpeakEcho("Shift");
        break;
    case VkControl:
        SpeakEcho("Control");
        break;
    case VkDelete:
        SpeakEcho(DeleteWord + WhatIsRemoved(CharRightOfCaret()));
        DropLastCharacter(CurrentWord);
        break;
    case VkBack:
        SpeakEcho(EraseWord + WhatIsRemoved(CharLeftOfCaret()));
        DropLastCharacter(CurrentWord);
        break;
    case VkSpace:
        SpeakWordAtSpace();
        break;
    }
}

void StepHistory(int delta) {
    StepSearchHistory(delta);
}

} // namespace

std::string CharLeftOfCaret() {
    int start = 0, end = 0;
    platform::SearchBoxGetSelection(start, end);
    return start > 0 ? platform::SearchBoxRange(start - 1, start) : std::string();
}

std::string CharRightOfCaret() {
    int start = 0, end = 0;
    platform::SearchBoxGetSelection(start, end);
    return platform::SearchBoxRange(end, end + 1);
}

// Whole character codes are compared, so no character beyond Latin-1 is
// mistaken for one of these.
bool IsRefusedCharacter(unsigned character) {
    for (char c : std::string_view("~@#$^&[{]};'<>,`"))
        if (character == static_cast<unsigned>(c)) return true;
    return false;
}

bool OnSearchBoxSetFocus() {
    Settings.SearchTerm = CutToCharacters(platform::SearchBoxText(), SettingTextLimit);
    SpeakEcho(FocusWords + SpreadSearchTerm());
    return false;
}

// Consumed: a one-line box has nothing to scroll, and passing the wheel on
// could let the main window grow the font a second time.
bool OnSearchBoxMouseWheel(int delta) {
    if (delta > 0) ChangeFontSize(WheelFontStep);
    if (delta < 0) ChangeFontSize(-WheelFontStep);
    ApplyColors();
    LayoutWindow();
    return true;
}

bool OnSearchBoxChar(unsigned character) {
    if (!IsRefusedCharacter(character)) return false;
    std::string text;
    AppendCodePoint(text, character);
    SpeakText(DescribeCharacter(text) + RefusedWords);
    return true;
}

bool OnSearchBoxKeyDown(int virtualKey) {
    if (Settings.EnableSpeakLetters == 0) return false;
    bool shift = ShiftDown();
    if (!shift && IsRefusedUnshiftedKey(virtualKey)) {
        CommandBeep();
        return true;
    }
    NameKey(virtualKey);
    if (IsSpokenKey(virtualKey, shift)) SpeakKey();
    AnnounceEditKey(virtualKey);
    return false;
}

// Control as it was when the key went up, not as it is by the time the
// message is handled: a quick release must not turn "Control End" into "End Key".
bool OnSearchBoxKeyUp(int virtualKey) {
    bool control = (platform::KeyState(VkControl) & 0x8000) != 0;
    switch (virtualKey) {
    case VkLeft:
        SpeakEcho("Left Arrow : " + DescribeCharacter(CharRightOfCaret()));
        break;
    case VkRight:
        SpeakEcho("Right Arrow : " + DescribeCharacter(CharLeftOfCaret()));
        break;
    case VkUp:
        StepHistory(-1);
        break;
    case VkDown:
        StepHistory(+1);
        break;
    case VkCapital:
        SpeakEcho(CapsLockOn() ? "Cap ON" : "Cap OFF");
        break;
    case VkHome:
        SpeakEcho(control ? "Control Home : Start of Search Term : "
                          : "Home Key : Start of Search Term : ");
        break;
    case VkEnd:
        SpeakEcho(control ? "Control End : End of Search Term : "
                          : "End Key : End of Search Term : ");
        break;
    }
    return false;
}

// The key driver: keys reach the program in the order the message loop gives
// them, so scenario tests hear exactly what a user at the keyboard would.
#include "backends/testing/testing.h"

#include "platform/events.h"
#include "platform/key_codes.h"

#include <algorithm>

namespace platform::testing {

namespace {

constexpr int IdCancel = 2;
constexpr uint8_t FShift = 4, FControl = 8, FAlt = 16;

// UTF-8 of the characters typed, written here as the keyboard makes them.
void AppendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The tests type valid UTF-8 only.
char32_t NextCodePoint(const std::string& text, size_t& pos) {
    unsigned char lead = static_cast<unsigned char>(text[pos++]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (; extra > 0 && pos < text.size(); --extra)
        c = (c << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    return c;
}

bool IsDown(int vk) {
    return (KeyState(vk) & 0x8000) != 0;
}

void Log(int control, unsigned message, int value, int code = 0) {
    TheWorld().keyMessages.push_back({control, message, value, code});
}

// ---- The character a key types with a US layout (0 for none).
unsigned ShiftedDigit(int vk) {
    return unsigned(")!@#$%^&*("[vk - '0']);
}

unsigned OemCharacter(int vk, bool shift) {
    struct Oem {
        int vk;
        char plain, shifted;
    };
    static const Oem keys[] = {{186, ';', ':'},  {187, '=', '+'}, {188, ',', '<'}, {189, '-', '_'},
                               {190, '.', '>'},  {191, '/', '?'}, {192, '`', '~'}, {219, '[', '{'},
                               {220, '\\', '|'}, {221, ']', '}'}, {222, '\'', '"'}};
    for (const Oem& k : keys)
        if (k.vk == vk) return unsigned(shift ? k.shifted : k.plain);
    return 0;
}

unsigned NumpadCharacter(int vk) {
    if (vk >= 96 && vk <= 105) return unsigned('0' + vk - 96);
    static const char ops[] = "*+\0-./"; // 106..111; 108 types nothing
    return vk >= 106 && vk <= 111 ? unsigned(ops[vk - 106]) : 0;
}

unsigned TypedCharacter(int vk, bool shift, bool ctrl) {
    bool caps = (KeyState(VkCapital) & 1) != 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return unsigned(vk - 'A' + 1);
        return unsigned(shift != caps ? vk : vk + 32);
    }
    if (ctrl) {
        if (vk == 219) return 27;
        if (vk == 220) return 28;
        if (vk == 221) return 29;
        return vk == VkSpace ? ' ' : 0;
    }
    if (vk >= '0' && vk <= '9') return shift ? ShiftedDigit(vk) : unsigned(vk);
    if (vk == VkSpace || vk == VkBack || vk == VkTab || vk == VkReturn || vk == VkEscape)
        return unsigned(vk);
    if (unsigned c = NumpadCharacter(vk)) return c;
    return OemCharacter(vk, shift);
}

// ---- The search box's own editing, for what its handler passes on.
void ReplaceSelection(const std::string& with) {
    World& w = TheWorld();
    int start = std::min(w.selStart, w.selEnd), end = std::max(w.selStart, w.selEnd);
    w.searchText = w.searchText.substr(0, start) + with + w.searchText.substr(end);
    w.selStart = w.selEnd = start + int(with.size());
}

void MoveCaret(int to, bool extend, bool towardsStart) {
    World& w = TheWorld();
    to = std::clamp(to, 0, int(w.searchText.size()));
    if (!extend)
        w.selStart = w.selEnd = to;
    else if (towardsStart)
        w.selStart = to;
    else
        w.selEnd = to;
}

void EditKeyDown(int vk) {
    World& w = TheWorld();
    bool shift = IsDown(VkShift), empty = w.selStart == w.selEnd;
    int size = int(w.searchText.size());
    if (vk == VkLeft) MoveCaret(empty || shift ? w.selStart - 1 : w.selStart, shift, true);
    if (vk == VkRight) MoveCaret(empty || shift ? w.selEnd + 1 : w.selEnd, shift, false);
    if (vk == VkHome) MoveCaret(0, shift, true);
    if (vk == VkEnd) MoveCaret(size, shift, false);
    if (vk == VkDelete) {
        if (empty) w.selEnd = std::min(size, w.selEnd + 1);
        ReplaceSelection("");
    }
}

void EditCharacter(unsigned c) {
    World& w = TheWorld();
    if (c == VkBack) {
        if (w.selStart == w.selEnd) w.selStart = std::max(0, w.selStart - 1);
        ReplaceSelection("");
    } else if (c >= 32 && c != 127) {
        std::string bytes;
        AppendCodePoint(bytes, char32_t(c));
        ReplaceSelection(bytes);
    }
}

// ---- The stages of the loop for one key down.
bool TranslateAccelerator(int vk) {
    uint8_t modifiers = (IsDown(VkShift) ? FShift : 0) | (IsDown(VkControl) ? FControl : 0) |
                        (IsDown(VkMenu) ? FAlt : 0);
    for (const Accelerator& a : TheWorld().accelerators) {
        if (a.key != vk || (a.flags & (FShift | FControl | FAlt)) != modifiers) continue;
        Log(MainWindowId, CommandMessage, a.command, 1);
        OnCommand(a.command, 1);
        return true;
    }
    return false;
}

// The tab stops, in the order the controls were created.
void TabToNext(bool backwards) {
    int now = FocusedControl();
    int next = backwards ? (now == ResultListId ? SearchBoxId : ResultListId)
                         : (now == SearchBoxId ? ResultListId : SearchBoxId);
    if (now == ToolbarId || now < 0) next = backwards ? SearchBoxId : ResultListId;
    GiveFocus(next);
}

bool DialogNavigation(int vk) {
    if (IsDown(VkMenu)) return false;
    if (vk == VkReturn || vk == VkEscape) {
        int id = vk == VkReturn ? 1 : IdCancel;
        Log(MainWindowId, CommandMessage, id);
        OnCommand(id, 0);
        return true;
    }
    if (vk == VkTab && !IsDown(VkControl)) {
        TabToNext(IsDown(VkShift));
        return true;
    }
    return false;
}

void DeliverKeyDown(int vk, bool system) {
    int focus = FocusedControl();
    Log(focus, system ? SysKeyDownMessage : KeyDownMessage, vk);
    if (system) {
        // What the default processing makes of these keys.
        if (vk == VkF4 && IsDown(VkMenu)) CloseMainWindow();
        if (vk == VkF10 && IsDown(VkShift)) OnContextMenu();
        return;
    }
    if (focus == SearchBoxId && !OnSearchBoxKeyDown(vk)) EditKeyDown(vk);
    if (focus == ResultListId) {
        // The program moves the selection for the movement keys itself: the
        // control never sees them.
        if (!OnListRawKeyDown(vk)) OnListKeyDown(vk);
    }
    // F1 passes through the control and comes back to the window as help.
    if (vk == VkF1 && !IsDown(VkShift)) OnHelp(IsDown(VkControl));
}

void DeliverCharacter(unsigned c, bool system) {
    if (c == 0 || !MainWindowExists()) return;
    int focus = FocusedControl();
    Log(focus, system ? SysCharMessage : CharMessage, int(c));
    if (!system && focus == SearchBoxId && !OnSearchBoxChar(c)) EditCharacter(c);
}

void SetDown(int vk, bool down) {
    int& state = TheWorld().keyStates[vk];
    int toggled = state & 1;
    if (down && vk == VkCapital) toggled ^= 1;
    state = down ? (int(int16_t(0xFF80)) | toggled) : toggled;
}

} // namespace

void KeyDown(int vk) {
    SetDown(vk, true);
    if (!MainWindowExists()) return;
    bool system = IsDown(VkMenu) || vk == VkF10;
    if (!TranslateAccelerator(vk) && !DialogNavigation(vk)) {
        unsigned c = TypedCharacter(vk, IsDown(VkShift), IsDown(VkControl));
        DeliverKeyDown(vk, system);
        DeliverCharacter(c, system);
    }
    Idle();
}

void KeyUp(int vk) {
    bool system = (IsDown(VkMenu) && vk != VkMenu) || vk == VkF10;
    SetDown(vk, false);
    if (!MainWindowExists()) return;
    int focus = FocusedControl();
    Log(focus, system ? SysKeyUpMessage : KeyUpMessage, vk);
    if (!system && focus == SearchBoxId) OnSearchBoxKeyUp(vk);
    if (vk == VkApps) OnContextMenu();
    Idle();
}

void PressKey(int virtualKey, bool shift, bool ctrl, bool alt) {
    if (shift) KeyDown(VkShift);
    if (ctrl) KeyDown(VkControl);
    if (alt) KeyDown(VkMenu);
    KeyDown(virtualKey);
    KeyUp(virtualKey);
    if (alt) KeyUp(VkMenu);
    if (ctrl) KeyUp(VkControl);
    if (shift) KeyUp(VkShift);
}

void TypeText(const std::string& text) {
    static const std::string shiftedDigits = ")!@#$%^&*(";
    static const std::string oemPlain = ";=,-./`[\\]'", oemShifted = ":+<_>?~{|}\"";
    static const int oemKeys[] = {186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222};
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = NextCodePoint(text, pos);
        size_t at;
        if (c >= 'a' && c <= 'z')
            PressKey(int(c) - 32);
        else if (c >= 'A' && c <= 'Z')
            PressKey(int(c), true);
        else if ((c >= '0' && c <= '9') || c == ' ')
            PressKey(int(c));
        else if (c < 0x80 && (at = shiftedDigits.find(char(c))) != std::string::npos)
            PressKey('0' + int(at), true);
        else if (c < 0x80 && (at = oemPlain.find(char(c))) != std::string::npos)
            PressKey(oemKeys[at]);
        else if (c < 0x80 && (at = oemShifted.find(char(c))) != std::string::npos)
            PressKey(oemKeys[at], true);
        else
            DeliverCharacter(unsigned(c), false);
    }
}

void FireFocus(int id) {
    if (id == SearchBoxId) OnSearchBoxSetFocus();
    if (id == ResultListId) OnListSetFocus();
    if (id == ToolbarId) OnToolbarSetFocus();
}

void GiveFocus(int id) {
    SetFocusTo(id);
}

} // namespace platform::testing

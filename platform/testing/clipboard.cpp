// The clipboard: one text, and opens that can be told to fail.
#include "platform/testing/testing.h"

#include "app/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

bool ClipboardSetText(const std::string& text) {
    if (TheWorld().clipboardOpens.Fails()) return false;
    TheWorld().clipboard = text;
    TheWorld().events.push_back("clipboard: " + text);
    return true;
}

bool ClipboardGetText(std::string& text) {
    if (TheWorld().clipboardOpens.Fails()) return false;
    text = TheWorld().clipboard;
    return true;
}

} // namespace platform

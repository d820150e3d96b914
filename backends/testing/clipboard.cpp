// The clipboard: text or one file-drop block, and opens that can be told to fail.
#include "backends/testing/testing.h"

#include "platform/file_drop.h"

namespace platform {

using testing::TheWorld;

bool ClipboardSetText(const std::string& text) {
    if (TheWorld().clipboardOpens.Fails()) return false;
    TheWorld().clipboard = text;
    TheWorld().clipboardFileDrop.clear();
    TheWorld().events.push_back("clipboard: " + text);
    return true;
}

// A clipboard holding only a file drop has no text: it reads as the empty text.
bool ClipboardGetText(std::string& text) {
    if (TheWorld().clipboardOpens.Fails()) return false;
    text = TheWorld().clipboard;
    return true;
}

bool ClipboardSetFileDrop(const std::string& path) {
    if (TheWorld().clipboardOpens.Fails()) return false;
    TheWorld().clipboard.clear();
    TheWorld().clipboardFileDrop = FileDropBlock(path);
    TheWorld().events.push_back("clipboard file: " + path);
    return true;
}

} // namespace platform

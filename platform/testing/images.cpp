// The image library and the preview pane, recorded.
#include "platform/testing/testing.h"

#include "app/events.h"
#include "platform/key_codes.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

void StartImageLibrary() {
    ++TheWorld().imageLibraryStarts;
    TheWorld().events.push_back("images: started");
}

// The pane has a one-pixel border on each side.
void PreviewClientSize(int& width, int& height) {
    const testing::Control& c = TheWorld().controls[PreviewId];
    width = std::max(0, c.width - 2);
    height = std::max(0, c.height - 2);
}

bool PreviewDecodeImage(const std::string& path, int& width, int& height) {
    testing::World& w = TheWorld();
    ++w.imageDecodes;
    w.lastDecoded = path;
    if (w.whileDecoding) w.whileDecoding();
    auto known = w.decodableImages.find(path);
    if (known == w.decodableImages.end() || !FileExists(path)) return false;
    width = known->second.first;
    height = known->second.second;
    w.decodedHeld = true;
    return true;
}

void PreviewKeepImage(int width, int height, int) {
    testing::World& w = TheWorld();
    w.decodedHeld = false;
    w.keptWidth = width;
    w.keptHeight = height;
}

static testing::World::PreviewPane& Cleared(int background) {
    testing::World::PreviewPane& pane = TheWorld().preview;
    int shows = pane.shows + 1;
    pane = testing::World::PreviewPane();
    pane.background = background;
    pane.shows = shows;
    return pane;
}

void PreviewShowBlank(int background) {
    Cleared(background);
}

void PreviewShowImage(int x, int y, int background) {
    testing::World& w = TheWorld();
    testing::World::PreviewPane& pane = Cleared(background);
    pane.image = true;
    pane.x = x;
    pane.y = y;
    pane.width = w.keptWidth;
    pane.height = w.keptHeight;
}

void PreviewShowText(const std::string& text, int x, int y, int foreground, int background) {
    testing::World::PreviewPane& pane = Cleared(background);
    pane.text = text;
    pane.textX = x;
    pane.textY = y;
    pane.textColour = foreground;
}

// The key driver delivers each message at once, so only a held key counts.
bool KeyInputPending() {
    for (const auto& [vk, state] : TheWorld().keyStates) {
        // 91 and 92 the Windows keys, 160..165 the left and right Shift, Ctrl, Alt.
        bool modifier = vk == VkShift || vk == VkControl || vk == VkMenu || vk == 91 || vk == 92 ||
                        (vk >= 160 && vk <= 165);
        bool mouse = vk == 1 || vk == 2 || (vk >= 4 && vk <= 6);
        if (!modifier && !mouse && (state & 0x8000)) return true;
    }
    return false;
}

namespace testing {

// The message loop's turn: a close posted during a wait is carried out first.
void Idle() {
    World& w = TheWorld();
    if (w.closePosted) {
        w.closePosted = false;
        CloseMainWindow();
    }
    if (MainWindowExists()) OnIdle();
}

} // namespace testing

} // namespace platform

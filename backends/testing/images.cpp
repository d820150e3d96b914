// The image library and the preview pane, recorded.
#include "backends/testing/testing.h"

#include "platform/events.h"
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

void PreviewRequestImage(const std::string& path, int wantedWidth, int wantedHeight,
                         uint64_t maxPixels, uint64_t token) {
    testing::World& w = TheWorld();
    w.imageRequests.push_back({path, wantedWidth, wantedHeight, maxPixels, token});
    w.pendingImages.push_back(w.imageRequests.back());
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

namespace {

// The decoder's answer to one request, as the window's thread hears of it.
void Deliver(const World::ImageRequest& r) {
    World& w = TheWorld();
    auto known = w.decodableImages.find(r.path);
    if (known == w.decodableImages.end() || !FileExists(r.path))
        return OnPreviewImage(r.token, false, 0, 0);
    auto [width, height] = known->second;
    if (uint64_t(std::max(width, 0)) * uint64_t(std::max(height, 0)) > r.maxPixels) {
        ++w.imagesRefused;
        return OnPreviewImage(r.token, false, 0, 0);
    }
    ++w.imageDecodes;
    w.lastDecoded = r.path;
    if (w.whileDecoding) w.whileDecoding();
    w.decodedHeld = true;
    OnPreviewImage(r.token, true, width, height);
}

} // namespace

void DeliverImages(int count) {
    World& w = TheWorld();
    while (count-- != 0 && !w.pendingImages.empty() && MainWindowExists()) {
        World::ImageRequest r = w.pendingImages.front();
        w.pendingImages.erase(w.pendingImages.begin());
        Deliver(r);
    }
}

// The message loop's turn: a close posted during a wait is carried out first.
void Idle() {
    World& w = TheWorld();
    if (w.closePosted) {
        w.closePosted = false;
        CloseMainWindow();
    }
    if (MainWindowExists()) OnIdle();
    if (!w.holdImages) DeliverImages();
}

} // namespace testing

} // namespace platform

#include "platform/testing/testing.h"

#include "app/events.h"

namespace platform {

using testing::TheWorld;

// A new window starts with the default font, or with none while it is unset.
static void Created(int id) {
    testing::World& w = TheWorld();
    if (w.defaultFont.first.empty())
        w.fonts.erase(id);
    else
        w.fonts[id] = w.defaultFont;
}

void CreateMainWindow(const std::string& caption) {
    TheWorld().caption = caption;
    TheWorld().created = true;
    Created(MainWindowId);
}
void CreateResultList() {
    Created(ResultListId);
}
void CreateSearchBox() {
    Created(SearchBoxId);
}
void CreatePreviewControl(int background) {
    TheWorld().previewBackground = background;
    Created(PreviewId);
}
void CreateStatusBar(const std::string& text) {
    TheWorld().statusText = text;
    Created(StatusBarId);
}

// The loop itself is the test: it drives the program with keys afterwards.
void RunMainWindow() {
    TheWorld().events.push_back("message: init dialog");
    OnInitDialog();
    TheWorld().events.push_back("message: deferred start");
    OnDeferredStart();
}

int KeyState(int virtualKey) {
    auto it = TheWorld().keyStates.find(virtualKey);
    return it == TheWorld().keyStates.end() ? 0 : it->second;
}
bool AsyncKeyDown(int virtualKey) {
    return (KeyState(virtualKey) & 0x8000) != 0;
}
void SendKeyPress(int virtualKey) {
    TheWorld().syntheticKeys.push_back(virtualKey);
}

void AttachAccelerators(const Accelerator* entries, int count) {
    TheWorld().accelerators.assign(entries, entries + count);
    TheWorld().events.push_back("accelerators: " + std::to_string(count));
}

void SetDefaultFont(const std::string& face, int points) {
    TheWorld().defaultFont = {face, points};
}
void SetControlFont(int id, const std::string& face, int points) {
    TheWorld().fonts[id] = {face, points};
}
void SetControlColors(int id, int foreground, int background) {
    TheWorld().colors[id] = {foreground, background};
}

void ToolbarImagesCreate(int iconSize) {
    TheWorld().toolbarIconSize = iconSize;
}
void ToolbarCreate(const ToolbarButton* buttons, int count) {
    TheWorld().toolbar.assign(buttons, buttons + count);
    TheWorld().toolbarExists = true;
    TheWorld().toolbarFont = TheWorld().defaultFont;
    TheWorld().events.push_back("toolbar: " + std::to_string(count));
}
void ToolbarDestroy() {
    TheWorld().toolbar.clear();
    TheWorld().toolbarExists = false;
}
bool ToolbarExists() {
    return TheWorld().toolbarExists;
}
int ToolbarRightEdge() {
    return int(TheWorld().toolbar.size()) * 100;
}
void ToolbarSetFont(const std::string& face, int points) {
    TheWorld().toolbarFont = {face, points};
}
void TooltipCreate() {
    TheWorld().tooltipCreated = true;
}
void TooltipShowText(const std::string& text) {
    TheWorld().tooltipText = text;
}
void TooltipPop() {
    ++TheWorld().tooltipPops;
}

void StartImageLibrary() {
    ++TheWorld().imageLibraryStarts;
    TheWorld().events.push_back("images: started");
}

} // namespace platform

// Messages for a running screen reader. Where the system has it (Windows 10
// 1709 on), a UI Automation notification on the main window; elsewhere (older
// Windows, Wine) a live-region change on a control that holds the text.
// Nothing of UI Automation is imported by the linker: a missing function would
// stop the program from starting at all, so each is looked up when first used.
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include <oleacc.h>
#include <oleauto.h>

namespace platform::win32 {

namespace {

// UIAutomationCore's own values; MinGW's headers lack them or cannot be
// compiled as C++.
constexpr int NotificationKindOther = 4;
constexpr int ProcessingImportantAll = 0;
constexpr int ProcessingImportantMostRecent = 1;
constexpr long LiveAssertive = 2;

using HostProviderFromHwndFunction = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotificationFunction = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);

// {B5F8350B-0548-48B1-A6EE-88BD00B4A5E7}
const CLSID AccPropServicesClass = {
    0xB5F8350B, 0x0548, 0x48B1, {0xA6, 0xEE, 0x88, 0xBD, 0x00, 0xB4, 0xA5, 0xE7}};
// {6E26E776-04F0-495D-80E4-3330352E3169}
const IID AccPropServicesInterface = {
    0x6E26E776, 0x04F0, 0x495D, {0x80, 0xE4, 0x33, 0x30, 0x35, 0x2E, 0x31, 0x69}};
// LiveSetting_Property_GUID {C12BCD8E-2A8E-4950-8AE7-3625111D58EB}
const GUID LiveSettingProperty = {
    0xC12BCD8E, 0x2A8E, 0x4950, {0x8A, 0xE7, 0x36, 0x25, 0x11, 0x1D, 0x58, 0xEB}};

struct ScreenReaderRecord {
    bool looked = false;
    HostProviderFromHwndFunction hostProvider = nullptr;
    RaiseNotificationFunction raiseNotification = nullptr;
    HWND announcer = nullptr;
};

ScreenReaderRecord Reader;

// Only from the system folder, so a planted copy in the program's folder is
// never loaded. The library stays loaded for the life of the process.
void LookUpNotifications() {
    if (Reader.looked) return;
    Reader.looked = true;
    HMODULE library =
        LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library) return;
    Reader.hostProvider = reinterpret_cast<HostProviderFromHwndFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "UiaHostProviderFromHwnd")));
    Reader.raiseNotification = reinterpret_cast<RaiseNotificationFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "UiaRaiseNotificationEvent")));
}

bool RaiseUiaNotification(const std::string& text, unsigned flags) {
    LookUpNotifications();
    if (!Reader.hostProvider || !Reader.raiseNotification) return false;
    IUnknown* provider = nullptr;
    if (FAILED(Reader.hostProvider(Win.main, &provider)) || !provider) return false;
    BSTR display = SysAllocString(Widen(text).c_str());
    BSTR activity = SysAllocString(L"Lumafind.Message");
    int processing = (flags & SpeakAsync) ? ProcessingImportantMostRecent : ProcessingImportantAll;
    HRESULT result = display && activity ? Reader.raiseNotification(provider, NotificationKindOther,
                                                                    processing, display, activity)
                                         : E_OUTOFMEMORY;
    SysFreeString(display);
    SysFreeString(activity);
    provider->Release();
    return SUCCEEDED(result);
}

// Readers that know live regions read the control's name, which for a static
// control is its text. It is a child of no size: the screen shows nothing of
// it and the status bar keeps the selected row. Marked assertive where the
// system can annotate it, so a reader says it at once.
HWND Announcer() {
    if (Reader.announcer || !Win.main) return Reader.announcer;
    Reader.announcer = CreateWindowExW(
        0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0, Win.main,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(AnnouncerId)), Win.instance, nullptr);
    void* services = nullptr;
    if (Reader.announcer &&
        SUCCEEDED(CoCreateInstance(AccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                   AccPropServicesInterface, &services))) {
        VARIANT live;
        VariantInit(&live);
        live.vt = VT_I4;
        live.lVal = LiveAssertive;
        auto* annotations = static_cast<IAccPropServices*>(services);
        annotations->SetHwndProp(Reader.announcer, DWORD(OBJID_CLIENT), CHILDID_SELF,
                                 LiveSettingProperty, live);
        annotations->Release();
    }
    return Reader.announcer;
}

bool RaiseLiveRegionChange(const std::string& text) {
    HWND announcer = Announcer();
    if (!announcer) return false;
    SetWindowTextW(announcer, Widen(text).c_str());
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, announcer, OBJID_CLIENT, CHILDID_SELF);
    return true;
}

} // namespace

} // namespace platform::win32

namespace platform {

using namespace win32;

bool ScreenReaderRunning() {
    BOOL running = FALSE;
    return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running;
}

void RaiseNotification(const std::string& text, unsigned flags) {
    if (!Win.main) return;
    if (RaiseUiaNotification(text, flags))
        AppendToSpeechLog("notification", text);
    else if (RaiseLiveRegionChange(text))
        AppendToSpeechLog("live-region", text);
}

} // namespace platform

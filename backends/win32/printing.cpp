// Printing on the default printer, without a dialog.
#include "backends/win32/win32.h"

#include "backends/win32/print_text.h"
#include "platform/platform.h"

#include <cderr.h>
#include <commdlg.h>

#include <cwchar>

namespace platform {

using namespace win32;

namespace {

struct PrinterContext {
    HDC dc = nullptr;
    PrintOutcome failure = PrintOutcome::Printed;
};

// The default printer set for one copy in portrait. A default printer that is
// named but no longer there counts as no printer, as the user would say.
PrinterContext DefaultPrinter() {
    PRINTDLGW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = Win.main;
    request.Flags = PD_RETURNDEFAULT; // fills in the default; shows nothing
    if (!PrintDlgW(&request)) {
        DWORD error = CommDlgExtendedError();
        bool missing = error == PDERR_NODEFAULTPRN || error == PDERR_PRINTERNOTFOUND;
        return {nullptr, missing ? PrintOutcome::NoPrinter : PrintOutcome::JobFailed};
    }
    PrinterContext printer{nullptr, PrintOutcome::JobFailed};
    auto* names = static_cast<DEVNAMES*>(GlobalLock(request.hDevNames));
    auto* mode = request.hDevMode ? static_cast<DEVMODEW*>(GlobalLock(request.hDevMode)) : nullptr;
    if (names) {
        if (mode) {
            mode->dmFields |= DM_COPIES | DM_ORIENTATION;
            mode->dmCopies = 1;
            mode->dmOrientation = DMORIENT_PORTRAIT;
        }
        const wchar_t* base = reinterpret_cast<const wchar_t*>(names);
        printer.dc =
            CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
        if (printer.dc) printer.failure = PrintOutcome::Printed;
    }
    if (mode) GlobalUnlock(request.hDevMode);
    if (names) GlobalUnlock(request.hDevNames);
    if (request.hDevMode) GlobalFree(request.hDevMode);
    if (request.hDevNames) GlobalFree(request.hDevNames);
    return printer;
}

// Bold, as the screen's content font, at the printer's own resolution; any
// character set, so the face's own Hebrew, Arabic or Greek is used.
LOGFONTW PrintFontLook(HDC dc, const std::string& face, int points) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, Widen(face).c_str(), LF_FACESIZE - 1);
    return lf;
}

// Looked at every few milliseconds, and between pages: often enough that Esc
// is answered at once, seldom enough that a long job is not slowed by it.
constexpr ULONGLONG CheckEveryMs = 30;

// Every page is ended, or the document aborted, before the outcome is known;
// Esc or a close request between lines drops the job.
PrintOutcome PrintPages(HDC dc, PrintFaces& faces, const std::string& documentName, int lineHeight,
                        const PrintedPages& pages) {
    std::wstring title = Widen(documentName);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title.c_str();
    if (StartDocW(dc, &document) <= 0) return PrintOutcome::JobFailed;
    ULONGLONG lastCheck = GetTickCount64();
    auto cancelled = [&](bool now) {
        if (!now && GetTickCount64() - lastCheck < CheckEveryMs) return false;
        lastCheck = GetTickCount64();
        return CancelRequestedMeanwhile();
    };
    for (const std::vector<std::string>& page : pages) {
        if (cancelled(true)) return AbortDoc(dc), PrintOutcome::Cancelled;
        if (StartPage(dc) <= 0) return AbortDoc(dc), PrintOutcome::JobFailed;
        SelectObject(dc, faces.fonts[0]); // a new page may start with the default font
        int y = 0;
        for (const std::string& line : page) {
            if (cancelled(false)) return AbortDoc(dc), PrintOutcome::Cancelled;
            DrawPrintLine(faces, 0, y, Widen(line));
            y += lineHeight;
        }
        if (EndPage(dc) <= 0) return AbortDoc(dc), PrintOutcome::JobFailed;
    }
    return EndDoc(dc) > 0 ? PrintOutcome::Printed : PrintOutcome::JobFailed;
}

} // namespace

PrintOutcome PrintOnDefaultPrinter(const std::string& documentName, const std::string& face,
                                   int points, const PageLayout& layout) {
    PrinterContext printer = DefaultPrinter();
    if (!printer.dc) return printer.failure;
    LOGFONTW look = PrintFontLook(printer.dc, face, points);
    HFONT font = CreateFontIndirectW(&look);
    if (!font) return DeleteDC(printer.dc), PrintOutcome::JobFailed;
    HGDIOBJ previous = SelectObject(printer.dc, font);
    SIZE x{};
    GetTextExtentPoint32W(printer.dc, L"X", 1, &x);
    PrintedPages pages = layout(int(x.cy), GetDeviceCaps(printer.dc, VERTRES));
    PrintFaces faces = OpenPrintFaces(printer.dc, font, look);
    Win.printing = true;
    PrintOutcome outcome = pages.empty()
                               ? PrintOutcome::Printed
                               : PrintPages(printer.dc, faces, documentName, int(x.cy), pages);
    // Keys pressed while the job was sent whole are dropped with the rest.
    CancelRequestedMeanwhile();
    Win.printing = false;
    ClosePrintFaces(faces);
    SelectObject(printer.dc, previous);
    DeleteObject(font);
    DeleteDC(printer.dc);
    // Carried out by the message loop once the outcome has been said.
    if (Win.closeRequested) PostMessageW(Win.main, WM_CLOSE, 0, 0);
    return outcome;
}

} // namespace platform

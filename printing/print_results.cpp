#include "printing/print_results.h"

#include "platform/platform.h"
#include "search/result_rows.h"
#include "settings/settings.h"
#include "speech/speech.h"

#include <algorithm>

namespace {

constexpr int SmallPrintPoints = 12;
constexpr const char* NoPrinterText = "No Printer Found";
constexpr const char* PrintFailedText = "Printing Failed";
constexpr const char* PrintCancelledText = "Printing Cancelled";
constexpr const char* DocumentName = "Lumafind Result List";

// The names the job holds. The limit counts the whole job: a limit per page
// would never stop a long list on pages that hold fewer lines than the limit.
std::vector<std::string> NamesToPrint() {
    int count = ResultRows.Count();
    if (Settings.MaxPrintLines > 0) count = std::min(count, Settings.MaxPrintLines);
    std::vector<std::string> names;
    names.reserve(count);
    for (int row = 1; row <= count; ++row)
        names.emplace_back(ResultRows.Name(row));
    return names;
}

} // namespace

int LinesPerPage(int lineHeight, int pageHeight) {
    if (lineHeight <= 0) return 1;
    return std::max(1, pageHeight / lineHeight);
}

std::vector<std::vector<std::string>> PaginateLines(const std::vector<std::string>& lines,
                                                    int linesPerPage) {
    std::vector<std::vector<std::string>> pages;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i % size_t(linesPerPage) == 0) pages.emplace_back();
        pages.back().push_back(lines[i]);
    }
    return pages;
}

std::string ClipboardTextOf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    while (text.starts_with("\r\n"))
        text.erase(0, 2);
    while (text.ends_with("\r\n"))
        text.erase(text.size() - 2);
    return text;
}

// Whatever the printer does, the names still reach the clipboard, and a job
// that did not print says so: silence would leave the user sure it is on paper.
// A cancelled job still copies them: Esc stops the paper, not the copy.
void PrintResultList() {
    bool visual = Settings.PrintFont != 0;
    SpeakText(visual ? "Printing With Visual Font ..." : "Printing With Small Font ...");
    int points = visual ? Settings.FontSize : SmallPrintPoints;
    std::vector<std::string> names = NamesToPrint();
    platform::PrintOutcome outcome = platform::PrintOnDefaultPrinter(
        DocumentName, Settings.FontName, points, [&](int lineHeight, int pageHeight) {
            return PaginateLines(names, LinesPerPage(lineHeight, pageHeight));
        });
    const char* failure = outcome == platform::PrintOutcome::NoPrinter   ? NoPrinterText
                          : outcome == platform::PrintOutcome::JobFailed ? PrintFailedText
                          : outcome == platform::PrintOutcome::Cancelled ? PrintCancelledText
                                                                         : nullptr;
    if (!platform::ClipboardSetText(ClipboardTextOf(names))) {
        if (failure) SpeechPrefix += std::string(failure) + " : ";
        SpeakClipboardNotAvailable();
    } else if (failure) {
        SpeakText(failure);
    }
}

// Printing the result list by Ctrl+P: what lands on each page, in which font,
// what the clipboard holds afterwards, and what is said when nothing printed.
#include "actions_fixture.h"

#include "printing/print_results.h"

namespace {

using Pages = platform::PrintedPages;

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back("file" + std::to_string(i) + ".txt");
    return names;
}

// The names cut by hand into pages of the given sizes.
Pages PagesOf(const std::vector<std::string>& names, std::initializer_list<int> sizes) {
    Pages pages;
    size_t next = 0;
    for (int size : sizes) {
        pages.emplace_back(names.begin() + next, names.begin() + next + size);
        next += size;
    }
    return pages;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i ? "\r\n" : "") + names[i];
    return text;
}

} // namespace

class PrintingTest : public ActionsTest {
  protected:
    void ShowNames(const std::vector<std::string>& names) {
        ResultRows.Clear();
        for (const std::string& name : names)
            ResultRows.Add("10", "01/15/2023 10:23", "c:\\data\\", name, false);
        platform::ListDeleteAllItems();
        ShowResultRows();
        Forget();
    }
    const platform::testing::World::PrintJob& OnlyJob() {
        EXPECT_EQ(world().printJobsDone.size(), 1u);
        return world().printJobsDone.at(0);
    }
};

// The default printer: 6600 units high, a line of 12 points 100 units, so 66
// lines a page; a line at 36 points is 300 units, 22 lines a page.
TEST_F(PrintingTest, TheSmallFontFillsEachPageThenBreaks) {
    Settings.MaxPrintLines = 0;
    std::vector<std::string> names = Numbered(150);
    ShowNames(names);
    Ctrl('P');
    EXPECT_EQ(Heard(), Texts{"Printing With Small Font ..."});
    EXPECT_EQ(Beeps(), 1);
    const auto& job = OnlyJob();
    EXPECT_EQ(job.face, "Arial Black");
    EXPECT_EQ(job.points, 12);
    EXPECT_EQ(job.pages, PagesOf(names, {66, 66, 18}));
    EXPECT_EQ(world().clipboard, Joined(names)) << "one name a line, no empty last line";
}

TEST_F(PrintingTest, TheVisualFontIsTheScreensFaceAndSizeWithFewerLinesAPage) {
    Settings.MaxPrintLines = 0;
    Settings.FontName = "Verdana";
    std::vector<std::string> names = Numbered(50);
    ShowNames(names);
    CtrlShift('P');
    Forget();
    Ctrl('P');
    EXPECT_EQ(Heard(), Texts{"Printing With Visual Font ..."});
    const auto& job = OnlyJob();
    EXPECT_EQ(job.face, "Verdana");
    EXPECT_EQ(job.points, 36);
    EXPECT_EQ(job.pages, PagesOf(names, {22, 22, 6}));
}

// A line height that does not divide the page: the part line is not used.
TEST_F(PrintingTest, APageHoldsOnlyWholeLines) {
    Settings.MaxPrintLines = 0;
    world().printLineHeight = [](const std::string&, int) { return 115; };
    world().printPageHeight = 6600; // 57.4 lines
    std::vector<std::string> names = Numbered(60);
    ShowNames(names);
    Ctrl('P');
    EXPECT_EQ(OnlyJob().pages, PagesOf(names, {57, 3}));
}

TEST_F(PrintingTest, AFontTallerThanThePagePrintsOneNameAPage) {
    world().printLineHeight = [](const std::string&, int) { return 9000; };
    std::vector<std::string> names = Numbered(3);
    ShowNames(names);
    Ctrl('P');
    EXPECT_EQ(OnlyJob().pages, PagesOf(names, {1, 1, 1}));
    EXPECT_EQ(LinesPerPage(0, 6600), 1);
}

// The limit counts every line of the job, not the lines of one page.
TEST_F(PrintingTest, TheLineLimitCountsTheWholeJob) {
    world().printPageHeight = 450; // 4 lines of 100
    std::vector<std::string> names = Numbered(30);
    ShowNames(names);
    CtrlShift('E'); // 50 -> 100
    CtrlShift('E'); // 100 -> 0
    CtrlShift('E'); // 0 -> 10
    Forget();
    Ctrl('P');
    std::vector<std::string> ten(names.begin(), names.begin() + 10);
    EXPECT_EQ(OnlyJob().pages, PagesOf(ten, {4, 4, 2}));
    EXPECT_EQ(world().clipboard, Joined(ten)) << "the clipboard holds what was printed";

    world().printJobsDone.clear();
    Settings.MaxPrintLines = 100; // more than the list: all of it
    Ctrl('P');
    EXPECT_EQ(OnlyJob().pages.size(), 8u);
    EXPECT_EQ(world().clipboard, Joined(names));
}

TEST_F(PrintingTest, AnEmptyResultPrintsItsPlaceholderRow) {
    Ctrl('P');
    EXPECT_EQ(OnlyJob().pages, (Pages{{"<empty>"}}));
    EXPECT_EQ(world().clipboard, "<empty>");
}

TEST_F(PrintingTest, TheShortcutListPrintsItsLines) {
    Press(FKey(2));
    Forget();
    Ctrl('P');
    const auto& job = OnlyJob();
    ASSERT_FALSE(job.pages.empty());
    EXPECT_EQ(job.pages[0][0], "1 Display Settings Shortcuts - F1");
    EXPECT_EQ(world().clipboard.substr(0, 35), "1 Display Settings Shortcuts - F1\r\n");
}

// Nothing printed is never silent: the names still reach the clipboard, and
// the user hears why the paper will not come.
TEST_F(PrintingTest, WithoutAPrinterTheNamesStillReachTheClipboardAndThatIsSaid) {
    world().printerPresent = false;
    world().clipboard = "earlier";
    ShowNames({"a.txt", "b.txt"});
    Ctrl('P');
    EXPECT_EQ(Heard(), (Texts{"Printing With Small Font ...", "No Printer Found"}));
    EXPECT_TRUE(world().printJobsDone.empty());
    EXPECT_EQ(world().clipboard, "a.txt\r\nb.txt");
}

TEST_F(PrintingTest, AFailedJobIsSaidAndTheNamesStillReachTheClipboard) {
    world().printJobs.failAt = 1;
    ShowNames({"a.txt", "b.txt"});
    Ctrl('P');
    EXPECT_EQ(Heard(), (Texts{"Printing With Small Font ...", "Printing Failed"}));
    EXPECT_EQ(world().clipboard, "a.txt\r\nb.txt");
    Forget();
    Ctrl('P'); // the fault was once: the next job prints and says nothing more
    EXPECT_EQ(Heard(), Texts{"Printing With Small Font ..."});
    EXPECT_EQ(OnlyJob().pages, (Pages{{"a.txt", "b.txt"}}));
}

TEST_F(PrintingTest, AHeldClipboardIsSaidAfterWhatThePrinterDid) {
    world().clipboard = "kept";
    world().clipboardOpens.failAt = 1;
    world().clipboardOpens.always = true;
    ShowNames({"a.txt"});
    Ctrl('P');
    EXPECT_EQ(Heard(), (Texts{"Printing With Small Font ...", "Clipboard Not Available"}));
    EXPECT_EQ(OnlyJob().pages, (Pages{{"a.txt"}}));
    world().printerPresent = false;
    Forget();
    Ctrl('P');
    EXPECT_EQ(Heard(), (Texts{"Printing With Small Font ...",
                              "No Printer Found : Clipboard Not Available"}));
    EXPECT_EQ(world().clipboard, "kept");
}

TEST(PrintingClipboardText, NoEmptyLineAtEitherEnd) {
    EXPECT_EQ(ClipboardTextOf({"", "a", "", "b", ""}), "a\r\n\r\nb");
    EXPECT_EQ(ClipboardTextOf({""}), "");
}

// Esc while a job prints: the spooler drops it, the user hears so, and the
// program goes on; the Esc is spent, so the next one does what Esc does.
TEST_F(PrintingTest, EscDuringAJobCancelsItAndNeverClosesTheProgram) {
    Settings.MaxPrintLines = 0;
    std::vector<std::string> names = Numbered(150); // pages of 66, 66, 18
    ShowNames(names);
    world().duringPrint = {{1, 'A'}, {1, 0x1B}};
    Ctrl('P');
    EXPECT_EQ(Heard(), (Texts{"Printing With Small Font ...", "Printing Cancelled"}));
    const auto& job = OnlyJob();
    EXPECT_TRUE(job.cancelled);
    EXPECT_EQ(job.pages, PagesOf(names, {66}));
    EXPECT_TRUE(world().duringPrint.empty()) << "every key of the job is taken";
    EXPECT_TRUE(world().mainExists);
    EXPECT_EQ(world().clipboard, Joined(names));

    Forget();
    Press(VkEscape);
    EXPECT_EQ(Heard(), Texts{"Exiting Lumafind"});
    EXPECT_FALSE(world().mainExists);
}

// An Esc once the last page is sent comes too late to cancel: the job prints
// whole and nothing more is said, and the key is still not left to close.
TEST_F(PrintingTest, EscAfterTheLastPageIsDroppedWithTheJobPrinted) {
    Settings.MaxPrintLines = 0;
    std::vector<std::string> names = Numbered(70);
    ShowNames(names);
    world().duringPrint = {{2, 0x1B}};
    Ctrl('P');
    EXPECT_EQ(Heard(), Texts{"Printing With Small Font ..."});
    EXPECT_FALSE(OnlyJob().cancelled);
    EXPECT_EQ(OnlyJob().pages, PagesOf(names, {66, 4}));
    EXPECT_TRUE(world().duringPrint.empty());
    EXPECT_TRUE(world().mainExists);
}

// Alt+F4, the close button or the session ending while a job prints: the job
// is dropped as Esc drops it, then the program closes the usual way.
TEST_F(PrintingTest, ACloseRequestDuringAJobCancelsItThenClosesNormally) {
    Settings.MaxPrintLines = 0;
    std::vector<std::string> names = Numbered(150);
    ShowNames(names);
    world().duringPrint = {{2, platform::testing::CloseRequest}};
    Ctrl('P');
    EXPECT_TRUE(OnlyJob().cancelled);
    EXPECT_EQ(OnlyJob().pages.size(), 2u);
    EXPECT_EQ(Heard(),
              (Texts{"Printing With Small Font ...", "Printing Cancelled", "Exiting Lumafind"}));
    EXPECT_FALSE(world().mainExists);
    EXPECT_EQ(world().clipboard, Joined(names));
}

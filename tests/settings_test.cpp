#include "scenario.h"

#include "base/text.h"
#include "settings/ini_codec.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace {

const char* const kKeyOrder[] = {"Left",
                                 "Top",
                                 "Width",
                                 "Height",
                                 "SearchTerm",
                                 "FontName",
                                 "IgnoreList",
                                 "Minimized",
                                 "Maximized",
                                 "FontSize",
                                 "FG",
                                 "BG",
                                 "ShowToolbar",
                                 "IconSize",
                                 "SortType",
                                 "HideToolbarText",
                                 "MaxResults",
                                 "ExcludeSystemFolders",
                                 "EnableSpeakLetters",
                                 "SpeakNonLetters",
                                 "ShortPath",
                                 "EnableToolTips",
                                 "EnableTime",
                                 "vRate",
                                 "SlowRate",
                                 "FastRate",
                                 "UseIgnoreList",
                                 "ExternalTool",
                                 "FocusOnRE",
                                 "UseHover",
                                 "UseKB",
                                 "PrintFont",
                                 "MaxPrintLines",
                                 "SearchType",
                                 "ShowPreview",
                                 "LastRow",
                                 "TopRow",
                                 "SpeakShortcuts",
                                 "IncludeShortcutKey",
                                 "SpeakMinimalKey",
                                 "PreviewResize",
                                 "ImageBG",
                                 "WideToolbar",
                                 "DisableSpeech",
                                 "LastSearchType",
                                 "SearchTermNumber"};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines = SplitAll(text, "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

} // namespace

class SettingsTest : public ScenarioTest {
  protected:
    std::string Ini() { return Get("lumafind.ini"); }
    void PutIni(const std::string& body) { Put("lumafind.ini", "[All]\r\n" + body); }
};

TEST_F(SettingsTest, FileIsNamedAfterTheProgram) {
    EXPECT_EQ(SettingsFile(), folder + "lumafind.ini");
    world().programName = "finder.v2.exe";
    EXPECT_EQ(SettingsFile(), folder + "finder.v2.ini");
}

TEST_F(SettingsTest, FirstStartWritesAllKeysInOrderWithDefaults) {
    LoadOrSaveSettings("get");
    EXPECT_EQ(world().placement.normal.right - world().placement.normal.left, 1600);
    EXPECT_EQ(world().placement.normal.bottom - world().placement.normal.top, 800);
    LoadOrSaveSettings("save");
    std::vector<std::string> lines = Lines(Ini());
    ASSERT_EQ(lines.size(), 47u);
    EXPECT_EQ(lines[0], "[All]");
    for (size_t i = 0; i < 46; ++i)
        EXPECT_EQ(lines[i + 1].substr(0, lines[i + 1].find('=')), kKeyOrder[i]) << i;
    const std::string ini = Ini();
    for (const char* line :
         {"Width= 1600\r\n", "MaxResults= 100\r\n", "SlowRate=-3\r\n", "FastRate= 3\r\n",
          "FG= 65535\r\n", "BG= 16711680\r\n", "SearchTerm=texas\r\n", "FontName=Arial Black\r\n",
          "IgnoreList=.lnk\r\n", "SearchTermNumber= 1\r\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
}

TEST_F(SettingsTest, ValuesAreReadAsTheProfileFunctionsReadThem) {
    PutIni("FastRate=+3\r\nMaxResults=7\r\nfontsize = 48 \r\nIconSize=\r\nvRate=2.5\r\n"
           "SlowRate=-4x\r\nShowToolbar=abc\r\nSearchTerm=\"quoted term\"\r\nExtra=1\r\n");
    LoadOrSaveSettings("get");
    EXPECT_EQ(Settings.FastRate, 3);
    EXPECT_EQ(Settings.MaxResults, 7);
    EXPECT_EQ(Settings.FontSize, 48); // keys match without regard to case
    EXPECT_EQ(Settings.IconSize, 0);  // present but empty reads as 0
    EXPECT_EQ(Settings.vRate, 2);     // rounded half to even
    EXPECT_EQ(Settings.SlowRate, -4);
    EXPECT_EQ(Settings.ShowToolbar, 0);
    EXPECT_EQ(Settings.SearchTerm, "quoted term");
    EXPECT_EQ(Settings.Width, 1600); // missing keys take their default
    LoadOrSaveSettings("save");
    EXPECT_NE(Ini().find("FastRate= 3\r\n"), std::string::npos);
    EXPECT_EQ(Ini().find("Extra"), std::string::npos); // unknown keys are dropped
}

TEST_F(SettingsTest, PlacementComesFromTheFileOnlyWhenItExists) {
    world().placement.normal = {50, 60, 450, 360};
    LoadOrSaveSettings("get");
    EXPECT_EQ(world().placement.normal.left, 50);
    PutIni("Left= 10\r\nTop= 20\r\nWidth= 900\r\nHeight= 700\r\n");
    LoadOrSaveSettings("get");
    EXPECT_EQ(world().placement.normal.left, 10);
    EXPECT_EQ(world().placement.normal.top, 20);
    EXPECT_EQ(world().placement.normal.right, 910);
    EXPECT_EQ(world().placement.normal.bottom, 720);
}

TEST_F(SettingsTest, MaximizedWindowSavesItsRestoredRectangle) {
    world().placement = {{100, 200, 1100, 900}, false, true};
    LoadOrSaveSettings("save");
    const std::string ini = Ini();
    for (const char* line : {"Left= 100\r\n", "Top= 200\r\n", "Width= 1000\r\n", "Height= 700\r\n",
                             "Maximized= 1\r\n", "Minimized= 0\r\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
}

TEST_F(SettingsTest, TextsAreCutTo259CharactersAndKeptOnOneLine) {
    PutIni("SearchTerm=" + std::string(300, 'a') + "\r\nFontName=" + std::string(270, 0) + "\r\n");
    LoadOrSaveSettings("get");
    EXPECT_EQ(Settings.SearchTerm, std::string(259, 'a'));
    Settings.SearchTerm = "line one\r\nInjected=1";
    LoadOrSaveSettings("save");
    EXPECT_EQ(Ini().find("\r\nInjected="), std::string::npos);
    LoadOrSaveSettings("get");
    EXPECT_EQ(Settings.SearchTerm, "line one  Injected=1");
}

TEST_F(SettingsTest, NonAsciiTextSurvivesTheRoundTripAndOldFilesAreReadAsWestern) {
    Settings.SearchTerm = "café ünïcode";
    LoadOrSaveSettings("save");
    Settings = SettingsRecord();
    LoadOrSaveSettings("get");
    EXPECT_EQ(Settings.SearchTerm, "café ünïcode");
    PutIni("SearchTerm=caf\xE9\r\n"); // written in the Western code page
    LoadOrSaveSettings("get");
    EXPECT_EQ(Settings.SearchTerm, "café");
}

// The bytes an editor saves for a text in UTF-16 with its byte-order mark.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char high = char(unit >> 8), low = char(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// Windows' profile functions read such a file; ignoring it would write the
// defaults over the user's settings at exit.
TEST_F(SettingsTest, Utf16FilesAreReadAndWrittenBackAsUtf8) {
    for (bool bigEndian : {false, true}) {
        Put("lumafind.ini",
            Utf16(u"[All]\r\nSearchTerm=café 😀\r\nFontSize= 48\r\nBG=0\r\n", bigEndian));
        Settings = SettingsRecord();
        LoadOrSaveSettings("get");
        EXPECT_EQ(Settings.SearchTerm, "café 😀") << bigEndian;
        EXPECT_EQ(Settings.FontSize, 48) << bigEndian;
        EXPECT_EQ(Settings.BG, 0) << bigEndian;
        LoadOrSaveSettings("save");
        EXPECT_EQ(Ini().rfind("[All]\r\n", 0), 0u);
        EXPECT_NE(Ini().find("\r\nSearchTerm=café 😀\r\n"), std::string::npos);
        EXPECT_NE(Ini().find("\r\nFontSize= 48\r\n"), std::string::npos);
    }
    Put("lumafind.ini", "\xEF\xBB\xBF[All]\r\nFontSize= 40\r\n");
    LoadOrSaveSettings("get");
    EXPECT_EQ(Settings.FontSize, 40);
}

TEST_F(SettingsTest, Utf16SearchHistoryIsReadAtStartUp) {
    Put("searchterms.txt", Utf16(u"Zürich++++texas", true));
    Start();
    EXPECT_EQ(SearchHistory, "Zürich++++texas");
}

TEST(FileText, DamagedUtf16BecomesReplacementCharacters) {
    using namespace std::string_literals;
    const std::string bad = "\xEF\xBF\xBD", smile = "\xF0\x9F\x98\x80";
    const std::pair<std::string, std::string> cases[] = {
        {"\xFF\xFE\x61\x00\x62"s, "a" + bad},     // odd byte count
        {"\xFF\xFE\x3D\xD8"s, bad},               // high half at the end
        {"\xFF\xFE\x3D\xD8\x41\x00"s, bad + "A"}, // high half, then a letter
        {"\xFF\xFE\x00\xDC\x41\x00"s, bad + "A"}, // low half alone
        {"\xFF\xFE\x00\xDE\x3D\xD8"s, bad + bad}, // halves reversed
        {"\xFF\xFE\x3D\xD8\x00\xDE"s, smile},     // a whole pair
        {"\xFE\xFF\xD8\x3D\xDE\x00"s, smile},     // the same, big endian
        {"\xFF\xFE"s, ""s},                       // the mark alone
        {"\xFF\xFE\x00\x00"s, "\0"s},             // a NUL stays one
        {"\xFF"s, "\xC3\xBF"s},                   // one byte is no byte-order mark: Windows-1252
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(DecodeFileText(bytes), text) << ::testing::PrintToString(bytes);
}

TEST_F(SettingsTest, AFailedWriteLeavesThePreviousSettings) {
    Settings.FontSize = 60;
    LoadOrSaveSettings("save");
    Settings.FontSize = 12;
    world().fileWrites.failAt = world().fileWrites.calls + 1;
    LoadOrSaveSettings("save");
    Settings = SettingsRecord();
    LoadOrSaveSettings("get");
    EXPECT_EQ(Settings.FontSize, 60);
}

// Another program saving at the same moment has its own temporary beside the
// file; ours neither writes into it nor leaves one of its own.
TEST_F(SettingsTest, SavingLeavesOtherTemporariesAloneAndNoneOfItsOwn) {
    Put("lumafind.ini.new", "another program's save");
    LoadOrSaveSettings("save");
    Settings.FontSize = 60;
    LoadOrSaveSettings("save");
    EXPECT_EQ(Get("lumafind.ini.new"), "another program's save");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().rfind("lumafind.ini", 0) == 0)
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"lumafind.ini", "lumafind.ini.new"}));
    EXPECT_NE(Ini().find("FontSize= 60\r\n"), std::string::npos);
}

TEST_F(SettingsTest, OtherActionsDoNothing) {
    LoadOrSaveSettings("write");
    EXPECT_FALSE(platform::FileExists(SettingsFile()));
}

TEST(IniCodec, SectionsAndKeys) {
    std::string text = "[Other]\nKey=wrong\n[all]\r\n  Key =  right  \r\nKey=second\n";
    EXPECT_EQ(IniLookup(text, "All", "Key").value(), "right");
    EXPECT_FALSE(IniLookup(text, "All", "Missing").has_value());
    EXPECT_FALSE(IniLookup("Key=1\n", "All", "Key").has_value());
    // Only a pair of the same quotes around the value is taken off.
    EXPECT_EQ(IniLookup("[All]\nA=\"\n", "All", "A").value(), "\"");
    EXPECT_EQ(IniLookup("[All]\nA=''\n", "All", "A").value(), "");
    EXPECT_EQ(IniLookup("[All]\nA=\"x'\n", "All", "A").value(), "\"x'");
    EXPECT_EQ(IniWrite("All", {{"A", " 1"}, {"B", "x"}}), "[All]\r\nA= 1\r\nB=x\r\n");
}

TEST(SettingsSummary, DefaultsAndValueTexts) {
    Settings = SettingsRecord();
    EXPECT_EQ(SettingsSummaryText(),
              "  Letters-Letters  ExcludeSystem-On  UseIgnoreLst-Off  STFocus-Off"
              "  ExternalTool-Simple Lupa  LupaHover-Text  VisualPrintFont-Off  MaxPrintLines- 50"
              "  DisableSpeech-Off  SpeakShortCuts-On  IncludeKey-On  MinimalKey-On");
    Settings.MaxPrintLines = 0;
    Settings.EnableSpeakLetters = 0;
    Settings.ExternalTool = 9;
    Settings.UseHover = -1;
    std::string text = SettingsSummaryText();
    EXPECT_NE(text.find("MaxPrintLines-UnLmtd"), std::string::npos);
    EXPECT_NE(text.find("Letters-No  "), std::string::npos);
    EXPECT_NE(text.find("ExternalTool-  LupaHover-  "), std::string::npos);
    // The last word of each list, and a negative count as its number.
    Settings.EnableSpeakLetters = Settings.ExternalTool = Settings.UseHover = 3;
    Settings.MaxPrintLines = -5;
    std::string last = SettingsSummaryText();
    EXPECT_NE(last.find("Letters-Both  "), std::string::npos) << last;
    EXPECT_NE(last.find("ExternalTool-Narrator  LupaHover-Both  "), std::string::npos) << last;
    EXPECT_NE(last.find("MaxPrintLines--5  "), std::string::npos) << last;
    Settings.EnableSpeakLetters = 4;
    EXPECT_NE(SettingsSummaryText().find("Letters-  "), std::string::npos);
    Settings.EnableSpeakLetters = 0;
    Settings.ExternalTool = 9;
    Settings.UseHover = -1;
    Settings.MaxPrintLines = 0;
    platform::testing::ResetWorld();
    ShowSettingsSummary();
    EXPECT_EQ(platform::Caption(), "Lumafind 4.43   " + text);
    Settings = SettingsRecord();
}

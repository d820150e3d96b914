// The online update: only a signed, newer program file is installed, the swap
// is all or nothing, and every failure leaves the program folder as it was.
#include "commands_fixture.h"

#include "actions/update.h"

#include <filesystem>
#include <map>

namespace {

const std::string Address = "http://127.0.0.1:8000/lumafind.exe";
const std::string TestKey = "test release key";

std::string Hex(std::string_view bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes)
        out += digits[c >> 4], out += digits[c & 15];
    return out;
}

std::string FromHex(std::string_view hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += char(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return out;
}

// An INTEGER as DER writes it: no leading zero bytes, one added when the high
// bit is set, so that the number stays positive.
std::string DerInteger(std::string_view value) {
    while (value.size() > 1 && value[0] == 0 && !(value[1] & 0x80))
        value.remove_prefix(1);
    std::string body =
        (value[0] & 0x80) ? std::string(1, '\0') + std::string(value) : std::string(value);
    return std::string{0x02, char(body.size())} + body;
}

std::string Der(const std::string& raw) {
    std::string body = DerInteger(std::string_view(raw).substr(0, 32)) +
                       DerInteger(std::string_view(raw).substr(32));
    return std::string{0x30, char(body.size())} + body;
}

std::string Note(const std::string& version, const std::string& program,
                 const std::string& key = TestKey) {
    std::string head = "lumafind-release 1\nversion " + version + "\n";
    std::string signature = platform::testing::TestSignature(key, head + program);
    return head + "signature " + Hex(Der(signature)) + "\n";
}

using Folder = std::map<std::string, std::string>;

class UpdateTest : public CommandsTest {
  protected:
    void BeforeStart() override {
        Put("lumafind.exe", "the running program 4.43");
        Put("start_lumafind.exe", "MZ the starter");
        Put(ReleaseKeyFileName, TestKey);
        world().environment["LUMAFIND_UPDATE_URL"] = Address;
    }
    void SetUp() override {
        CommandsTest::SetUp();
        Settings.SpeakShortcuts = 0; // each test hears only the command's own words
    }
    void Offer(const std::string& version, const std::string& program) {
        world().web[Address] = {200, program};
        world().web[Address + ".sig"] = {200, Note(version, program)};
    }
    Folder Files() {
        Folder files;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file())
                files[entry.path().filename().string()] = Get(entry.path().filename().string());
        return files;
    }
    // What the user hears from Ctrl+O, the shortcut's announcement left out.
    Texts Update() {
        Forget();
        Ctrl('O');
        return Heard();
    }
    void ExpectStillRunning() {
        EXPECT_TRUE(world().mainExists);
        EXPECT_EQ(MainWindow.RestartPending, 0);
    }
};

const std::string NewProgram = "the new program 4.50";

TEST_F(UpdateTest, InstallsASignedNewerReleaseAndEndsForTheStarter) {
    Offer("4.50", NewProgram);
    Folder before = Files();
    EXPECT_EQ(Update(), (Texts{"Updating Lumafind", "Update successful. Restarting Lumafind.",
                               "Exiting Lumafind"}));
    for (const auto& said : world().transcript)
        if (said.text == "Updating Lumafind" ||
            said.text == "Update successful. Restarting Lumafind.") {
            EXPECT_EQ(said.flags & platform::SpeakAsync, 0u) << said.text << " is said to its end";
        }
    EXPECT_EQ(Beeps(), 0);
    Folder after = Files();
    EXPECT_EQ(after["lumafind.exe"], NewProgram);
    EXPECT_EQ(after["lumafind.old"], before["lumafind.exe"]);
    EXPECT_FALSE(after.count("lumafind.tmp"));
    EXPECT_EQ(MainWindow.RestartPending, 1);
    EXPECT_FALSE(world().mainExists);
    EXPECT_EQ(world().downloadsAsked, (std::vector<std::string>{Address + ".sig", Address}));
}

TEST_F(UpdateTest, ASecondUpdateReplacesThePreviousOldFile) {
    Put("lumafind.old", "the program before, 4.40");
    Offer("4.50", NewProgram);
    Update();
    Folder after = Files();
    EXPECT_EQ(after["lumafind.exe"], NewProgram);
    EXPECT_EQ(after["lumafind.old"], "the running program 4.43");
    EXPECT_FALSE(after.count("lumafind.older"));
    EXPECT_FALSE(after.count("lumafind.tmp"));
}

TEST_F(UpdateTest, RefusedDownloadsLeaveEveryFileAsItWas) {
    Put("lumafind.old", "the program before, 4.40");
    struct Case {
        std::string what;
        std::function<void(platform::testing::World&)> arrange;
        std::string heard;
    };
    std::vector<Case> cases = {
        {"no server", [](auto&) {}, "Lumafind Update Failed"},
        {"no release note",
         [](auto& w) {
             w.web[Address] = {200, NewProgram};
             w.web[Address + ".sig"] = {404, "<html>Not Found</html>"};
         },
         "Lumafind Update Failed"},
        {"no program file",
         [](auto& w) {
             w.web[Address] = {404, "<html>Not Found</html>"};
         },
         "Lumafind Update Failed"},
        {"the first download breaks",
         [](auto& w) {
             w.downloads = {1, false, 0};
         },
         "Lumafind Update Failed"},
        {"the second download breaks",
         [](auto& w) {
             w.downloads = {2, false, 0};
         },
         "Lumafind Update Failed"},
        {"a truncated file",
         [](auto& w) { w.web[Address].body = NewProgram.substr(0, NewProgram.size() - 3); },
         "Lumafind Update Failed : Not A Genuine Release"},
        {"a file with one byte changed", [](auto& w) { w.web[Address].body[4] ^= 1; },
         "Lumafind Update Failed : Not A Genuine Release"},
        {"signed with another key",
         [](auto& w) { w.web[Address + ".sig"].body = Note("4.50", NewProgram, "another key"); },
         "Lumafind Update Failed : Not A Genuine Release"},
        {"a raised version under the old signature",
         [](auto& w) {
             std::string& note = w.web[Address + ".sig"].body;
             note.replace(note.find("4.50"), 4, "4.99");
         },
         "Lumafind Update Failed : Not A Genuine Release"},
        {"a note that is not one",
         [](auto& w) { w.web[Address + ".sig"].body = "<html>Welcome</html>"; },
         "Lumafind Update Failed : Not A Genuine Release"},
        {"an older release",
         [](auto& w) { w.web[Address + ".sig"].body = Note("4.42", NewProgram); },
         "Lumafind is up to date"},
        {"the same release",
         [](auto& w) { w.web[Address + ".sig"].body = Note("4.43", NewProgram); },
         "Lumafind is up to date"},
    };
    Folder before = Files();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world().web.clear();
        world().downloads = {};
        if (c.what != "no server") Offer("4.50", NewProgram);
        c.arrange(world());
        EXPECT_EQ(Update(), (Texts{"Updating Lumafind", c.heard}));
        EXPECT_EQ(Files(), before);
        ExpectStillRunning();
    }
}

TEST_F(UpdateTest, AnOlderReleaseIsNotEvenDownloaded) {
    Offer("4.42", NewProgram);
    Update();
    EXPECT_EQ(world().downloadsAsked, (std::vector<std::string>{Address + ".sig"}));
}

TEST_F(UpdateTest, AFailureAtAnyStepOfTheSwapPutsEveryFileBack) {
    // With an earlier "lumafind.old" the swap makes three renames, without it two.
    for (bool earlier : {true, false}) {
        int renames = earlier ? 3 : 2;
        for (int step = 0; step <= renames; ++step) {
            SCOPED_TRACE((earlier ? "with an old file, " : "alone, ") +
                         (step ? "rename " + std::to_string(step) : std::string("the write")));
            std::filesystem::remove(folder + "lumafind.old");
            if (earlier) Put("lumafind.old", "the program before, 4.40");
            Offer("4.50", NewProgram);
            world().fileMoves = {step, false, 0};
            world().fileWrites = {step == 0 ? 1 : 0, false, 0};
            Folder before = Files();
            EXPECT_EQ(Update(), (Texts{"Updating Lumafind",
                                       "Lumafind Update Failed : Program File Left As It Was"}));
            EXPECT_EQ(Files(), before);
            ExpectStillRunning();
        }
    }
}

TEST_F(UpdateTest, AStaleFileLeftByAnInterruptedSwapDoesNotStopTheNext) {
    Put("lumafind.old", "the program before, 4.40");
    Put("lumafind.older", "left by a power cut");
    Put("lumafind.tmp", "half a download");
    Offer("4.50", NewProgram);
    EXPECT_EQ(Update()[1], "Update successful. Restarting Lumafind.");
    Folder after = Files();
    EXPECT_EQ(after["lumafind.exe"], NewProgram);
    EXPECT_FALSE(after.count("lumafind.older"));
    EXPECT_FALSE(after.count("lumafind.tmp"));
}

TEST_F(UpdateTest, WithoutAKeyFileOnlyTheCompiledReleaseKeyIsTrusted) {
    std::filesystem::remove(folder + ReleaseKeyFileName);
    Offer("4.50", NewProgram); // signed with the test key
    EXPECT_EQ(Update(),
              (Texts{"Updating Lumafind", "Lumafind Update Failed : Not A Genuine Release"}));
    EXPECT_EQ(Get("lumafind.exe"), "the running program 4.43");
}

TEST_F(UpdateTest, TheCompiledAddressServesUnlessTheEnvironmentNamesAnother) {
    world().environment.erase("LUMAFIND_UPDATE_URL");
    Update();
    ASSERT_FALSE(world().downloadsAsked.empty());
    EXPECT_EQ(world().downloadsAsked[0], std::string(DefaultUpdateAddress) + ".sig");
    EXPECT_EQ(std::string(DefaultUpdateAddress).rfind("https://", 0), 0u);
}

// A server that is slow, stalls or trickles, and a user who presses Esc or
// closes the window meanwhile: the window answers, and nothing is written.
class SlowUpdateTest : public UpdateTest {
  protected:
    Folder before;
    void SetUp() override {
        UpdateTest::SetUp();
        Offer("4.50", NewProgram);
        before = Files();
    }
    platform::testing::World::WebAnswer& ProgramAnswer() { return world().web[Address]; }
    platform::testing::World::WebAnswer& NoteAnswer() { return world().web[Address + ".sig"]; }
    void ExpectUntouched() {
        EXPECT_EQ(Files(), before);
        ExpectStillRunning();
    }
};

bool IsProgress(const std::string& text) {
    return text == "Waiting For The Update Server" || text.rfind("Downloaded ", 0) == 0;
}

TEST_F(SlowUpdateTest, AServerThatStallsOrTricklesIsGivenUpOnAndNothingIsWritten) {
    struct Case {
        std::string what;
        std::function<void()> arrange;
        int64_t givenUpBy; // at the latest, in milliseconds of the download
    };
    std::vector<Case> cases = {
        {"the note is never answered", [&] { NoteAnswer().answerAfterMs = -1; }, 45000},
        {"the program file is never answered", [&] { ProgramAnswer().answerAfterMs = -1; }, 45000},
        {"the program file stops after its headers",
         [&] { ProgramAnswer().pieceBytes = 1, ProgramAnswer().pieceEveryMs = 1000000; }, 30000},
        {"one byte every five seconds",
         [&] {
             ProgramAnswer().body = std::string(1 << 20, 'x');
             ProgramAnswer().pieceBytes = 1, ProgramAnswer().pieceEveryMs = 5000;
         },
         600000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Offer("4.50", NewProgram);
        c.arrange();
        Texts heard = Update();
        ASSERT_GE(heard.size(), 2u);
        EXPECT_EQ(heard.front(), "Updating Lumafind");
        EXPECT_EQ(heard.back(), "Lumafind Update Failed");
        for (size_t i = 1; i + 1 < heard.size(); ++i)
            EXPECT_TRUE(IsProgress(heard[i])) << heard[i];
        EXPECT_GT(world().lastDownloadMs, 0);
        EXPECT_LE(world().lastDownloadMs, c.givenUpBy);
        ExpectUntouched();
    }
}

TEST_F(SlowUpdateTest, ALongDownloadSaysHowFarItHasComeEveryTenSeconds) {
    std::string program(1000, 'x');
    Offer("4.50", program);
    ProgramAnswer().pieceBytes = 10, ProgramAnswer().pieceEveryMs = 1000;
    EXPECT_EQ(Update(),
              (Texts{"Updating Lumafind", "Downloaded 10 percent", "Downloaded 20 percent",
                     "Downloaded 30 percent", "Downloaded 40 percent", "Downloaded 50 percent",
                     "Downloaded 60 percent", "Downloaded 70 percent", "Downloaded 80 percent",
                     "Downloaded 90 percent", "Update successful. Restarting Lumafind.",
                     "Exiting Lumafind"}));
    EXPECT_EQ(Get("lumafind.exe"), program);
}

TEST_F(SlowUpdateTest, WithoutAnAnnouncedLengthTheAmountIsSaid) {
    std::string program(50 * 1024, 'x');
    Offer("4.50", program);
    ProgramAnswer().announcesLength = false;
    ProgramAnswer().pieceBytes = 2048, ProgramAnswer().pieceEveryMs = 1000;
    NoteAnswer().answerAfterMs = 12000; // a slow server first says nothing at all
    EXPECT_EQ(Update(), (Texts{"Updating Lumafind", "Waiting For The Update Server",
                               "Downloaded 20 Kilobytes", "Downloaded 40 Kilobytes",
                               "Update successful. Restarting Lumafind.", "Exiting Lumafind"}));
}

TEST_F(SlowUpdateTest, TheLargestProgramAcceptedStillArrivesOverASlowLine) {
    // 16 megabytes at 32 kilobytes a second: eight and a half minutes.
    std::string program(16 << 20, 'x');
    Offer("4.50", program);
    ProgramAnswer().pieceBytes = 32 * 1024, ProgramAnswer().pieceEveryMs = 1000;
    EXPECT_EQ(Update().back(), "Exiting Lumafind");
    EXPECT_EQ(Get("lumafind.exe").size(), program.size());
}

TEST_F(SlowUpdateTest, EscCancelsTheDownloadAndOtherKeysAreDropped) {
    for (bool duringNote : {true, false}) {
        SCOPED_TRACE(duringNote ? "during the note" : "during the program file");
        Offer("4.50", NewProgram);
        (duringNote ? NoteAnswer() : ProgramAnswer()).answerAfterMs = -1;
        world().duringDownload = {{1000, 'A'}, {5000, 0x1B}};
        EXPECT_EQ(Update(), (Texts{"Updating Lumafind", "Update Cancelled"}));
        EXPECT_EQ(world().lastDownloadMs, 5000);
        ExpectUntouched();
    }
}

TEST_F(SlowUpdateTest, ACloseDuringTheDownloadClosesTheProgramTheUsualWay) {
    ProgramAnswer().answerAfterMs = -1;
    Settings.MaxResults = 777; // kept only if the settings are saved on the way out
    world().duringDownload = {{3000, platform::testing::CloseRequest}};
    EXPECT_EQ(Update(), (Texts{"Updating Lumafind", "Exiting Lumafind"}));
    EXPECT_FALSE(world().mainExists);
    EXPECT_EQ(MainWindow.RestartPending, 0);
    EXPECT_TRUE(world().startedAfterExit.empty());
    Folder after = Files();
    EXPECT_NE(after["lumafind.ini"].find("MaxResults= 777\r\n"), std::string::npos)
        << after["lumafind.ini"];
    after.erase("lumafind.ini"), before.erase("lumafind.ini");
    EXPECT_EQ(after, before);
}

TEST_F(SlowUpdateTest, WithoutAStarterThatCanRunNothingIsDownloadedOrWritten) {
    for (std::string starter : {std::string(), std::string("a text file named so")}) {
        SCOPED_TRACE(starter.empty() ? "missing" : starter);
        std::filesystem::remove(folder + "start_lumafind.exe");
        if (!starter.empty()) Put("start_lumafind.exe", starter);
        before = Files();
        world().downloadsAsked.clear();
        EXPECT_EQ(Update(),
                  (Texts{"Updating Lumafind", "Lumafind Update Failed : Starter Missing"}));
        EXPECT_EQ(world().downloadsAsked, (std::vector<std::string>{Address + ".sig"}));
        ExpectUntouched();
    }
}

TEST_F(SlowUpdateTest, TestsMayShortenTheTimeLimitsButNeverLengthenThem) {
    NoteAnswer().answerAfterMs = -1;
    world().environment["LUMAFIND_UPDATE_TEST_LIMITS"] = "2000,1000,2500";
    Update();
    ASSERT_EQ(world().downloadLimits.size(), 1u);
    EXPECT_EQ(world().downloadLimits[0].connectMs, 2000);
    EXPECT_EQ(world().downloadLimits[0].readMs, 1000);
    EXPECT_EQ(world().downloadLimits[0].wholeMs, 2500);
    EXPECT_LE(world().lastDownloadMs, 2500);
    world().downloadLimits.clear();
    world().environment["LUMAFIND_UPDATE_TEST_LIMITS"] = "99999999,x,0";
    Update();
    ASSERT_EQ(world().downloadLimits.size(), 1u);
    EXPECT_EQ(world().downloadLimits[0].connectMs, 15000);
    EXPECT_EQ(world().downloadLimits[0].readMs, 30000);
    EXPECT_GE(world().downloadLimits[0].wholeMs, 60000);
}

TEST(ReleaseNote, ReadsTheVersionAndTheSignedHeadInEitherLineEnd) {
    std::string der = "3006020101020102";
    for (std::string end : std::vector<std::string>{"\n", "\r\n"}) {
        ReleaseNote note;
        std::string head = "lumafind-release 1" + end + "version 4.50.1" + end;
        ASSERT_TRUE(ParseReleaseNote(head + "signature " + der + end, note));
        EXPECT_EQ(note.version, "4.50.1");
        EXPECT_EQ(note.signedHead, head);
        EXPECT_EQ(note.signature.size(), 64u);
    }
    ReleaseNote note;
    for (std::string bad :
         std::vector<std::string>{"lumafind-release 2\nversion 4.5\nsignature " + der,
                                  "lumafind-release 1\nversion 4..5\nsignature " + der,
                                  "lumafind-release 1\nversion v4.5\nsignature " + der,
                                  "lumafind-release 1\nversion 4.5\nsignature 30zz",
                                  "lumafind-release 1\nversion 4.5\nsignature " + der + "\nmore",
                                  "lumafind-release 1\nversion 4.5\n"})
        EXPECT_FALSE(ParseReleaseNote(bad, note)) << bad;
}

TEST(ReleaseNote, VersionsCompareNumberByNumber) {
    EXPECT_LT(CompareVersions("4.5", "4.43"), 0);
    EXPECT_GT(CompareVersions("4.100", "4.43"), 0);
    EXPECT_GT(CompareVersions("5", "4.99"), 0);
    EXPECT_EQ(CompareVersions("4.43", "4.43"), 0);
    EXPECT_GT(CompareVersions("4.43.1", "4.43"), 0);
}

TEST(ReleaseNote, SignaturesAsOpensslWritesThemBecomeRThenS) {
    // `openssl dgst -sha256 -sign` output and the two integers asn1parse shows.
    std::string der =
        FromHex("3045022052dc9ee3caa2ef539163ab73794c7592cc425634f7dbfa857089c88c966984d3022100"
                "95da024bff8d2d7c98ef5eaddf991e546bb69806842444d66321609319a9b8bb");
    std::string raw;
    ASSERT_TRUE(RawSignatureFromDer(der, raw));
    EXPECT_EQ(Hex(raw), "52dc9ee3caa2ef539163ab73794c7592cc425634f7dbfa857089c88c966984d3"
                        "95da024bff8d2d7c98ef5eaddf991e546bb69806842444d66321609319a9b8bb");
    // A short r (its first byte zero) is padded back to 32 bytes.
    ASSERT_TRUE(RawSignatureFromDer(FromHex("300602017f020101"), raw));
    EXPECT_EQ(raw.substr(0, 32), std::string(31, '\0') + "\x7f");
    for (std::string bad :
         std::vector<std::string>{der.substr(0, der.size() - 1), der + '\0', FromHex("3003020101"),
                                  FromHex("30260221" + std::string(66, 'a') + "020101")})
        EXPECT_FALSE(RawSignatureFromDer(bad, raw));
}

} // namespace

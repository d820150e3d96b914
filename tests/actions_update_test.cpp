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
    EXPECT_EQ(Update(), (Texts{UpdatingText, UpdateDoneText, "Exiting Lumafind"}));
    for (const auto& said : world().transcript)
        if (said.text == UpdatingText || said.text == UpdateDoneText) {
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
        {"no server", [](auto&) {}, UpdateFailedText},
        {"no release note",
         [](auto& w) {
             w.web[Address] = {200, NewProgram};
             w.web[Address + ".sig"] = {404, "<html>Not Found</html>"};
         },
         UpdateFailedText},
        {"no program file",
         [](auto& w) {
             w.web[Address] = {404, "<html>Not Found</html>"};
         },
         UpdateFailedText},
        {"the first download breaks",
         [](auto& w) {
             w.downloads = {1, false, 0};
         },
         UpdateFailedText},
        {"the second download breaks",
         [](auto& w) {
             w.downloads = {2, false, 0};
         },
         UpdateFailedText},
        {"a truncated file",
         [](auto& w) { w.web[Address].body = NewProgram.substr(0, NewProgram.size() - 3); },
         UpdateNotGenuineText},
        {"a file with one byte changed", [](auto& w) { w.web[Address].body[4] ^= 1; },
         UpdateNotGenuineText},
        {"signed with another key",
         [](auto& w) { w.web[Address + ".sig"].body = Note("4.50", NewProgram, "another key"); },
         UpdateNotGenuineText},
        {"a raised version under the old signature",
         [](auto& w) {
             std::string& note = w.web[Address + ".sig"].body;
             note.replace(note.find("4.50"), 4, "4.99");
         },
         UpdateNotGenuineText},
        {"a note that is not one",
         [](auto& w) { w.web[Address + ".sig"].body = "<html>Welcome</html>"; },
         UpdateNotGenuineText},
        {"an older release",
         [](auto& w) { w.web[Address + ".sig"].body = Note("4.42", NewProgram); }, UpToDateText},
        {"the same release",
         [](auto& w) { w.web[Address + ".sig"].body = Note("4.43", NewProgram); }, UpToDateText},
    };
    Folder before = Files();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world().web.clear();
        world().downloads = {};
        if (c.what != "no server") Offer("4.50", NewProgram);
        c.arrange(world());
        EXPECT_EQ(Update(), (Texts{UpdatingText, c.heard}));
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
            EXPECT_EQ(Update(), (Texts{UpdatingText, UpdateNotInstalledText}));
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
    EXPECT_EQ(Update()[1], UpdateDoneText);
    Folder after = Files();
    EXPECT_EQ(after["lumafind.exe"], NewProgram);
    EXPECT_FALSE(after.count("lumafind.older"));
    EXPECT_FALSE(after.count("lumafind.tmp"));
}

TEST_F(UpdateTest, WithoutAKeyFileOnlyTheCompiledReleaseKeyIsTrusted) {
    std::filesystem::remove(folder + ReleaseKeyFileName);
    Offer("4.50", NewProgram); // signed with the test key
    EXPECT_EQ(Update(), (Texts{UpdatingText, UpdateNotGenuineText}));
    EXPECT_EQ(Get("lumafind.exe"), "the running program 4.43");
}

TEST_F(UpdateTest, TheCompiledAddressServesUnlessTheEnvironmentNamesAnother) {
    world().environment.erase("LUMAFIND_UPDATE_URL");
    Update();
    ASSERT_FALSE(world().downloadsAsked.empty());
    EXPECT_EQ(world().downloadsAsked[0], std::string(DefaultUpdateAddress) + ".sig");
    EXPECT_EQ(std::string(DefaultUpdateAddress).rfind("https://", 0), 0u);
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

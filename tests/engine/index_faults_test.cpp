// The index killed, corrupted, doubled, impersonated or sent nonsense: es must still answer
// right (by walking when it must) and the saved index must be whole or absent.
#include "index_harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Args = std::vector<std::string>;
using Env = std::map<std::string, std::string>;

class IndexFaults : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        tree = MakeTempFolder("index-faults-tree");
        // 40 folders of 250 files: a first walk long enough to be cut short.
        for (int f = 0; f < 40; ++f) {
            std::string folder = tree + "/folder " + std::to_string(f);
            MakeFolder(folder);
            for (int i = 0; i < 250; ++i)
                MakeFile(folder + "/item " + std::to_string(i) + (i % 3 ? ".txt" : ".mp3"), "",
                         1600000000 + f * 1000 + i);
        }
    }
    static void TearDownTestSuite() { std::system(("rm -rf '" + tree + "'").c_str()); }
    void SetUp() override {
        place = MakeIndexPlace();
        work = MakeTempFolder("index-faults-work");
    }
    void TearDown() override {
        StopIndex(pid);
        RemoveIndexPlace(place);
        std::system(("rm -rf '" + work + "'").c_str());
    }
    Env IndexEnv() const { return place.Env(tree); }
    EsRun Es(const Args& args, const Env& extra = {}) {
        EsCall call;
        call.args = args;
        call.env = IndexEnv();
        for (const auto& [k, v] : extra)
            call.env[k] = v;
        call.workDir = work;
        return RunEs(call);
    }
    std::string Walked(const Args& args) {
        EsRun run = Es(args, {{"LUMAFIND_ES_INDEX", "off"}});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }
    void StartAndWait() {
        pid = StartIndex(IndexEnv());
        ASSERT_TRUE(WaitCaughtUp(IndexEnv()));
    }
    // A new walk is saved just after the index starts answering.
    void StartAndWaitSaved() {
        StartAndWait();
        for (int i = 0; i < 1000 && IndexTool(IndexEnv(), "--check-saved") != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    bool ThroughIndex(const Args& args, const Env& extra = {}) {
        Env env = extra;
        env["LUMAFIND_ES_INDEX"] = "only";
        EsRun run = Es(args, env);
        return run.exitCode == 0 && run.out == Walked(args);
    }

    static std::string tree;
    IndexPlace place;
    std::string work;
    pid_t pid = -1;
};

std::string IndexFaults::tree;

const Args WholeList{"-sort", "dm"};

TEST_F(IndexFaults, KilledDuringTheFirstWalkOrItsSave) {
    std::string expected = Walked(WholeList);
    for (int delay : {0, 5, 15, 30, 60, 90, 120, 200}) {
        pid = StartIndex(IndexEnv());
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        StopIndex(pid);
        pid = -1;
        EsRun run = Es(WholeList);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, expected) << "killed after " << delay << " ms";
        int saved = IndexTool(IndexEnv(), "--check-saved");
        EXPECT_TRUE(saved == 0 || saved == 3) << "a saved index cut short, killed after " << delay;
    }
}

// Saving again and again (LUMAFIND_INDEX_SAVE_AFTER_MS=0 saves as soon as it is idle, and a
// writer keeps changing the tree), killed at moments in between: the file is always the old
// one or a whole new one, and the next index clears what the killed one left.
TEST_F(IndexFaults, KilledWhileSavingLeavesAWholeFile) {
    StartAndWaitSaved();
    StopIndex(pid);
    ASSERT_EQ(IndexTool(IndexEnv(), "--check-saved"), 0);
    Env env = IndexEnv();
    env["LUMAFIND_INDEX_SAVE_AFTER_MS"] = "0";
    int made = 0;
    for (int delay = 1; delay < 60; delay += 6) {
        pid = StartIndex(env);
        ASSERT_TRUE(WaitCaughtUp(env));
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            while (!stop) { // a pause after each change lets the index save
                MakeFile(tree + "/folder 1/new " + std::to_string(made++), "");
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        StopIndex(pid);
        stop = true;
        writer.join();
        EXPECT_EQ(IndexTool(IndexEnv(), "--check-saved"), 0) << "killed after " << delay << " ms";
    }
    pid = StartIndex(IndexEnv());
    ASSERT_TRUE(WaitCaughtUp(IndexEnv()));
    EXPECT_TRUE(ThroughIndex(WholeList)) << "reloaded index differs from the walk";
    for (const std::string& name : FolderNames(place.cache + "/lumafind"))
        EXPECT_FALSE(name.ends_with(".tmp")) << "left behind: " << name;
}

TEST_F(IndexFaults, KilledWhileAnsweringEsWalksInstead) {
    std::string expected = Walked(WholeList);
    for (int delay : {0, 2, 5, 10, 20}) {
        StartAndWait();
        EsRun run;
        std::thread asking([&] { run = Es(WholeList); });
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        StopIndex(pid);
        pid = -1;
        asking.join();
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, expected) << "killed after " << delay << " ms";
    }
}

// A server of this user that sends the first part of an answer and hangs up, as an index that
// dies between two parts would: es must not take that part for the whole answer.
TEST_F(IndexFaults, AnAnswerCutAfterAPartIsNotTakenForTheWhole) {
    std::string folder = place.runtime + "/lumafind";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    int server = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    (folder + "/index.sock").copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(server, 4), 0);
    const std::string part = std::string("LFA1", 4) + '\0' + "Z:\\cut short.txt\n";
    std::string framed(4, '\0');
    framed[0] = static_cast<char>(part.size());
    framed += part;
    std::thread serving([&] {
        for (int asked = 0; asked < 4; ++asked) {
            int client = accept(server, nullptr, nullptr);
            char question[4096];
            [[maybe_unused]] ssize_t got = recv(client, question, sizeof question, 0);
            [[maybe_unused]] ssize_t sent = send(client, framed.data(), framed.size(), 0);
            close(client);
        }
    });
    const Args items{"item 1"};
    EsRun only = Es(items, {{"LUMAFIND_ES_INDEX", "only"}});
    EsRun walked = Es(items);
    // An export is written as the answer comes: what came of the cut one must not stay.
    MakeFile(work + "/out.csv", "old");
    const Args exported{"-export-csv", "out.csv", "item 1"};
    EsRun onlyExport = Es(exported, {{"LUMAFIND_ES_INDEX", "only"}});
    std::string kept = ReadFileText(work + "/out.csv");
    EsRun walkedExport = Es(exported);
    serving.join();
    close(server);
    EXPECT_EQ(only.exitCode, 5) << "a cut answer was taken: " << only.out;
    EXPECT_EQ(walked.exitCode, 0);
    EXPECT_EQ(walked.out, Walked(items));
    EXPECT_EQ(onlyExport.exitCode, 5);
    EXPECT_EQ(kept, "old");
    EXPECT_EQ(walkedExport.exitCode, 0);
    std::string written = ReadFileText(work + "/out.csv");
    EXPECT_EQ(Es({"-export-csv", "walk.csv", "item 1"}, {{"LUMAFIND_ES_INDEX", "off"}}).exitCode,
              0);
    EXPECT_EQ(written, ReadFileText(work + "/walk.csv"));
    for (const auto& item : fs::directory_iterator(work))
        EXPECT_NE(item.path().extension(), ".tmp") << item.path();
}

TEST_F(IndexFaults, ACorruptOrCutSavedIndexIsRebuilt) {
    StartAndWaitSaved();
    StopIndex(pid);
    std::string saved = ReadFileText(place.SavedFile());
    ASSERT_GT(saved.size(), 1000u);
    std::string flipped = saved, renamed = saved;
    flipped[flipped.size() / 2] ^= 0x40;
    renamed[renamed.size() - 3] ^= 0x01; // a letter of the last name: only the checksum sees it
    for (const std::string& bad : {flipped, renamed, saved.substr(0, saved.size() / 3),
                                   std::string("LFIDX"), std::string(5000, '\xff')}) {
        fs::remove(place.SavedFile());
        MakeFile(place.SavedFile(), bad);
        EXPECT_EQ(IndexTool(IndexEnv(), "--check-saved"), 4);
        StartAndWaitSaved();
        EXPECT_TRUE(ThroughIndex(WholeList));
        StopIndex(pid);
        EXPECT_EQ(IndexTool(IndexEnv(), "--check-saved"), 0) << "not saved again after rebuild";
    }
}

TEST_F(IndexFaults, ASecondIndexForTheSameUserEndsQuietly) {
    StartAndWait();
    pid_t second = StartIndex(IndexEnv());
    int status = 0;
    for (int i = 0; i < 200 && waitpid(second, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(WIFEXITED(status)) << "the second index is still running";
    kill(second, SIGKILL);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(ThroughIndex(WholeList)) << "the first index stopped serving";
}

// LUMAFIND_INDEX_TEST_UID makes one end take itself for another user, so each side's check
// meets a peer that is not its user.
TEST_F(IndexFaults, AnotherUsersServerOrClientIsRefused) {
    StartAndWait();
    Env otherUser{{"LUMAFIND_INDEX_TEST_UID", "54321"}};
    EXPECT_FALSE(ThroughIndex(WholeList, otherUser)) << "a server of another user was trusted";
    EsRun walked = Es(WholeList, otherUser);
    EXPECT_EQ(walked.exitCode, 0);
    EXPECT_EQ(walked.out, Walked(WholeList)) << "es did not walk instead";
    StopIndex(pid);
    Env env = IndexEnv();
    env["LUMAFIND_INDEX_TEST_UID"] = "54321";
    pid = StartIndex(env);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(ThroughIndex(WholeList)) << "the server answered a client of another user";
}

TEST_F(IndexFaults, MalformedHugeOrCutQuestionsLeaveTheIndexServing) {
    StartAndWait();
    auto framed = [](const std::string& body) {
        std::string length(4, '\0');
        for (int i = 0; i < 4; ++i)
            length[i] = static_cast<char>((body.size() >> (8 * i)) & 0xFF);
        return length + body;
    };
    const std::string refused = std::string("LFA1") + '\x02';
    std::string garbage = RawExchange(place, framed("not a question at all"), false);
    EXPECT_EQ(garbage.substr(4, 5), refused);
    std::string cutCount =
        RawExchange(place, framed(std::string("LFQ1\x01\xff\xff\xff\x7f", 9)), false);
    EXPECT_EQ(cutCount.substr(4, 5), refused);
    std::string huge = RawExchange(place, std::string("\xf0\xff\xff\x7f", 4) + "LFQ1", false);
    EXPECT_EQ(huge.substr(4, 5), refused);
    RawExchange(place, std::string("\x64\0\0\0LFQ1", 8), true); // promised 100 bytes, sent 4
    std::thread silent([&] { RawExchange(place, "", false); }); // connects, says nothing
    EXPECT_TRUE(ThroughIndex(WholeList)) << "stopped serving after bad questions";
    StopIndex(pid);
    pid = -1;
    silent.join();
}

} // namespace

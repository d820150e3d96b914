// The index against the walk: random changes to a generated tree, then every query of a fixed
// corpus must give the same bytes through the running index as a fresh walk.
#include "index_harness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace fs = std::filesystem;

namespace {

using Args = std::vector<std::string>;

class IndexDifferential : public testing::Test {
  protected:
    void SetUp() override {
        place = MakeIndexPlace();
        root = MakeTempFolder("index-tree");
        outside = MakeTempFolder("index-outside");
        work = MakeTempFolder("index-work");
    }
    void TearDown() override {
        StopIndex(pid);
        RemoveIndexPlace(place);
        std::system(("rm -rf '" + root + "' '" + outside + "' '" + work + "'").c_str());
    }
    void Start() {
        pid = StartIndex(place.Env(root));
        ASSERT_TRUE(WaitCaughtUp(place.Env(root)));
    }
    // What es writes, through the index ("only": it may not walk) or walking ("off").
    std::string Output(const Args& args, const char* mode) {
        EsCall call;
        call.args = args;
        call.env = place.Env(root);
        call.env["LUMAFIND_ES_INDEX"] = mode;
        call.workDir = work;
        EsRun run = RunEs(call);
        EXPECT_EQ(run.exitCode, 0) << mode << ": " << run.err;
        bool csv = std::find(args.begin(), args.end(), "-export-csv") != args.end();
        return csv ? ReadFileText(work + "/out.csv") : run.out;
    }
    std::vector<Args> Corpus() const {
        std::string r = Shown(root);
        auto csv = [](Args a) {
            a.insert(a.begin(), {"-export-csv", "out.csv"});
            return a;
        };
        return {csv({}),
                csv({"-size", "-dm", "-sort", "dm"}),
                csv({"-sort", "dm", "-n", "7", "-dm", "/a-d"}),
                csv({"a"}),
                csv({"*.txt"}),
                csv({"ext:txt;mp3"}),
                csv({"/ad", "-size"}),
                csv({r + "\\d1\\"}),
                csv({"!" + r + "\\d2\\", "e"}),
                csv({"!\"" + r + "\\b c\\\"", "-n", "9"}),
                csv({"!" + r + "\\b\\", "x"}),
                csv({"é|ü", "-dm"}),
                csv({"file 1|x.y"}),
                csv({"-n", "5"}),
                {"-sort", "name"}};
    }
    void ExpectSameAsWalk(const std::string& after) {
        ASSERT_TRUE(WaitCaughtUp(place.Env(root))) << after;
        for (const Args& q : Corpus()) {
            std::string joined;
            for (const std::string& a : q)
                joined += "[" + a + "]";
            ASSERT_EQ(Output(q, "only"), Output(q, "off"))
                << "after " << after << ", query " << joined;
        }
    }

    // Rounds of six random changes, each round then compared with a walk.
    void ChangeAndCompare(int rounds);

    IndexPlace place;
    std::string root, outside, work;
    pid_t pid = -1;
};

const char* const Names[] = {"a",     "file 1.txt", "Été.mp3",      "x.y.z",     "dots...",
                             "b c",   "ÉCOLE",      "ünï cödé.txt", "MiXed.TXT", "line\nbreak.txt",
                             "plain", "e.mp3"};

void Touch(const fs::path& p, size_t size, long long mtime) {
    std::ofstream(p, std::ios::binary) << std::string(size, 'x');
    MakeFile(p.string(), std::string(size, 'x'), mtime);
}

// The folders and files below a root (not the root itself), in a stable order.
void Contents(const fs::path& top, std::vector<fs::path>& folders, std::vector<fs::path>& files) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(top, error), end; it != end; it.increment(error)) {
        if (error) break;
        if (it->is_symlink()) continue;
        (it->is_directory() ? folders : files).push_back(it->path());
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
}

struct Changer {
    fs::path root, outside;
    std::mt19937 random{20261207};
    int serial = 0;
    std::string log;

    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); }
    std::string NewName() {
        return std::string(Names[Pick(std::size(Names))]) + " " + std::to_string(serial++);
    }
    fs::path AnyFolder(const std::vector<fs::path>& folders) {
        size_t k = Pick(folders.size() + 1);
        return k == folders.size() ? root : folders[k];
    }
    void Step() {
        std::vector<fs::path> folders, files;
        Contents(root, folders, files);
        std::error_code e;
        switch (Pick(9)) {
        case 0:
        case 1: {
            fs::path p = AnyFolder(folders) / NewName();
            Touch(p, Pick(3000), 1500000000 + static_cast<long long>(Pick(100000000)));
            log += "create " + p.string() + "\n";
            break;
        }
        case 2: {
            if (files.empty()) break;
            fs::path p = files[Pick(files.size())];
            fs::remove(p, e);
            log += "delete " + p.string() + "\n";
            break;
        }
        case 3: {
            if (files.empty()) break;
            fs::path from = files[Pick(files.size())], to = AnyFolder(folders) / NewName();
            fs::rename(from, to, e);
            log += "rename " + from.string() + " -> " + to.string() + "\n";
            break;
        }
        case 4: {
            fs::path p = AnyFolder(folders) / NewName();
            fs::create_directory(p, e);
            Touch(p / NewName(), 10, 1600000000);
            log += "mkdir " + p.string() + "\n";
            break;
        }
        case 5: {
            if (folders.empty()) break;
            fs::path p = folders[Pick(folders.size())];
            fs::remove_all(p, e);
            log += "rm -r " + p.string() + "\n";
            break;
        }
        case 6: { // a folder moved elsewhere in the tree, never below itself
            if (folders.empty()) break;
            fs::path from = folders[Pick(folders.size())], into = AnyFolder(folders);
            if (into.string().starts_with(from.string())) break;
            fs::rename(from, into / NewName(), e);
            log += "move " + from.string() + " into " + into.string() + "\n";
            break;
        }
        case 7: { // out of the root and back in later
            if (folders.empty()) break;
            fs::path from = folders[Pick(folders.size())];
            fs::rename(from, outside / NewName(), e);
            log += "out " + from.string() + "\n";
            break;
        }
        case 8: {
            fs::path away = outside / NewName();
            fs::create_directories(away / "inner", e);
            Touch(away / "inner" / NewName(), 5, 1550000000);
            Touch(away / NewName(), 7, 1550000000);
            fs::rename(away, AnyFolder(folders) / NewName(), e);
            log += "in " + away.string() + "\n";
            break;
        }
        }
    }
};

void IndexDifferential::ChangeAndCompare(int rounds) {
    Changer changer;
    changer.root = root;
    changer.outside = outside;
    for (int round = 0; round < rounds; ++round) {
        for (int step = 0; step < 6; ++step)
            changer.Step();
        ExpectSameAsWalk(changer.log);
    }
}

TEST_F(IndexDifferential, RandomChangesLeaveTheSameAnswersAsAWalk) {
    for (const char* folder : {"d1", "d2", "b c", "d1/sub", "d2/Été"})
        fs::create_directories(fs::path(root) / folder);
    Touch(fs::path(root) / "d1/sub/file 1.txt", 12, 1600000000);
    Touch(fs::path(root) / "d2/Été/e.mp3", 100, 1600000060);
    Touch(fs::path(root) / "b c/MiXed.TXT", 1, 1600000060); // ties with the next by date
    Touch(fs::path(root) / "MiXed.TXT", 2, 1600000060);
    Touch(fs::path(root) / "line\nbreak", 2, 1600000060);
    Touch(fs::path(root) / "b\\x.txt", 2, 1600000060); // shown as if b were a folder
    Start();
    ExpectSameAsWalk("the first walk");
    ChangeAndCompare(12);
}

// Links read as the walk reads them. An index started from its saved file must know its entries by
// folder and name as the one that walked did: the changes that follow update them rather than add
// them twice.
TEST_F(IndexDifferential, ChangesAfterARestartFromTheSavedIndex) {
    for (const char* folder : {"d1", "d2/deep", "b c"})
        fs::create_directories(fs::path(root) / folder);
    Touch(fs::path(root) / "d1/file 1.txt", 12, 1600000000);
    Touch(fs::path(root) / "d2/deep/e.mp3", 100, 1600000060);
    Touch(fs::path(root) / "b c/MiXed.TXT", 1, 1600000060);
    // A link gives its target's size and date; a broken one its own.
    fs::create_symlink("../d2/deep/e.mp3", fs::path(root) / "d1/link.mp3");
    fs::create_symlink("nowhere.txt", fs::path(root) / "d1/broken.txt");
    Start();
    ExpectSameAsWalk("the first walk");
    for (int i = 0; i < 1000 && IndexTool(place.Env(root), "--check-saved") != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(IndexTool(place.Env(root), "--check-saved"), 0);
    StopIndex(pid);
    Start();
    ExpectSameAsWalk("a restart");
    Touch(fs::path(root) / "d1/file 1.txt", 40, 1600000900);
    Touch(fs::path(root) / "d2/deep/new.txt", 3, 1600000900);
    fs::remove(fs::path(root) / "b c/MiXed.TXT");
    ExpectSameAsWalk("a file grown, one made, one removed");
    ChangeAndCompare(4);
}

// A restart lists again only the folders whose date changed. A file rewritten in place while no
// index ran leaves its folder's date alone, so only reading every entry again finds it; what
// the index answers during that pass must not be older than the disk either.
class IndexRecheck : public IndexDifferential {
  protected:
    // The folders dated long before the save, so that the restart lists none of them again.
    void DateFoldersLongAgo() {
        std::vector<fs::path> folders, files;
        Contents(root, folders, files);
        folders.push_back(root);
        for (const fs::path& f : folders)
            fs::last_write_time(f, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    }
    void StartSavedAndStop() {
        DateFoldersLongAgo();
        Start();
        for (int i = 0; i < 1000 && IndexTool(place.Env(root), "--check-saved") != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(IndexTool(place.Env(root), "--check-saved"), 0);
        StopIndex(pid);
    }
    // The first answer through the index after a restart, without waiting for it to catch up.
    std::string FirstAnswer(const std::map<std::string, std::string>& env, const Args& args) {
        EsCall call;
        call.args = args;
        call.env = env;
        call.env["LUMAFIND_ES_INDEX"] = "only";
        call.workDir = work;
        for (int i = 0; i < 500; ++i) {
            if (RunEs(call).exitCode == 0) return ReadFileText(work + "/out.csv");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "the index did not answer after its restart";
        return "";
    }
    fs::file_time_type DateOf(const fs::path& p) { return fs::last_write_time(p); }
};

TEST_F(IndexRecheck, SizesAndDatesChangedWhileNoIndexRanAreReadAgain) {
    fs::create_directories(fs::path(root) / "d1/deep");
    Touch(fs::path(root) / "d1/file 1.txt", 12, 1600000000);
    Touch(fs::path(root) / "d1/deep/e.mp3", 100, 1600000060);
    Touch(fs::path(root) / "plain", 5, 1600000120);
    StartSavedAndStop();
    fs::file_time_type folderDate = DateOf(fs::path(root) / "d1");
    Touch(fs::path(root) / "d1/file 1.txt", 40, 1600000900);
    Touch(fs::path(root) / "d1/deep/e.mp3", 3, 1500000000);
    ASSERT_EQ(DateOf(fs::path(root) / "d1"), folderDate) << "the premise: its listing is the same";
    Start();
    std::string rows = Output({"-export-csv", "out.csv", "-size", "-dm", "/a-d"}, "only");
    EXPECT_NE(rows.find("40,09/13/2020 12:41,"), std::string::npos) << rows;
    EXPECT_NE(rows.find("3,07/14/2017 02:40,"), std::string::npos) << rows;
    ExpectSameAsWalk("sizes and dates changed while no index ran");
}

// The pass is held after it has read the folder. An answer meanwhile must not give what was saved
// before the restart. A file then changes again, and the watcher reports it: what the pass read
// before is older and must not be what the index keeps.
TEST_F(IndexRecheck, AnswersDuringThePassAreNotOlderThanTheDisk) {
    Touch(fs::path(root) / "grows.txt", 10, 1600000000);
    Touch(fs::path(root) / "stays.txt", 20, 1600000000);
    StartSavedAndStop();
    Touch(fs::path(root) / "stays.txt", 21, 1600000100); // while no index ran
    std::map<std::string, std::string> env = place.Env(root);
    env["LUMAFIND_INDEX_TEST_RECHECK_PAUSE_MS"] = "1500";
    pid = StartIndex(env);
    std::string first = FirstAnswer(env, {"-export-csv", "out.csv", "-size", "-dm"});
    EXPECT_NE(first.find("21,09/13/2020 12:28,"), std::string::npos) << first;
    Touch(fs::path(root) / "grows.txt", 77, 1600000500);
    ASSERT_TRUE(WaitCaughtUp(env));
    std::string rows = Output({"-export-csv", "out.csv", "-size", "-dm", "/a-d"}, "only");
    EXPECT_NE(rows.find("77,09/13/2020 12:35,"), std::string::npos) << rows;
    EXPECT_NE(rows.find("21,09/13/2020 12:28,"), std::string::npos) << rows;
    ExpectSameAsWalk("a change during the pass");
}

TEST_F(IndexDifferential, AFolderOfThousandsComesAndGoes) {
    Start();
    fs::path big = fs::path(root) / "big";
    fs::create_directory(big);
    for (int i = 0; i < 3000; ++i)
        MakeFile((big / ("entry " + std::to_string(i) + ".txt")).string(), "", 1600000000 + i);
    ExpectSameAsWalk("3000 files made");
    for (int i = 0; i < 3000; i += 2)
        fs::remove(big / ("entry " + std::to_string(i) + ".txt"));
    ExpectSameAsWalk("half of them removed");
    fs::rename(big, fs::path(outside) / "big");
    ExpectSameAsWalk("the folder moved out");
}

// 20,000 creations overflow the kernel's queue of changes (16,384 by default) while the index
// is held still: it must notice, walk again, and only then answer.
TEST_F(IndexDifferential, AnOverflowEndsInARescan) {
    Start();
    fs::path burst = fs::path(root) / "burst";
    fs::create_directory(burst);
    ASSERT_TRUE(WaitCaughtUp(place.Env(root)));
    kill(pid, SIGSTOP);
    for (int i = 0; i < 20000; ++i)
        MakeFile((burst / std::to_string(i)).string(), "");
    // Changes elsewhere once the queue is full are lost: only a new walk finds them.
    MakeFile(root + "/after the burst.txt", "");
    fs::create_directory(fs::path(root) / "later");
    kill(pid, SIGCONT);
    ASSERT_TRUE(WaitCaughtUp(place.Env(root)));
    std::string all = Output({"-export-csv", "out.csv", "/a-d"}, "only");
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 20002);
    EXPECT_EQ(all, Output({"-export-csv", "out.csv", "/a-d"}, "off"));
    ExpectSameAsWalk("an overflow");
}

} // namespace

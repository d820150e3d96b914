#include "es_tree.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

std::string EsTree::root;
bool EsTree::throughIndex = false;
IndexPlace EsTree::place;
pid_t EsTree::indexPid = -1;
long long EsTree::base = 1600000000; // 09/13/2020 12:26 UTC

namespace {

// In order of modification time, oldest first.
const char* const TreeFiles[] = {
    "odd\xE9 dir/deeper/plainrow",
    "quote \"q\" dir/deeper/plainrow",
    "echo/echo",
    "docs/report.docx",
    "docs/Report Final.DOCX",
    "docs/a,b.txt",
    "docs/say \"hi\".txt",
    "docs/notes.TXT",
    "music/Beatles - Help.mp3",
    "music/Ünïcödé Straße.ogg",
    "music/ÉCOLE.wav",
    "windows/system32/texas.dll",
    "windows/texas.ini",
    "texas/dallas.txt",
    "texas/houston.pdf",
    "pics/holiday.jpg",
    "pics/holiday.PNG",
    "archive/backup.tar.gz",
    "archive/old.r01",
    "video/clip.mkv",
    "video/movie.MP4",
    "tools/setup.exe",
    "tools/run.bat",
    "texas.txt",
    "noext",
    "caf\xE9.txt",
    "line\nbreak.txt",
};

} // namespace

void EsTree::SetUpTestSuite() {
    root = MakeTempFolder("es-tree");
    for (const char* folder : {"docs", "music", "windows", "windows/system32", "texas", "pics",
                               "archive", "video", "tools", "odd\xE9 dir", "odd\xE9 dir/deeper",
                               "quote \"q\" dir", "quote \"q\" dir/deeper", "echo"})
        MakeFolder(root + "/" + folder);
    long long t = base - 3 * 60; // the files before docs/report.docx are older than it
    for (const char* file : TreeFiles) {
        std::string content = std::string(file) == "docs/report.docx" ? std::string(1234, 'x') : "";
        MakeFile(root + "/" + file, content, t);
        t += 60;
    }
    ASSERT_EQ(symlink(".", (root + "/loop").c_str()), 0);
    ASSERT_EQ(symlink("docs", (root + "/link-to-docs").c_str()), 0);
    StartIndexWhenAsked();
}

void EsTree::StartIndexWhenAsked() {
    throughIndex = std::getenv("LUMAFIND_ES_TEST_INDEX") != nullptr;
    if (!throughIndex) return;
    place = MakeIndexPlace();
    // Searches on other roots find this index too, which sends them to the walk.
    setenv("XDG_RUNTIME_DIR", place.runtime.c_str(), 1);
    setenv("XDG_CACHE_HOME", place.cache.c_str(), 1);
    indexPid = StartIndex(place.Env(root));
    ASSERT_TRUE(WaitCaughtUp(place.Env(root)));
}

void EsTree::TearDownTestSuite() {
    if (throughIndex) {
        StopIndex(indexPid);
        RemoveIndexPlace(place);
    }
    std::system(("rm -rf '" + root + "'").c_str());
}

void EsTree::SetUp() {
    work = MakeTempFolder("es-work");
}

void EsTree::TearDown() {
    std::system(("rm -rf '" + work + "'").c_str());
}

EsRun EsTree::Run(std::vector<std::string> args) {
    if (std::find(args.begin(), args.end(), "-export-csv") == args.end())
        args.insert(args.begin(), {"-export-csv", "out.csv"});
    EsCall call;
    call.args = args;
    call.env = {{"LUMAFIND_ES_ROOTS", root}, {"TZ", "UTC"}};
    if (throughIndex) call.env["LUMAFIND_ES_INDEX"] = "only";
    call.workDir = work;
    return RunEs(call);
}

std::vector<std::string> EsTree::Search(const std::vector<std::string>& args) {
    EsRun run = Run(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> names;
    for (const std::string& n : Names(ReadFileText(work + "/out.csv")))
        names.push_back(Rel(n));
    return names;
}

std::set<std::string> EsTree::Found(const std::vector<std::string>& args) {
    std::vector<std::string> names = Search(args);
    std::set<std::string> found(names.begin(), names.end());
    EXPECT_EQ(found.size(), names.size()) << "a match was reported twice";
    return found;
}

std::string EsTree::Rel(const std::string& shown) const {
    std::string prefix = Shown(root) + "\\";
    return shown.starts_with(prefix) ? shown.substr(prefix.size()) : shown;
}

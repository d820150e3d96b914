// The result file, exit codes, safe replacement of the export file, and the root folders.
#include "es_tree.h"

#include <algorithm>
#include <ctime>
#include <sys/stat.h>

using List = std::vector<std::string>;

class EsOutput : public EsTree {
  protected:
    std::string Out() { return ReadFileText(work + "/out.csv"); }
    bool LeftoverTemp() {
        for (const std::string& n : FolderNames(work))
            if (n.ends_with(".tmp")) return true;
        return false;
    }
};

TEST_F(EsOutput, RowsHoldSizeDateAndQuotedFullName) {
    ASSERT_EQ(Run({"-size", "-size-format", "2", "-dm", "report.docx|texas"}).exitCode, 0);
    auto rows = ParseCsv(Out());
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (List{"Size", "Date Modified", "Filename"}));
    EXPECT_EQ(rows[1], (List{"1234", "09/13/2020 12:26", Shown(root + "/docs/report.docx")}));
    EXPECT_EQ(rows[2][0], ""); // the folder texas: no size
    EXPECT_EQ(rows[2][2], Shown(root + "/texas"));
    EXPECT_NE(Out().find(",\"" + Shown(root + "/texas") + "\"\r\n"), std::string::npos);
}

TEST_F(EsOutput, CommasQuotesBlanksAndLettersSurviveTheRoundTrip) {
    ASSERT_EQ(Run({"-size", "-dm", "/a-d", "docs\\|music\\"}).exitCode, 0);
    std::string raw = Out();
    EXPECT_NE(raw.find("\\say \"\"hi\"\".txt\""), std::string::npos) << "inner quote doubled";
    List names = Names(raw);
    for (const char* file : {"docs/a,b.txt", "docs/say \"hi\".txt", "docs/Report Final.DOCX",
                             "music/Ünïcödé Straße.ogg", "music/ÉCOLE.wav"})
        EXPECT_NE(std::find(names.begin(), names.end(), Shown(root + "/" + file)), names.end())
            << file;
    for (const auto& row : ParseCsv(raw))
        EXPECT_EQ(row.size(), 3u);
}

// A plain name below a folder whose name needs care: the folder's part of each path is
// written with the same care, in the file and on standard output.
TEST_F(EsOutput, PlainNamesBelowAQuotedOrStrayByteFolder) {
    ASSERT_EQ(Run({"plainrow"}).exitCode, 0);
    std::string top = Shown(root);
    EXPECT_EQ(Out(), "Filename\r\n\"" + top + "\\odd\xC3\xA9 dir\\deeper\\plainrow\"\r\n\"" + top +
                         "\\quote \"\"q\"\" dir\\deeper\\plainrow\"\r\n");
    EsCall call;
    call.args = {"plainrow"};
    call.env = {{"LUMAFIND_ES_ROOTS", root}};
    EsRun run = RunEs(call);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, top + "\\odd\xC3\xA9 dir\\deeper\\plainrow\n" + top +
                           "\\quote \"q\" dir\\deeper\\plainrow\n");
}

TEST_F(EsOutput, OnlyRequestedColumnsAndHeaderForAnEmptyResult) {
    ASSERT_EQ(Run({"nothing-is-called-this", "-size", "-dm"}).exitCode, 0);
    EXPECT_EQ(Out(), "Size,Date Modified,Filename\r\n");
    ASSERT_EQ(Run({"noext"}).exitCode, 0);
    EXPECT_EQ(Out(), "Filename\r\n\"" + Shown(root + "/noext") + "\"\r\n");
}

TEST_F(EsOutput, TheProgramsOwnCommandLine) {
    EsRun run = Run({"!c:\\windows\\", "!c:\\$recycle.bin\\", "-size", "-size-format", "2", "-dm",
                     "/a-d", "-sort", "dm", "-n", "100", "-export-csv", "results.txt", "texas"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    List names = Names(ReadFileText(work + "/results.txt"));
    EXPECT_EQ(names, (List{Shown(root + "/texas.txt"), Shown(root + "/windows/texas.ini"),
                           Shown(root + "/windows/system32/texas.dll")}));
}

TEST_F(EsOutput, WithoutExportTheMatchesGoToStandardOutput) {
    EsCall call;
    call.args = {"houston"};
    call.env = {{"LUMAFIND_ES_ROOTS", root}};
    EsRun run = RunEs(call);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, Shown(root + "/texas/houston.pdf") + "\n");
}

TEST_F(EsOutput, BadCommandLinesGiveTheirOwnCodeAndLeaveTheFileAlone) {
    struct Case {
        List args;
        int code;
    } cases[] = {
        {{"-bogus"}, 1},
        {{"/x"}, 1},
        {{"texas", "-n"}, 2},
        {{"-sort"}, 2},
        {{"-n", "-dm"}, 2},
        {{"-size-format"}, 2},
        {{"-n", "ten"}, 3},
        {{"-sort", "size"}, 3},
        {{"-size-format", "x"}, 3},
    };
    for (const Case& c : cases) {
        MakeFile(work + "/out.csv", "old");
        List args = c.args;
        args.insert(args.begin(), {"-export-csv", "out.csv"});
        EsCall call;
        call.args = args;
        call.env = {{"LUMAFIND_ES_ROOTS", root}};
        call.workDir = work;
        EsRun run = RunEs(call);
        EXPECT_EQ(run.exitCode, c.code) << c.args[0];
        EXPECT_TRUE(run.err.starts_with("es: ")) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(Out(), "old");
    }
}

TEST_F(EsOutput, TermAfterDoubleDashMayStartWithADash) {
    MakeFile(root + "/-draft.txt", "");
    List names = Search({"--", "-draft"});
    std::remove((root + "/-draft.txt").c_str());
    EXPECT_EQ(names, List{"-draft.txt"});
}

TEST_F(EsOutput, ExportThatCannotBeWrittenFailsWithCodeFour) {
    MakeFolder(work + "/taken");
    for (const std::string& target : {std::string("taken"), std::string("missing/out.csv")}) {
        EsRun run = Run({"texas", "-export-csv", target});
        EXPECT_EQ(run.exitCode, 4) << target;
        EXPECT_TRUE(run.err.starts_with("es: ")) << run.err;
        EXPECT_FALSE(LeftoverTemp());
    }
}

TEST_F(EsOutput, FailedWriteKeepsTheOldFileWhole) {
    MakeFile(work + "/out.csv", "old result\r\n");
    EsCall call;
    call.args = {"-size", "-dm", "txt", "-export-csv", "out.csv"};
    call.env = {{"LUMAFIND_ES_ROOTS", root}};
    call.workDir = work;
    call.fileSizeLimit = 40; // the new file runs out of room halfway
    EsRun run = RunEs(call);
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(Out(), "old result\r\n");
    EXPECT_FALSE(LeftoverTemp());
    call.fileSizeLimit = -1;
    EXPECT_EQ(RunEs(call).exitCode, 0);
    EXPECT_EQ(Names(Out()).size(), 6u);
    EXPECT_FALSE(LeftoverTemp());
}

TEST_F(EsOutput, ExportPathMayBeAWindowsPath) {
    EXPECT_EQ(Run({"houston", "-export-csv", Shown(work + "/win.csv")}).exitCode, 0);
    EXPECT_EQ(Names(ReadFileText(work + "/win.csv")), List{Shown(root + "/texas/houston.pdf")});
}

class EsRoots : public EsOutput {
  protected:
    EsRun RunWith(const std::map<std::string, std::string>& env, const std::string& program) {
        EsCall call;
        call.args = {"/a-d", "-export-csv", "out.csv"};
        call.env = env;
        call.workDir = work;
        call.program = program;
        return RunEs(call);
    }
    std::string CopyOfProgram() {
        std::string copy = work + "/bin/es";
        MakeFolder(work + "/bin");
        std::system(("cp '" + std::string(ES_PROGRAM) + "' '" + copy + "'").c_str());
        return copy;
    }
    std::set<std::string> FoundNow() {
        std::set<std::string> found;
        for (const std::string& n : Names(Out()))
            found.insert(Rel(n));
        return found;
    }
};

TEST_F(EsRoots, EnvironmentListInEitherFormNestedRootsOnce) {
    std::string roots = Shown(root + "/tools") + ";" + root + "/video/ ; " + root + "/tools/" +
                        ";" + root + "/no-such-folder;";
    EsRun run = RunWith({{"LUMAFIND_ES_ROOTS", roots}}, ES_PROGRAM);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(FoundNow(), (std::set<std::string>{"tools\\setup.exe", "tools\\run.bat",
                                                 "video\\clip.mkv", "video\\movie.MP4"}));
    EXPECT_NE(run.err.find("no-such-folder"), std::string::npos);
    RunWith({{"LUMAFIND_ES_ROOTS", root + "/texas;" + root}}, ES_PROGRAM);
    EXPECT_EQ(FoundNow().count("texas\\dallas.txt"), 1u);
    EXPECT_EQ(Names(Out()).size(), FoundNow().size()); // the inner root adds no duplicates
}

TEST_F(EsRoots, FileBesideTheProgramThenHomeFolder) {
    std::string program = CopyOfProgram();
    MakeFile(work + "/bin/es-roots.txt", "# searched by the tests\r\n" + Shown(root + "/pics") +
                                             "\r\n\r\n" + root + "/archive\r\n");
    RunWith({{"LUMAFIND_ES_ROOTS", ""}, {"HOME", root + "/tools"}}, program);
    EXPECT_EQ(FoundNow(), (std::set<std::string>{"pics\\holiday.jpg", "pics\\holiday.PNG",
                                                 "archive\\backup.tar.gz", "archive\\old.r01"}));
    std::remove((work + "/bin/es-roots.txt").c_str());
    RunWith({{"LUMAFIND_ES_ROOTS", ""}, {"HOME", root + "/tools"}}, program);
    EXPECT_EQ(FoundNow(), (std::set<std::string>{"tools\\setup.exe", "tools\\run.bat"}));
}

// A full name with a line break cannot be one line of the result: it is left out, and so is
// everything below it, but nothing beside it. A root holding one has nothing to write.
TEST_F(EsRoots, LineBreaksLeaveOutOnlyThePathsHoldingThem) {
    std::string tree = work + "/tree", broken = work + "/root\nwith break";
    for (const std::string& f : {tree, tree + "/a", tree + "/line\nfolder",
                                 tree + "/line\nfolder/sub", tree + "/z", broken})
        MakeFolder(f);
    for (const std::string& f :
         {tree + "/a/one.txt", tree + "/line\nfolder/below.txt",
          tree + "/line\nfolder/sub/deeper.txt", tree + "/z/two.txt",
          tree + "/carriage\rreturn.txt", tree + "/ends\n", broken + "/in.txt"})
        MakeFile(f, "");
    EsCall call;
    call.args = {"-size", "-export-csv", "out.csv"};
    call.env = {{"LUMAFIND_ES_ROOTS", tree + ";" + broken}};
    call.workDir = work;
    EsRun run = RunEs(call);
    EXPECT_EQ(run.exitCode, 0);
    List expected{Shown(tree + "/a"), Shown(tree + "/a/one.txt"), Shown(tree + "/z"),
                  Shown(tree + "/z/two.txt")};
    List names = Names(Out()); // every line must end with CR LF
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expected);
    EXPECT_NE(run.err.find("root with break"), std::string::npos) << run.err;

    call.args = {}; // one name per line on standard output
    run = RunEs(call);
    List lines;
    for (size_t from = 0, end; (end = run.out.find('\n', from)) != std::string::npos;
         from = end + 1)
        lines.push_back(run.out.substr(from, end - from));
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, expected);
}

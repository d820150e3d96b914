// Query forms: terms, OR, wildcards, path terms, exclusions, extension lists, kinds, order.
#include "es_tree.h"

using Set = std::set<std::string>;
using List = std::vector<std::string>;

class EsQuery : public EsTree {};

TEST_F(EsQuery, PlainTermIsCaseInsensitiveSubstringOfTheName) {
    Set texas{"texas", "texas.txt", "windows\\texas.ini", "windows\\system32\\texas.dll"};
    EXPECT_EQ(Found({"TEXAS"}), texas); // texas\dallas.txt has it in its path only
    EXPECT_EQ(Found({"ünïcödé"}), Set{"music\\Ünïcödé Straße.ogg"});
    EXPECT_EQ(Found({"ÜNÏCÖDÉ STRASSE|straße"}), Set{"music\\Ünïcödé Straße.ogg"});
    EXPECT_EQ(Found({"école"}), Set{"music\\ÉCOLE.wav"});
    EXPECT_EQ(Found({"say \"hi\""}), Set{"docs\\say \"hi\".txt"});
}

TEST_F(EsQuery, TermsAreAndAlternativesAreOr) {
    EXPECT_EQ(Found({"texas", "txt"}), Set{"texas.txt"});
    EXPECT_EQ(Found({"dallas|HOUSTON"}), (Set{"texas\\dallas.txt", "texas\\houston.pdf"}));
    EXPECT_EQ(Found({"holiday", "jpg|png"}), (Set{"pics\\holiday.jpg", "pics\\holiday.PNG"}));
    EXPECT_EQ(Found({"nothing-is-called-this"}), Set{});
}

TEST_F(EsQuery, WildcardTermMatchesTheWholeName) {
    EXPECT_EQ(Found({"*.mp3"}), Set{"music\\Beatles - Help.mp3"});
    EXPECT_EQ(Found({"holiday.???"}), (Set{"pics\\holiday.jpg", "pics\\holiday.PNG"}));
    EXPECT_EQ(Found({"*.tx"}), Set{});
    EXPECT_EQ(Found({"?cole.wav"}), Set{"music\\ÉCOLE.wav"}); // one letter, two bytes
    EXPECT_EQ(Found({"*.mkv|*.mp4"}), (Set{"video\\clip.mkv", "video\\movie.MP4"}));
}

TEST_F(EsQuery, PathTermFindsEverythingUnderTheFolder) {
    std::string texas = Shown(root) + "\\texas\\";
    Set inside{"texas\\dallas.txt", "texas\\houston.pdf"};
    EXPECT_EQ(Found({texas}), inside);
    std::string lower = texas;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(Found({lower}), inside);
    EXPECT_EQ(Found({texas, "dallas"}), Set{"texas\\dallas.txt"});
    EXPECT_EQ(Found({Shown(root) + "\\docs\\*.txt"}),
              (Set{"docs\\a,b.txt", "docs\\say \"hi\".txt", "docs\\notes.TXT"}));
    EXPECT_EQ(Found({"windows\\system32\\"}), Set{"windows\\system32\\texas.dll"});
}

// "*" runs across folders, and a wildcard path is never taken for an anchored one
// that would let the walk skip the folders between.
TEST_F(EsQuery, PathWildcardFindsMatchesSeveralFoldersDown) {
    const Set dll{"windows\\system32\\texas.dll"};
    EXPECT_EQ(Found({Shown(root) + "\\*.dll"}), dll);
    EXPECT_EQ(Found({Shown(root) + "\\windows\\*\\texas.*"}), dll);
    EXPECT_EQ(Found({Shown(root) + "\\w*\\texas.*"}),
              (Set{"windows\\texas.ini", "windows\\system32\\texas.dll"}));
    EXPECT_EQ(Found({"*\\system32\\*"}), dll);
    EXPECT_EQ(Found({Shown(root) + "\\*\\*\\*.dll|" + Shown(root) + "\\docs\\"}),
              (Set{"windows\\system32\\texas.dll", "docs\\report.docx", "docs\\Report Final.DOCX",
                   "docs\\a,b.txt", "docs\\say \"hi\".txt", "docs\\notes.TXT"}));
}

TEST_F(EsQuery, ExclusionLeavesOutMatchesAndSubtrees) {
    std::string windows = Shown(root) + "\\windows\\";
    EXPECT_EQ(Found({"!\"" + windows + "\"", "texas"}), (Set{"texas", "texas.txt"}));
    EXPECT_EQ(Found({"\"say hi\""}), Set{});
    EXPECT_EQ(Found({windows.insert(0, 1, '!'), "texas"}), (Set{"texas", "texas.txt"}));
    EXPECT_EQ(Found({"!txt", "texas"}),
              (Set{"texas", "windows\\texas.ini", "windows\\system32\\texas.dll"}));
    // What the program sends by default, and a lone "!" from an empty exclusion list.
    Set texas{"texas", "texas.txt", "windows\\texas.ini", "windows\\system32\\texas.dll"};
    EXPECT_EQ(Found({"!c:\\windows\\", "!c:\\$recycle.bin\\", "texas"}), texas);
    EXPECT_EQ(Found({"!", "texas"}), texas);
}

TEST_F(EsQuery, FilesOnlyAndFoldersOnly) {
    EXPECT_EQ(Found({"/a-d", "texas"}),
              (Set{"texas.txt", "windows\\texas.ini", "windows\\system32\\texas.dll"}));
    EXPECT_EQ(Found({"/ad", "texas"}), Set{"texas"});
    EXPECT_EQ(Found({"/AD", "s"}), (Set{"docs", "music", "pics", "tools", "texas", "windows",
                                        "windows\\system32", "link-to-docs"}));
}

TEST_F(EsQuery, ExtensionListsOfTheFilterNames) {
    const std::string audio =
        "ext:aac;ac3;aif;aifc;aiff;au;cda;dts;fla;flac;it;m1a;m2a;m3u;m4a;m4b;"
        "m4p;mid;midi;mka;mod;mp2;mp3;mpa;ogg;ra;rmi;snd;spc;umx;voc;wav;wma;xm";
    const std::string zip =
        "ext:7z;ace;arj;bz2;cab;gz;gzip;jar;r00;r01;r02;r03;r04;r05;r06;r07;r08;"
        "r09;r10;r11;r12;r13;r14;r15;r16;r17;r18;r19;r20;r21;r22;r23;r24;r25;r26;r27;"
        "r28;r29;rar;tar;tgz;z;zip";
    const std::string doc =
        "ext:c;chm;cpp;csv;cxx;doc;docm;docx;dot;dotm;dotx;h;hpp;htm;html;"
        "hxx;ini;java;lua;mht;mhtml;odt;pdf;potx;potm;ppam;ppsm;ppsx;pps;ppt;pptm;"
        "pptx;rtf;sldm;sldx;thmx;txt;vsd;wpd;wps;wri;xlam;xls;xlsb;xlsm;xlsx;xltm;xltx;xml";
    const std::string exe = "ext:bat;cmd;exe;msi;msp;scr";
    const std::string pic = "ext:ani;bmp;gif;ico;jpe;jpeg;jpg;pcx;png;psd;tga;tif;tiff;webp;wmf";
    const std::string video =
        "ext:3g2;3gp;3gp2;3gpp;amr;amv;asf;avi;bdmv;bik;d2v;divx;drc;dsa;dsm;dss;"
        "dsv;evo;f4v;flc;fli;flic;flv;hdmov;ifo;ivf;m1v;m2p;m2t;m2ts;m2v;m4v;mkv;"
        "mp2v;mp4;mp4v;mpe;mpeg;mpg;mpls;mpv2;mpv4;mov;mts;ogm;ogv;pss;pva;qt;ram;"
        "ratdvd;rm;rmm;rmvb;roq;rpm;smil;smk;swf;tp;tpr;ts;vob;vp6;webm;wm;wmp;wmv";
    EXPECT_EQ(Found({audio}),
              (Set{"music\\Beatles - Help.mp3", "music\\Ünïcödé Straße.ogg", "music\\ÉCOLE.wav"}));
    EXPECT_EQ(Found({zip}), (Set{"archive\\backup.tar.gz", "archive\\old.r01"}));
    EXPECT_EQ(Found({doc}),
              (Set{"docs\\report.docx", "docs\\Report Final.DOCX", "docs\\a,b.txt",
                   "docs\\say \"hi\".txt", "docs\\notes.TXT", "windows\\texas.ini",
                   "texas\\dallas.txt", "texas\\houston.pdf", "texas.txt", "caf\xC3\xA9.txt"}));
    EXPECT_EQ(Found({exe}), (Set{"tools\\setup.exe", "tools\\run.bat"}));
    EXPECT_EQ(Found({pic}), (Set{"pics\\holiday.jpg", "pics\\holiday.PNG"}));
    EXPECT_EQ(Found({video}), (Set{"video\\clip.mkv", "video\\movie.MP4"}));
    EXPECT_EQ(Found({pic, "holiday", "!png"}), Set{"pics\\holiday.jpg"});
}

TEST_F(EsQuery, SortByNameThenCut) {
    List byName{"docs\\a,b.txt",   "caf\xC3\xA9.txt",      "texas\\dallas.txt",
                "docs\\notes.TXT", "docs\\say \"hi\".txt", "texas.txt"};
    EXPECT_EQ(Search({"/a-d", "txt", "-sort", "name"}), byName);
    EXPECT_EQ(Search({"/a-d", "txt"}), byName); // name order is the default
    EXPECT_EQ(Search({"/a-d", "txt", "-sort", "name", "-n", "2"}),
              List(byName.begin(), byName.begin() + 2));
}

// The file's full path begins with the whole of its folder's: the shorter comes first.
TEST_F(EsQuery, AFileNamedAsItsFolderComesAfterTheFolder) {
    EXPECT_EQ(Search({"echo"}), (List{"echo", "echo\\echo"}));
    EXPECT_EQ(Search({"echo", "-sort", "dm"}), (List{"echo", "echo\\echo"}));
}

TEST_F(EsQuery, SortByDateIsNewestFirstAndCutAfterSorting) {
    List newest{"texas.txt", "tools\\run.bat", "tools\\setup.exe"};
    EXPECT_EQ(Search({"/a-d", "-sort", "dm", "-n", "3", "!caf", "!noext"}), newest);
    EXPECT_EQ(Search({"txt", "-sort", "DM", "-n", "1"}), List{"caf\xC3\xA9.txt"});
}

TEST_F(EsQuery, CountOfZeroOrLessPutsNoLimit) {
    EXPECT_EQ(Search({"texas", "-n", "0"}).size(), 4u);
    EXPECT_EQ(Search({"texas", "-n-5"}).size(), 4u); // how a negative count reaches es
}

TEST_F(EsQuery, LinksAreListedButNotEntered) {
    EXPECT_EQ(Found({"report"}), (Set{"docs\\report.docx", "docs\\Report Final.DOCX"}));
    EXPECT_EQ(Found({"loop|link"}), (Set{"loop", "link-to-docs"}));
}

TEST_F(EsQuery, NamesThatCannotBeWrittenAsOneUtf8LineAreHandled) {
    EXPECT_EQ(Found({"break"}), Set{});                // a line break in the name
    EXPECT_EQ(Found({"caf"}), Set{"caf\xC3\xA9.txt"}); // Latin-1 byte read as Windows-1252
}

// A folder the program expands arrives as one quoted term: its blanks and the
// characters a typed term may not hold are part of the path, and a sibling whose
// name merely starts the same way stays out.
class EsQuotedFolder : public EsTree {
  public:
    static void SetUpTestSuite() {
        root = MakeTempFolder("es-quoted");
        for (const char* file :
             {"My Documents & Ann's, caf\xC3\xA9/inside one.txt",
              "My Documents & Ann's, caf\xC3\xA9/sub folder/inside two.txt",
              "My Documents & Ann's, caf\xC3\xA9 2/beside.txt", "My Documents/other.txt"}) {
            std::string path = root + "/" + file;
            for (size_t slash = path.find('/', root.size() + 1); slash != std::string::npos;
                 slash = path.find('/', slash + 1))
                MakeFolder(path.substr(0, slash));
            MakeFile(path, "", base);
        }
        StartIndexWhenAsked();
    }
};

// The folder below the tree, in double quotes, with its trailing backslash.
static std::string QuotedFolder(const std::string& root, const std::string& folder) {
    std::string term = "\"";
    term += Shown(root);
    term += "\\";
    term += folder;
    term += "\\\"";
    return term;
}

TEST_F(EsQuotedFolder, AQuotedFolderPathIsOneTermWithItsBlanks) {
    const std::string folder = "My Documents & Ann's, caf\xC3\xA9";
    Set inside{folder + "\\inside one.txt", folder + "\\sub folder",
               folder + "\\sub folder\\inside two.txt"};
    EXPECT_EQ(Found({QuotedFolder(root, folder)}), inside);
    // As the program sends it: lower case, after the options and the exclusions.
    EXPECT_EQ(Found({"!c:\\windows\\", "!c:\\$recycle.bin\\", "-size", "-size-format", "2", "-dm",
                     "-sort", "name", QuotedFolder(root, "my documents & ann's, caf\xC3\xA9")}),
              inside);
    EXPECT_EQ(Found({QuotedFolder(root, "MY DOCUMENTS & ANN'S, CAF\xC3\x89")}), inside);
    EXPECT_EQ(Found({QuotedFolder(root, "My Documents")}), Set{"My Documents\\other.txt"});
}

// Names of every length from a few letters, so that a part stands at every place of a name: its
// first letter, the last one, and between. "`" is "a" with its lowest bit cleared, so a search
// that compares many places at once meets places that nearly match.
class EsSubstrings : public EsTree {
  public:
    static std::vector<std::string> names;
    static void SetUpTestSuite() {
        root = MakeTempFolder("es-substrings");
        unsigned seed = 7;
        std::set<std::string> made;
        for (size_t length = 1; length <= 40; ++length)
            for (int copy = 0; copy < 12; ++copy) {
                std::string name;
                for (size_t i = 0; i < length; ++i) {
                    seed = seed * 1103515245u + 12345u;
                    name += "ab`c"[(seed >> 16) % 4];
                }
                if (made.insert(name).second) MakeFile(root + "/" + name, "", base);
            }
        names.assign(made.begin(), made.end());
        StartIndexWhenAsked();
    }
};
std::vector<std::string> EsSubstrings::names;

TEST_F(EsSubstrings, APartIsFoundWhereverItStandsInTheName) {
    std::vector<std::string> parts{"ab", "a`", "`a", "abc", "bca`", "c`cb", "aaaa", "cab`ab"};
    // Longer parts taken from names, at their start, their end and between.
    for (size_t n = 0; n < names.size(); n += 41)
        for (size_t length : {7, 9, 12})
            if (names[n].size() > length)
                for (size_t at : {size_t{0}, names[n].size() / 3, names[n].size() - length})
                    parts.push_back(names[n].substr(at, length));
    for (const std::string& part : parts) {
        Set expected;
        for (const std::string& name : names)
            if (name.find(part) != std::string::npos) expected.insert(name);
        EXPECT_EQ(Found({part}), expected) << part;
    }
}

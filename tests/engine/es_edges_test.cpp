// Edges of matching and ordering: extensions on folder names, equal names in many folders,
// the cut after sorting, and the date order past the point where dates are read in parallel.
#include "es_tree.h"

#include <cstdio>
#include <unistd.h>

using List = std::vector<std::string>;
using Set = std::set<std::string>;

namespace {

constexpr int ManyFolders = 70;
constexpr long long TieTime = 1650000000;

std::string Two(int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", i);
    return text;
}

// The date rank of many\fNN: a scramble, so neither the walk nor the path order gives it.
int DateRank(int i) {
    return (i * 29) % ManyFolders;
}

// "!many\f65\|many\f66\|..." leaves out the folders from `from` on.
std::string LeaveOutFrom(int from) {
    std::string term = "!";
    for (int i = from; i < ManyFolders; ++i)
        term.append(i > from ? "|" : "").append("many\\f").append(Two(i)).append("\\");
    return term;
}

} // namespace

class EsEdges : public EsTree {
  public:
    static void SetUpTestSuite() {
        root = MakeTempFolder("es-edges");
        for (const char* folder :
             {"photos.jpg", "photos.jpg/Album.JPG", "backup.zip", "long", "alpha", "beta", "Music",
              "Music/deep", "Music2", "music b", "Zeta", "zeta", "when", "many"})
            MakeFolder(root + "/" + folder);
        for (const char* file :
             {"photos.jpg/cover.png", "photos.jpg/notes", "photos.jpg/inner.jpg", "shot.jpg",
              "backup.zip/data.zip", "long/clip.abcdefgh", "long/clip.ABCDEFGZ",
              "long/clip.abcdefghi", "long/x.tar.gz", "long/tune.mp3", "long/tunemp3"})
            MakeFile(root + "/" + file, "", base);
        ASSERT_EQ(symlink("photos.jpg", (root + "/linked.jpg").c_str()), 0);
        ASSERT_EQ(symlink("shot.jpg", (root + "/alias.jpg").c_str()), 0);
        // Same name, same time: only the folder tells them apart.
        for (const char* file :
             {"zeta/readme.txt", "Music/readme.txt", "beta/README.TXT", "Music2/readme.txt",
              "Zeta/readme.txt", "music b/readme.txt", "Music/deep/ReadMe.txt", "alpha/readme.txt"})
            MakeFile(root + "/" + file, "", TieTime);
        for (const char* file : {"when/c.log", "when/B.log", "when/a.log"})
            MakeFile(root + "/" + file, "", TieTime + 60);
        for (int i = 0; i < ManyFolders; ++i) {
            std::string folder = root + "/many/f" + Two(i);
            MakeFolder(folder);
            MakeFile(folder + "/same.txt", "", base + 60LL * DateRank(i));
        }
        StartIndexWhenAsked();
    }
};

TEST_F(EsEdges, ExtensionNeverMatchesAFolderWhateverItsName) {
    const Set jpgFiles{"shot.jpg", "alias.jpg", "photos.jpg\\inner.jpg"};
    EXPECT_EQ(Found({"ext:jpg"}), jpgFiles);
    EXPECT_EQ(Found({"/a-d", "ext:jpg"}), jpgFiles);
    EXPECT_EQ(Found({"/ad", "ext:jpg"}), Set{});
    EXPECT_EQ(Found({"/ad", "ext:JPG;png;zip"}), Set{});
    EXPECT_EQ(Found({"ext:.zip"}), Set{"backup.zip\\data.zip"});
    // "notes" has no extension: an empty item in the list must not find it.
    EXPECT_EQ(Found({"ext:zip;"}), Set{"backup.zip\\data.zip"});
    EXPECT_EQ(Found({"ext:;.zip;;"}), Set{"backup.zip\\data.zip"});
    EXPECT_EQ(Found({"ext:"}), Set{});
    // Left out by extension, the folders stay and so does what is inside them.
    EXPECT_EQ(Found({"/ad", "!ext:jpg", "jpg"}),
              (Set{"photos.jpg", "photos.jpg\\Album.JPG", "linked.jpg"}));
    EXPECT_EQ(Found({"photos.jpg\\", "!ext:jpg"}),
              (Set{"photos.jpg\\cover.png", "photos.jpg\\notes", "photos.jpg\\Album.JPG"}));
}

// Extensions of up to eight bytes and longer ones, which are compared in different ways.
TEST_F(EsEdges, LongExtensionsMatchWholeAndOnlyAfterTheLastDot) {
    EXPECT_EQ(Found({"ext:abcdefgh"}), Set{"long\\clip.abcdefgh"});
    EXPECT_EQ(Found({"ext:ABCDEFGZ"}), Set{"long\\clip.ABCDEFGZ"});
    EXPECT_EQ(Found({"ext:abcdefghi"}), Set{"long\\clip.abcdefghi"});
    EXPECT_EQ(Found({"ext:abcdefg;abcdefghij;bcdefgh"}), Set{});
    EXPECT_EQ(Found({"ext:ABCDEFGHI;abcdefgz;mp3"}),
              (Set{"long\\clip.abcdefghi", "long\\clip.ABCDEFGZ", "long\\tune.mp3"}));
    EXPECT_EQ(Found({"ext:tar.gz"}), Set{});
    EXPECT_EQ(Found({"ext:gz"}), Set{"long\\x.tar.gz"});
}

// A wildcard that is only an ending ("*.mp3") is matched as one, in a name or a path.
TEST_F(EsEdges, AWildcardEndingMatchesTheWholeEnding) {
    EXPECT_EQ(Found({"*.mp3"}), Set{"long\\tune.mp3"});
    EXPECT_EQ(Found({"*.MP3|*.zz"}), Set{"long\\tune.mp3"});
    EXPECT_EQ(Found({"*mp3"}), (Set{"long\\tune.mp3", "long\\tunemp3"}));
    EXPECT_EQ(Found({"*\\tune.mp3"}), Set{"long\\tune.mp3"});
    EXPECT_EQ(Found({"*p3x"}), Set{});
}

TEST_F(EsEdges, EqualNamesGoByFullPathIgnoringCase) {
    const List byPath{"alpha\\readme.txt",  "beta\\README.TXT",        "music b\\readme.txt",
                      "Music2\\readme.txt", "Music\\deep\\ReadMe.txt", "Music\\readme.txt",
                      "Zeta\\readme.txt",   "zeta\\readme.txt"};
    EXPECT_EQ(Search({"readme", "-sort", "name"}), byPath);
    EXPECT_EQ(Search({"readme", "-sort", "dm"}), byPath); // one time for all: the name, then path
    for (const char* sort : {"name", "dm"})
        for (int n : {1, 2, 5, 7})
            EXPECT_EQ(Search({"readme", "-sort", sort, "-n", std::to_string(n)}),
                      List(byPath.begin(), byPath.begin() + n))
                << sort << " -n " << n;
    // Equal times, different names: by name, ignoring case.
    EXPECT_EQ(Search({".log", "-sort", "dm"}), (List{"when\\a.log", "when\\B.log", "when\\c.log"}));
    EXPECT_EQ(Search({".log|readme", "-sort", "dm", "-n", "4"}),
              (List{"when\\a.log", "when\\B.log", "when\\c.log", "alpha\\readme.txt"}));
}

TEST_F(EsEdges, ManyEqualNamesInNameAndDateOrder) {
    List byPath, newestFirst;
    for (int i = 0; i < ManyFolders; ++i)
        byPath.push_back("many\\f" + Two(i) + "\\same.txt");
    for (int rank = ManyFolders - 1; rank >= 0; --rank)
        for (int i = 0; i < ManyFolders; ++i)
            if (DateRank(i) == rank) newestFirst.push_back(byPath[i]);
    EXPECT_EQ(Search({"same.txt"}), byPath);
    EXPECT_EQ(Search({"same.txt", "-n", "10"}), List(byPath.begin(), byPath.begin() + 10));
    EXPECT_EQ(Search({"same.txt", "-sort", "dm"}), newestFirst);
    EXPECT_EQ(Search({"same.txt", "-sort", "dm", "-n", "10"}),
              List(newestFirst.begin(), newestFirst.begin() + 10));
    // Dates are read one by one up to 63 matches and in parallel from 64 on.
    for (int count : {63, 64, 65}) {
        List expected;
        for (const std::string& name : newestFirst)
            if (std::stoi(name.substr(6, 2)) < count) expected.push_back(name);
        EXPECT_EQ(Search({"same.txt", LeaveOutFrom(count), "-sort", "dm"}), expected) << count;
        EXPECT_EQ(Search({"same.txt", LeaveOutFrom(count), "-size", "-dm"}),
                  List(byPath.begin(), byPath.begin() + count))
            << count;
    }
}

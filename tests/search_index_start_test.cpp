// The stand-in's index is started only where the stand-in answers: never
// beside the outside engine's client, never when turned off or missing.
#include "scenario.h"

#include "app/program.h"
#include "search/index_start.h"

#include <filesystem>

TEST(IndexStart, OnlyTheStandInBesideTheProgramGetsTheIndex) {
    std::string folder = platform::testing::ResetWorld();
    scenario::WriteFile(folder + "lumafind-index.exe", "");
    std::string standIn = folder + "lumafind-es.exe";
    EXPECT_EQ(IndexToStart(standIn, folder, ""), folder + "lumafind-index.exe");
    EXPECT_EQ(IndexToStart(standIn, folder, "only"), folder + "lumafind-index.exe");
    EXPECT_EQ(IndexToStart(standIn, folder, "off"), "");
    EXPECT_EQ(IndexToStart(folder + "es.exe", folder, ""), "");
    EXPECT_EQ(IndexToStart("c:\\tools\\lumafind-es.exe", folder, ""), ""); // not ours
    EXPECT_EQ(IndexToStart("", folder, ""), "");
    std::filesystem::remove(folder + "lumafind-index.exe");
    EXPECT_EQ(IndexToStart(standIn, folder, ""), "");
    std::filesystem::remove_all(folder);
}

class IndexStartTest : public ScenarioTest {
  protected:
    std::vector<std::string> Background() {
        std::vector<std::string> out;
        for (const std::string& p : world().startedPrograms)
            if (p.rfind("background: ", 0) == 0) out.push_back(p);
        return out;
    }
};

TEST_F(IndexStartTest, TheProgramsStartStartsTheIndexForTheStandInOnly) {
    Put("lumafind-index.exe", "");
    CreateProgramState(); // the outside engine's es.exe is beside the program
    EXPECT_TRUE(Background().empty());

    std::filesystem::remove(folder + "es.exe");
    Put("lumafind-es.exe", "");
    CreateProgramState();
    EXPECT_EQ(Background(),
              std::vector<std::string>{"background: " + folder + "lumafind-index.exe"});

    world().startedPrograms.clear();
    world().environment["LUMAFIND_ES_INDEX"] = "off";
    CreateProgramState();
    EXPECT_TRUE(Background().empty());
}

// The Name header counts the rows the list holds, whichever way they came:
// start-up, a search, Esc from either help list, a folder expansion, a sort.
#include "commands_fixture.h"

#include "platform/events.h"

namespace {

const char kThree[] = "Size,Date Modified,Filename\r\n"
                      "1,01/02/2023 10:00,\"C:\\a\\alpha.txt\"\r\n"
                      "2,01/02/2023 10:00,\"C:\\a\\beta.txt\"\r\n"
                      ",01/02/2023 10:00,\"C:\\a\\cards\"\r\n";

const char kFive[] = "Size,Date Modified,Filename\r\n"
                     "1,01/02/2023 10:00,\"C:\\b\\one.txt\"\r\n"
                     "2,01/02/2023 10:00,\"C:\\b\\two.txt\"\r\n"
                     "3,01/02/2023 10:00,\"C:\\b\\three.txt\"\r\n"
                     "4,01/02/2023 10:00,\"C:\\b\\four.txt\"\r\n"
                     ",01/02/2023 10:00,\"C:\\b\\five\"\r\n";

const char kTwo[] = "Size,Date Modified,Filename\r\n"
                    "7,01/02/2023 10:00,\"C:\\b\\x.txt\"\r\n"
                    "8,01/02/2023 10:00,\"C:\\b\\y.txt\"\r\n";

const char kNone[] = "Size,Date Modified,Filename\r\n";

} // namespace

class HeaderCountTest : public CommandsTest {
  protected:
    void BeforeStart() override {
        Put("results.txt", kThree);
        Settings.SpeakShortcuts = 0;
    }
    // The engine answers the next search with this export.
    void Engine(const char* exported) {
        world().processHandler = [this, exported](const std::vector<std::string>&) {
            Put("results.txt", exported);
            return platform::ProcessResult{true, false, false, 0};
        };
    }
    std::string Header() { return world().columns[0].header; }
};

TEST_F(HeaderCountTest, StartUpSearchAndEscFromEitherListCountTheRowsShown) {
    EXPECT_EQ(Header(), " Name  (3)");
    EXPECT_EQ(world().itemCount, 3);

    Engine(kFive);
    platform::SetSearchBoxText("b");
    Ctrl('F');
    EXPECT_EQ(Header(), " Name  (5)");
    EXPECT_EQ(world().itemCount, 5);

    for (int key : {VkF2, VkF1}) {
        Press(key);
        EXPECT_NE(Header().find("Shortcuts"), std::string::npos) << key;
        Press(VkEscape);
        EXPECT_EQ(Header(), " Name  (5)") << "Esc from F" << key - VkF1 + 1;
        EXPECT_EQ(world().itemCount, 5);
    }
}

TEST_F(HeaderCountTest, FolderExpansionSortAndAnEmptyResultCountTheirRows) {
    Press(VkTab); // into the list, on row 1
    Engine(kTwo);
    Ctrl('S');
    EXPECT_EQ(Header(), " Name  (2)");
    EXPECT_EQ(world().itemCount, 2);

    OnListColumnClick(1);
    OnListColumnClick(3);
    EXPECT_EQ(Header(), " Name  (2)");

    Engine(kNone);
    platform::SetSearchBoxText("nothing");
    Ctrl('F');
    EXPECT_EQ(Header(), " Name  (0)") << "the <empty> row is no result";
    EXPECT_EQ(world().itemCount, 1);

    Press(VkF2);
    Press(VkEscape);
    EXPECT_EQ(Header(), " Name  (0)");
}

// While the engine runs the list holds only the "Loading ..." row, which is
// no count either.
TEST_F(HeaderCountTest, TheLoadingRowIsHeadedWithoutACount) {
    std::string during;
    world().processHandler = [this, &during](const std::vector<std::string>&) {
        during = Header();
        Put("results.txt", kTwo);
        return platform::ProcessResult{true, false, false, 0};
    };
    platform::SetSearchBoxText("x");
    Ctrl('G');
    EXPECT_EQ(during, "Name");
    EXPECT_EQ(Header(), " Name  (2)");
}

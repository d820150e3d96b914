// The help page shipped beside the program lists exactly the program's
// commands, each with its key and what it does, in large yellow on blue.
#include "command_table/command_table.h"
#include "commands/help_lists.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#ifdef LUMAFIND_HELP_PAGE

namespace {

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string ReadPage() {
    return ReadFile(LUMAFIND_HELP_PAGE);
}

// The five entities an HTML writer uses for text.
std::string Unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#x27;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : entities)
        for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
            text.replace(at, std::string(entity).size(), plain);
    return text;
}

struct PageBlock {
    std::string id, name, key, heard, does;
};

// One block a command or key: "<h3>name <kbd>key</kbd></h3>", maybe the name it
// is announced by, then what it does. A key may break after "+" or ",".
std::vector<PageBlock> PageBlocks(const std::string& page) {
    static const std::regex block("<div class=\"key\" id=\"([^\"]+)\">\n"
                                  "<h[34]>([^<]*?) ?(?:<kbd>(.*?)</kbd>)?</h[34]>\n"
                                  "(?:<p class=\"heard\">Announced as: ([^<]*)</p>\n)?"
                                  "<p class=\"does\">([^<]*)</p>\n</div>");
    std::vector<PageBlock> blocks;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), block);
         it != std::sregex_iterator(); ++it) {
        std::string key = std::regex_replace((*it)[3].str(), std::regex("<wbr>"), "");
        blocks.push_back({(*it)[1], Unescaped((*it)[2]), Unescaped(key), Unescaped((*it)[4]),
                          Unescaped((*it)[5])});
    }
    return blocks;
}

std::string SpokenName(const CommandRow& row) {
    std::string name = row.shortcut;
    name = name.substr(0, name.find("::"));
    return name.substr(0, name.find_last_not_of(' ') + 1);
}

const PageBlock* BlockNamed(const std::vector<PageBlock>& blocks, const std::string& name) {
    for (const PageBlock& b : blocks)
        if (b.name == name) return &b;
    return nullptr;
}

} // namespace

TEST(HelpPageTest, ListsEveryCommandOnceInTheListsOrderWithItsKeyAndWork) {
    std::string page = ReadPage();
    ASSERT_FALSE(page.empty()) << LUMAFIND_HELP_PAGE;
    std::vector<PageBlock> blocks;
    for (const PageBlock& b : PageBlocks(page))
        if (b.id.starts_with("command-")) blocks.push_back(b);
    auto table = CommandTable();
    ASSERT_EQ(blocks.size(), table.size());
    for (size_t i = 0; i < blocks.size(); ++i) {
        const CommandRow& command = table[i];
        EXPECT_EQ(blocks[i].id, "command-" + std::to_string(command.id));
        // Named as the shortcut lists name it; the announced name beside it.
        if (command.listName) {
            EXPECT_EQ(blocks[i].name, command.listName) << command.id;
        }
        if (command.shortcut) {
            std::string heard = blocks[i].heard.empty() ? blocks[i].name : blocks[i].heard;
            EXPECT_EQ(heard, SpokenName(command)) << command.id;
        }
        EXPECT_FALSE(blocks[i].name.empty()) << command.id;
        if (command.keyFlags != 0) {
            EXPECT_EQ(blocks[i].key, KeyLabel(command)) << command.id;
        }
        ASSERT_NE(command.does, nullptr) << command.id;
        EXPECT_EQ(blocks[i].does, command.does) << command.id;
    }
}

// Every row of the F2 list is on the page under the same name and key, F1 and
// Ctrl+F1 included, and so is every key the window answers without a command.
TEST(HelpPageTest, NamesTheF2ListsRowsAndEveryOtherKey) {
    std::vector<PageBlock> blocks = PageBlocks(ReadPage());
    static const std::regex row("\\d+ (.*) - (.*)");
    std::vector<std::string> rows = ActionListRows();
    ASSERT_EQ(rows.size(), 35u);
    for (const std::string& text : rows) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(text, m, row)) << text;
        const PageBlock* b = BlockNamed(blocks, m[1]);
        ASSERT_NE(b, nullptr) << text;
        EXPECT_EQ(b->key, m[2].str()) << text;
    }
    const PageBlock* f1 = BlockNamed(blocks, "Display Settings Shortcuts");
    const PageBlock* online = BlockNamed(blocks, "Online Help");
    ASSERT_TRUE(f1 && online);
    EXPECT_EQ(f1->key, "F1");
    EXPECT_EQ(online->key, "Ctrl+F1");
    for (const char* key : {"Tab, Shift+Tab", "Mouse wheel", "Up, Down", "Home, End",
                            "Page Up, Page Down", "A letter or digit", "Space", "Left, Right",
                            "BackSpace, Delete", "Caps Lock", "Menu key"}) {
        bool found = false;
        for (const PageBlock& b : blocks)
            found = found || b.key == key;
        EXPECT_TRUE(found) << key;
    }
    const CommandRow& enter = *FindCommand(CmdEnter);
    EXPECT_EQ(KeyLabel(enter), "") << "Enter is the dialog's own key";
    ASSERT_NE(BlockNamed(blocks, "Enter"), nullptr);
    EXPECT_EQ(BlockNamed(blocks, "Enter")->key, "Enter");
}

TEST(HelpPageTest, KeysAreWrittenAsOnTheKeyboard) {
    auto row = [](int id) { return *FindCommand(id); };
    EXPECT_EQ(KeyLabel(row(CmdEscape)), "Esc");
    EXPECT_EQ(KeyLabel(row(CmdUseIgnoreList)), "F10");
    EXPECT_EQ(KeyLabel(row(CmdCopyFile)), "Ctrl+D");
    EXPECT_EQ(KeyLabel(row(CmdCopyResults)), "Ctrl+Shift+C");
    EXPECT_EQ(KeyLabel(row(CmdSpeakLocation)), "Ctrl+0 (Zero)");
    EXPECT_EQ(KeyLabel(row(CmdExit)), "");
}

TEST(HelpPageTest, IsLargeBoldYellowOnBlue) {
    std::string page = ReadPage();
    EXPECT_NE(page.find("<!DOCTYPE html>"), std::string::npos);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("background: #0000ff; color: #ffff00;"), std::string::npos);
    EXPECT_NE(page.find("font-weight: bold; font-size: 36pt;"), std::string::npos);
    EXPECT_NE(page.find("<kbd>Ctrl+F1</kbd> opens this page"), std::string::npos);
}

// Each key the user guide names is a key of the program, and the keys a new
// user asks about are in it.
TEST(UserGuideTest, EveryKeyItNamesIsAKeyOfTheProgram) {
    std::string guide = ReadFile(LUMAFIND_GUIDE);
    ASSERT_FALSE(guide.empty()) << LUMAFIND_GUIDE;
    std::set<std::string> keys = {"F1", "Ctrl+F1"};
    for (const CommandRow& row : CommandTable())
        if (row.keyFlags != 0)
            keys.insert(std::regex_replace(KeyLabel(row), std::regex(" \\(Zero\\)"), ""));
    static const std::regex named("\\b(?:Ctrl\\+(?:Shift\\+)?)?(?:F\\d+|[A-Z0-9])\\b");
    int checked = 0;
    for (auto it = std::sregex_iterator(guide.begin(), guide.end(), named);
         it != std::sregex_iterator(); ++it) {
        std::string key = (*it)[0];
        if (key.find('+') == std::string::npos && key[0] != 'F')
            continue; // a plain letter is a word
        if (key == "F") continue;
        ++checked;
        EXPECT_TRUE(keys.count(key)) << key << " is no key of the program";
    }
    EXPECT_GT(checked, 30);
    for (const char* key : {"Ctrl+P", "Ctrl+Shift+P", "Ctrl+R", "F9"})
        EXPECT_NE(guide.find(key), std::string::npos) << key;
}

#endif

// The help page shipped beside the program lists exactly the program's
// commands, each with its key and what it does, in large yellow on blue.
#include "commands/command_table.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>

#ifdef LUMAFIND_HELP_PAGE

namespace {

std::string ReadPage() {
    std::ifstream in(LUMAFIND_HELP_PAGE, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
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

struct PageRow {
    int id;
    std::string name, key, does;
};

std::vector<PageRow> PageRows(const std::string& page) {
    static const std::regex row("<tr id=\"command-(\\d+)\"><td>([^<]*)</td>"
                                "<td><kbd>([^<]*)</kbd></td><td>([^<]*)</td></tr>");
    std::vector<PageRow> rows;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), row);
         it != std::sregex_iterator(); ++it)
        rows.push_back(
            {std::stoi((*it)[1]), Unescaped((*it)[2]), Unescaped((*it)[3]), Unescaped((*it)[4])});
    return rows;
}

std::string SpokenName(const CommandRow& row) {
    std::string name = row.shortcut;
    name = name.substr(0, name.find("::"));
    return name.substr(0, name.find_last_not_of(' ') + 1);
}

} // namespace

TEST(HelpPageTest, ListsEveryCommandOnceInTheListsOrderWithItsKeyAndWork) {
    std::string page = ReadPage();
    ASSERT_FALSE(page.empty()) << LUMAFIND_HELP_PAGE;
    std::vector<PageRow> rows = PageRows(page);
    auto table = CommandTable();
    ASSERT_EQ(rows.size(), table.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const CommandRow& command = table[i];
        EXPECT_EQ(rows[i].id, int(command.id));
        if (command.shortcut) {
            EXPECT_EQ(rows[i].name, SpokenName(command)) << command.id;
        }
        EXPECT_FALSE(rows[i].name.empty()) << command.id;
        if (command.keyFlags != 0) {
            EXPECT_EQ(rows[i].key, KeyLabel(command)) << command.id;
        }
        ASSERT_NE(command.does, nullptr) << command.id;
        EXPECT_EQ(rows[i].does, command.does) << command.id;
    }
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

#endif

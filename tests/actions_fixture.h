// A started program showing chosen rows, for the file actions driven by keys.
#pragma once

#include "commands_fixture.h"

#include "results/result_list.h"
#include "settings/search_type.h"

#include <initializer_list>

struct ActionRow {
    std::string name;
    std::string path = "c:\\data\\";
    bool folder = false;
};

class ActionsTest : public CommandsTest {
  protected:
    void SetUp() override {
        CommandsTest::SetUp();
        Settings.SpeakShortcuts = 0; // each test hears only the command's own words
    }
    // The rows as an import leaves them, row 1 selected, the list focused.
    void Show(std::initializer_list<ActionRow> rows) {
        ResultRows.Clear();
        for (const ActionRow& r : rows)
            ResultRows.Add(r.folder ? "" : "10", "01/15/2023 10:23", r.path, r.name, r.folder);
        platform::ListDeleteAllItems();
        ShowResultRows();
        Forget();
    }
    std::vector<std::string>& Opened() { return world().shellOpens; }
};

// A result list on screen, for the list, navigation and appearance scenarios.
#pragma once

#include "scenario.h"

#include "platform/key_codes.h"

#include "results/result_list.h"

#include <initializer_list>

struct TestRow {
    const char* name;
    bool folder = false;
    const char* path = "c:\\data\\";
    const char* date = "01/15/2023 10:23";
    const char* size = "1234";
};

class ResultsTest : public ScenarioTest {
  protected:
    // Puts the rows into the list as an import does, then clears what showing
    // them said, so each test hears only its own steps.
    void Show(std::initializer_list<TestRow> rows) {
        ResultRows.Clear();
        for (const TestRow& r : rows)
            ResultRows.Add(r.folder ? "" : r.size, r.date, r.path, r.name, r.folder);
        platform::ListDeleteAllItems();
        ShowResultRows();
        world().transcript.clear();
    }
    int Selected() { return SelectedRow(); }
    size_t Heard() { return world().transcript.size(); }
};

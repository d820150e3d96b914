// A started program with the search box focused and empty, typed into with
// the key driver, and the speech heard since.
#pragma once

#include "scenario.h"

#include "platform/key_codes.h"
#include "speech/key_names.h"

#include <vector>

using Texts = std::vector<std::string>;

class SearchBoxTest : public ScenarioTest {
  protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        Start();
        KeyName = KeyChar = CurrentWord = "";
        platform::SetSearchBoxText("");
        world().focus = platform::SearchBoxId;
        Forget();
    }
    // What was heard from here on.
    void Forget() {
        SpeechPrefix.clear();
        world().transcript.clear();
        world().beeps.clear();
    }
    void Type(const std::string& text) { platform::testing::TypeText(text); }
    void Press(int key, bool shift = false, bool ctrl = false) {
        platform::testing::PressKey(key, shift, ctrl);
    }
    // Text with the caret (or the selection) at the given characters.
    void Holding(const std::string& text, int start, int end = -2) {
        platform::SetSearchBoxText(text);
        platform::SearchBoxSetSelection(start, end == -2 ? start : end);
        Forget();
    }
    Texts Heard() { return platform::testing::SpokenTexts(); }
    std::string Box() { return world().searchText; }
    int Caret() { return world().selStart; }
};

// A started program driven by keys, and what it said since.
#pragma once

#include "scenario.h"

#include "commands/catalogue.h"
#include "platform/key_codes.h"

#include <vector>

// The n-th function key.
constexpr int FKey(int n) {
    return VkF1 + n - 1;
}

using Texts = std::vector<std::string>;

class CommandsTest : public ScenarioTest {
  protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        BeforeStart();
        Start();
        Forget();
    }
    // Files the program finds when it starts.
    virtual void BeforeStart() {}
    void Forget() {
        SpeechPrefix.clear();
        world().transcript.clear();
        world().beeps.clear();
        world().keyMessages.clear();
    }
    void Ctrl(int k) { platform::testing::PressKey(k, false, true); }
    void CtrlShift(int k) { platform::testing::PressKey(k, true, true); }
    void Press(int k) { platform::testing::PressKey(k); }
    // What was heard, leaving out silencings and the names the search box
    // speaks for the modifier keys as they go down.
    Texts Heard() {
        Texts out;
        for (const std::string& t : platform::testing::SpokenTexts())
            if (!t.empty() && t != "Shift" && t != "Control") out.push_back(t);
        return out;
    }
    int Beeps() { return int(world().beeps.size()); }
    // Commands that reached the main window, as (id, code).
    std::vector<std::pair<int, int>> Commands() {
        std::vector<std::pair<int, int>> out;
        for (const auto& m : world().keyMessages)
            if (m.message == platform::testing::CommandMessage) out.emplace_back(m.value, m.code);
        return out;
    }
};

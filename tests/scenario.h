// The fixture every scenario test starts from: a fresh testing world with its
// own program folder, and every process-wide record back at its start value.
#pragma once

#include "app/main_window.h"
#include "app/program.h"
#include "backends/testing/testing.h"
#include "search/history.h"
#include "search/result_rows.h"
#include "search/run_search.h"
#include "settings/settings.h"
#include "speech/key_names.h"
#include "speech/speech.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace scenario {

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
    std::string bytes;
    platform::ReadWholeFile(path, bytes);
    return bytes;
}

} // namespace scenario

class ScenarioTest : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef LUMAFIND_NATIVE_ES
        platform::testing::TheWorld().esPath = LUMAFIND_NATIVE_ES;
#endif
        folder = platform::testing::ResetWorld();
        ResetProgramState();
        MainWindow.PerfFrequency = platform::PerformanceFrequency();
        platform::SetCurrentFolder(folder);
        Put("es.exe", ""); // the engine's client is found; the backend runs the native one
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
    }

    platform::testing::World& world() {
        return platform::testing::TheWorld();
    }
    // Runs start-up as the program does, up to the message loop.
    void Start() {
        ProgramMain();
    }
    // A file in the program folder.
    void Put(const std::string& name, const std::string& bytes) {
        scenario::WriteFile(folder + name, bytes);
    }
    std::string Get(const std::string& name) {
        return scenario::ReadFile(folder + name);
    }
    std::string Spoken(size_t fromEnd = 0) {
        const auto& t = world().transcript;
        return t.size() > fromEnd ? t[t.size() - 1 - fromEnd].text : std::string();
    }

    std::string folder;
};

#include "backends/testing/testing.h"

#include <atomic>
#include <filesystem>
#include <unistd.h>

namespace platform::testing {

bool FaultPlan::Fails() {
    ++calls;
    return failAt > 0 && (calls == failAt || (always && calls > failAt));
}

World& TheWorld() {
    static World world;
    return world;
}

std::string ResetWorld() {
    static std::atomic<int> serial{0};
    std::string folder =
        (std::filesystem::temp_directory_path() /
         ("lumafind-test-" + std::to_string(getpid()) + "-" + std::to_string(++serial)))
            .string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    World& world = TheWorld();
    std::string esPath = world.esPath; // kept across tests when a suite sets it once
    world = World();
    world.esPath = esPath;
    world.programFolder = folder + "/";
    world.currentFolder = world.programFolder;
    for (int id = SearchBoxId; id <= PreviewId; ++id)
        world.controls[id] = Control();
    world.controls[StatusBarId].height = 30;
    world.controls[ToolbarId].height = 100;
    return world.programFolder;
}

std::vector<std::string> SpokenTexts() {
    std::vector<std::string> texts;
    for (const Utterance& u : TheWorld().transcript)
        texts.push_back(u.text);
    return texts;
}

std::string LastSpoken() {
    const auto& t = TheWorld().transcript;
    return t.empty() ? std::string() : t.back().text;
}

} // namespace platform::testing

#include "search/engine_run.h"

#include "base/command_line.h"
#include "base/text.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kServiceNotRunning = 8; // the outside engine's own service is down

std::string InFolder(std::string folder, const char* name) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder + name;
}

} // namespace

std::vector<std::string> EngineCandidates(const std::string& programFolder,
                                          const std::string& pathVariable) {
    std::vector<std::string> candidates{InFolder(programFolder, EngineProgramName)};
    for (std::string folder : SplitAll(pathVariable, ";")) {
        folder = ReplaceAll(std::move(folder), "\"", ""); // quoted entries are allowed
        folder = std::string(TrimSpace(folder));
        if (!folder.empty()) candidates.push_back(InFolder(folder, EngineProgramName));
    }
    candidates.push_back(InFolder(programFolder, StandInEngineName));
    return candidates;
}

std::string FindEngineProgram() {
    for (const std::string& candidate :
         EngineCandidates(platform::ProgramFolder(), platform::EnvironmentText("PATH")))
        if (platform::FileExists(candidate)) return candidate;
    return {};
}

EngineOutcome RunEngine(const std::vector<std::string>& arguments) {
    std::string program = FindEngineProgram();
    if (program.empty()) return EngineOutcome::NotFound;
    std::string line = JoinCommandLine(program, arguments);
    if (Utf16Length(line) > CommandLineLimit) return EngineOutcome::TooLong;
    platform::ProcessResult run =
        platform::RunHiddenAndWait(program, line, platform::ProgramFolder());
    if (run.folderUnusable) return EngineOutcome::FolderUnusable;
    if (!run.started) return EngineOutcome::NotFound;
    if (run.cancelled) return EngineOutcome::Cancelled;
    if (run.exitCode == kServiceNotRunning) return EngineOutcome::NotFound;
    return run.exitCode == 0 ? EngineOutcome::Finished : EngineOutcome::Failed;
}

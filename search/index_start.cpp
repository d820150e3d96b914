#include "search/index_start.h"

#include "search/engine_run.h"
#include "platform/platform.h"

namespace {

std::string InFolder(std::string folder, const char* name) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder + name;
}

} // namespace

std::string IndexToStart(const std::string& engineProgram, const std::string& programFolder,
                         const std::string& indexSetting) {
    if (indexSetting == "off") return {};
    // Only the stand-in beside the program asks the index; any es.exe found is the outside one.
    if (engineProgram != InFolder(programFolder, StandInEngineName)) return {};
    std::string index = InFolder(programFolder, IndexProgramName);
    return platform::FileExists(index) ? index : std::string();
}

void StartEngineIndex() {
    std::string index = IndexToStart(FindEngineProgram(), platform::ProgramFolder(),
                                     platform::EnvironmentText("LUMAFIND_ES_INDEX"));
    if (!index.empty()) platform::StartBackgroundProgram(index);
}

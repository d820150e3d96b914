// Finding the engine's client and running it, without a command interpreter:
// the interpreter expands "%NAME%" before it honours any quoting, so no
// escaping could make a typed term safe there.
#pragma once

#include <string>
#include <vector>

constexpr const char* EngineProgramName = "es.exe";
// Our own stand-in ships under another name: as "es.exe" beside the program it
// would be found first and hide the outside engine's client for good.
constexpr const char* StandInEngineName = "lumafind-es.exe";

// Where the interpreter would have found `es` (the program folder, then each
// folder of PATH), then the stand-in beside the program. Empty when there is
// none.
std::string FindEngineProgram();
std::vector<std::string> EngineCandidates(const std::string& programFolder,
                                          const std::string& pathVariable);

enum class EngineOutcome {
    Finished,       // ended with exit code 0
    NotFound,       // no client, or it could not be started, or its service is down
    Failed,         // ended with another exit code
    Cancelled,      // the user pressed Esc and the client was ended
    TooLong,        // the arguments do not fit on one command line
    FolderUnusable, // the program folder cannot be the client's working folder
};

// Runs the client hidden in the program folder and waits for it.
EngineOutcome RunEngine(const std::vector<std::string>& arguments);

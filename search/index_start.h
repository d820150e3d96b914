// The stand-in engine's resident index: started with the program when the
// stand-in is the engine that answers, so that its searches need no walk.
#pragma once

#include <string>

constexpr const char* IndexProgramName = "lumafind-index.exe";

// The index program to start for this engine, or empty: none when the outside
// engine's client answers, when the index is missing, or when
// LUMAFIND_ES_INDEX is "off".
std::string IndexToStart(const std::string& engineProgram, const std::string& programFolder,
                         const std::string& indexSetting);

// Starts the index hidden, at low priority, if IndexToStart names one. An index
// already running for this user keeps serving and the new one ends at once.
void StartEngineIndex();

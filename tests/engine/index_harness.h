// Starting and asking the built lumafind-index in a runtime and cache folder of its own.
#pragma once

#include "es_harness.h"

#include <sys/types.h>

struct IndexPlace {
    std::string runtime; // XDG_RUNTIME_DIR: where its socket is
    std::string cache;   // XDG_CACHE_HOME: where it saves
    std::map<std::string, std::string> Env(const std::string& roots) const;
    std::string SavedFile() const { return cache + "/lumafind/index.bin"; }
};

IndexPlace MakeIndexPlace();
void RemoveIndexPlace(const IndexPlace& place);
pid_t StartIndex(const std::map<std::string, std::string>& env);
void StopIndex(pid_t pid); // SIGKILL, then waits for it
bool WaitCaughtUp(const std::map<std::string, std::string>& env, int seconds = 30);
// Exit code of a lumafind-index run with these arguments.
int IndexTool(const std::map<std::string, std::string>& env, const std::string& arg);
// Sends raw bytes on the index's socket and returns what came back (empty: nothing).
std::string RawExchange(const IndexPlace& place, const std::string& bytes, bool closeEarly);

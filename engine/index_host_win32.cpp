// The index's host system on Windows: not there yet. Every part says it cannot serve, so
// lumafind-index.exe ends at once and es.exe walks as before.
#include "engine/index_host.h"

namespace es::index_host {

bool StartWatcher() {
    return false;
}

void StopWatcher() {}

int Watch(const std::string&) {
    return -1;
}

void Unwatch(int) {}

void TakeChanges(std::vector<Change>&) {}

Listen StartServer() {
    return Listen::Failed;
}

void StopServer() {}

void Wait(Happenings& out, int) {
    out = Happenings();
    out.timedOut = true;
}

void Wake() {}

void Reply(int, const std::string&) {}

Ask AskServer(const std::string&, std::string&) {
    return Ask::NoServer;
}

std::string DataFolder() {
    return "";
}

bool WritePrivateFile(const std::string&, const std::string&) {
    return false;
}

void LowPriority(bool) {}

} // namespace es::index_host

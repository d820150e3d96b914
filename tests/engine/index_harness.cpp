#include "index_harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

std::map<std::string, std::string> IndexPlace::Env(const std::string& roots) const {
    return {{"XDG_RUNTIME_DIR", runtime},
            {"XDG_CACHE_HOME", cache},
            {"LUMAFIND_ES_ROOTS", roots},
            {"TZ", "UTC"}};
}

IndexPlace MakeIndexPlace() {
    return {MakeTempFolder("index-run"), MakeTempFolder("index-cache")};
}

void RemoveIndexPlace(const IndexPlace& place) {
    std::system(("rm -rf '" + place.runtime + "' '" + place.cache + "'").c_str());
}

pid_t StartIndex(const std::map<std::string, std::string>& env) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    for (const auto& [name, value] : env)
        setenv(name.c_str(), value.c_str(), 1);
    execl(INDEX_PROGRAM, INDEX_PROGRAM, static_cast<char*>(nullptr));
    _exit(127);
}

void StopIndex(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int IndexTool(const std::map<std::string, std::string>& env, const std::string& arg) {
    EsCall call;
    call.program = INDEX_PROGRAM;
    call.args = {arg};
    call.env = env;
    return RunEs(call).exitCode;
}

bool WaitCaughtUp(const std::map<std::string, std::string>& env, int seconds) {
    for (int i = 0; i < seconds * 50; ++i) {
        if (IndexTool(env, "--caught-up") == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::string RawExchange(const IndexPlace& place, const std::string& bytes, bool closeEarly) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = place.runtime + "/lumafind/index.sock";
    path.copy(address.sun_path, path.size());
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return "";
    }
    send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    std::string got;
    if (!closeEarly) {
        timeval t{10, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
        char buffer[4096];
        ssize_t n;
        while ((n = recv(fd, buffer, sizeof buffer, 0)) > 0)
            got.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return got;
}

#include "backends/testing/testing.h"

#include <algorithm>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform::testing {

std::vector<std::string> SplitWindowsArguments(const std::string& line) {
    std::vector<std::string> args;
    std::string current;
    bool quoted = false, any = false;
    for (size_t i = 0; i < line.size();) {
        char c = line[i];
        if (c == '\\') {
            size_t n = std::min(line.find_first_not_of('\\', i), line.size()) - i;
            if (i + n < line.size() && line[i + n] == '"') {
                current.append(n / 2, '\\');
                if (n % 2) current += '"';
                i += n + (n % 2);
            } else {
                current.append(n, '\\');
                i += n;
            }
            any = true;
        } else if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"')
                current += '"', ++i;
            else
                quoted = !quoted;
            ++i, any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) args.push_back(current);
            current.clear(), any = false, ++i;
        } else {
            current += c, ++i, any = true;
        }
    }
    if (any) args.push_back(current);
    return args;
}

std::vector<std::string> SplitCommandLine(const std::string& line) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos) return {};
    std::string program;
    if (line[at] == '"') {
        size_t close = line.find('"', at + 1);
        program =
            line.substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1);
        at = close == std::string::npos ? line.size() : close + 1;
    } else {
        size_t blank = std::min(line.find_first_of(" \t", at), line.size());
        program = line.substr(at, blank - at);
        at = blank;
    }
    std::vector<std::string> args{program};
    for (std::string& a : SplitWindowsArguments(line.substr(at)))
        args.push_back(std::move(a));
    return args;
}

// Esc, or a close request, ends the wait as the real one does; a close is
// carried out once the command that waited has returned.
static bool EscapeQueued() {
    World& w = TheWorld();
    std::vector<int>& keys = w.keysDuringWait;
    bool escape = std::find(keys.begin(), keys.end(), 0x1B) != keys.end();
    keys.clear(); // the other keys are dropped, as the real wait drops them
    if (w.closeDuringWait) {
        w.closeDuringWait = false;
        w.closePosted = true;
        escape = true;
    }
    return escape;
}

static ProcessResult RunNativeEngine(const std::vector<std::string>& args,
                                     const std::string& folder) {
    World& w = TheWorld();
    std::vector<char*> argv;
    std::string program = w.esPath;
    argv.push_back(program.data());
    std::vector<std::string> copies(args.begin() + 1, args.end());
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e)
        if (strncmp(*e, "LUMAFIND_ES_ROOTS=", 18) != 0) envText.emplace_back(*e);
    if (!w.esRoots.empty()) envText.push_back("LUMAFIND_ES_ROOTS=" + w.esRoots);
    std::vector<char*> envp;
    for (std::string& e : envText)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return {};
    ProcessResult result{true, false, false, 0};
    int status = 0;
    // The keys arrive a moment into the wait, once the program has begun.
    bool escape = EscapeQueued();
    for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; waited += 2) {
        if (escape && waited >= 200) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.cancelled = true;
            break;
        }
        usleep(2000);
    }
    result.exitCode = WIFEXITED(status) ? uint32_t(WEXITSTATUS(status)) : 1u;
    return result;
}

} // namespace platform::testing

namespace platform {

using testing::TheWorld;

ProcessResult RunHiddenAndWait(const std::string& program, const std::string& commandLine,
                               const std::string& folder) {
    testing::World& w = TheWorld();
    w.processRuns.push_back({program, commandLine, folder});
    w.events.push_back("run: " + commandLine);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return {false, false, true, 0};
    if (w.processStarts.Fails() || !FileExists(program)) return {};
    std::vector<std::string> args = testing::SplitCommandLine(commandLine);
    if (w.processHandler) {
        ProcessResult result = w.processHandler(args);
        result.cancelled = result.started && testing::EscapeQueued();
        return result;
    }
    bool engine = program.size() >= 6 && program.substr(program.size() - 6) == "es.exe";
    if (!engine || w.esPath.empty()) return {};
    return testing::RunNativeEngine(args, folder);
}

std::string EnvironmentText(const std::string& name) {
    auto found = TheWorld().environment.find(name);
    return found == TheWorld().environment.end() ? std::string() : found->second;
}

bool StartProgram(const std::string& path, const std::string& arguments) {
    if (TheWorld().processStarts.Fails()) return false;
    TheWorld().startedPrograms.push_back(path + (arguments.empty() ? "" : " " + arguments));
    return true;
}

bool StartBackgroundProgram(const std::string& path) {
    if (TheWorld().processStarts.Fails()) return false;
    TheWorld().startedPrograms.push_back("background: " + path);
    return true;
}

void OpenWebPage(const std::string& url) {
    TheWorld().openedPages.push_back(url);
}

} // namespace platform

namespace platform {

bool ProcessRunning(uint32_t id) {
    return id == uint32_t(getpid()) || testing::TheWorld().runningProcesses.count(id) > 0;
}

} // namespace platform

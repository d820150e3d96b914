#include "platform/testing/testing.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform::testing {

static std::string WithoutCarets(const std::string& line) {
    std::string out;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') quoted = !quoted;
        if (c == '^' && !quoted && i + 1 < line.size()) c = line[++i];
        out += c;
    }
    return out;
}

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

std::vector<std::string> InterpretCommandLine(const std::string& line) {
    std::string rest = line;
    if (rest.size() >= 7 && strncasecmp(rest.c_str(), "CMD /C ", 7) == 0) rest = rest.substr(7);
    return SplitWindowsArguments(WithoutCarets(rest));
}

static ProcessResult RunNativeEngine(const std::vector<std::string>& args) {
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
    // The engine runs in the program folder, as the interpreter would start it.
    posix_spawn_file_actions_addchdir_np(&actions, w.currentFolder.c_str());
    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return {true, 9009}; // as the interpreter answers for a missing program
    int status = 0;
    waitpid(pid, &status, 0);
    return {true, WIFEXITED(status) ? uint32_t(WEXITSTATUS(status)) : 1u};
}

} // namespace platform::testing

namespace platform {

using testing::TheWorld;

ProcessResult RunHiddenAndWait(const std::string& commandLine) {
    testing::World& w = TheWorld();
    w.commandLines.push_back(commandLine);
    w.events.push_back("run: " + commandLine);
    if (w.processStarts.Fails()) return {false, 0};
    std::vector<std::string> args = testing::InterpretCommandLine(commandLine);
    if (w.processHandler) return w.processHandler(args);
    if (args.empty() || args[0] != "es" || w.esPath.empty()) return {true, 9009};
    return testing::RunNativeEngine(args);
}

bool StartProgram(const std::string& path, const std::string& arguments) {
    if (TheWorld().processStarts.Fails()) return false;
    TheWorld().startedPrograms.push_back(path + (arguments.empty() ? "" : " " + arguments));
    return true;
}

} // namespace platform

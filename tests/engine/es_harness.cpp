#include "es_harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void StartChild(const EsCall& call, int outFd, int errFd) {
    dup2(outFd, 1);
    dup2(errFd, 2);
    for (const auto& [name, value] : call.env) {
        if (value.empty())
            unsetenv(name.c_str());
        else
            setenv(name.c_str(), value.c_str(), 1);
    }
    if (!call.workDir.empty() && chdir(call.workDir.c_str()) != 0) _exit(126);
    if (call.fileSizeLimit >= 0) {
        rlimit limit{static_cast<rlim_t>(call.fileSizeLimit),
                     static_cast<rlim_t>(call.fileSizeLimit)};
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails instead of killing
    }
    std::vector<char*> argv{const_cast<char*>(call.program.c_str())};
    for (const std::string& a : call.args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(call.program.c_str(), argv.data());
    _exit(127);
}

} // namespace

EsRun RunEs(const EsCall& call) {
    std::string scratch = MakeTempFolder("es-run");
    int outFd = open((scratch + "/out").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    int errFd = open((scratch + "/err").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    pid_t pid = fork();
    if (pid == 0) StartChild(call, outFd, errFd);
    close(outFd);
    close(errFd);
    int status = 0;
    waitpid(pid, &status, 0);
    EsRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFileText(scratch + "/out");
    run.err = ReadFileText(scratch + "/err");
    std::system(("rm -rf '" + scratch + "'").c_str());
    return run;
}

std::string MakeTempFolder(const std::string& tag) {
    std::string pattern = "/tmp/" + tag + "-XXXXXX";
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
    return pattern;
}

void MakeFolder(const std::string& path) {
    mkdir(path.c_str(), 0755);
}

void MakeFile(const std::string& path, const std::string& content, long long mtime) {
    std::ofstream(path, std::ios::binary) << content;
    if (mtime == 0) return;
    timespec times[2] = {{mtime, 0}, {mtime, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> FolderNames(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    while (dir) {
        dirent* e = readdir(dir);
        if (!e) break;
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    if (dir) closedir(dir);
    return names;
}

std::string Shown(const std::string& host) {
    std::string out = "Z:" + host;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    size_t i = 0;
    while (i < text.size()) {
        std::vector<std::string> row(1);
        bool quoted = false;
        for (; i < text.size(); ++i) {
            char c = text[i];
            if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                row.back() += text[++i];
            else if (c == '"')
                quoted = !quoted;
            else if (!quoted && c == ',')
                row.emplace_back();
            else if (!quoted && c == '\r')
                break;
            else if (!quoted && c == '\n')
                ADD_FAILURE() << "line ends without CR";
            else
                row.back() += c;
        }
        EXPECT_EQ(text.substr(i, 2), "\r\n") << "line not ended by CR LF";
        i += 2;
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Names(const std::string& csv) {
    std::vector<std::string> names;
    auto rows = ParseCsv(csv);
    for (size_t r = 1; r < rows.size(); ++r)
        names.push_back(rows[r].back());
    return names;
}

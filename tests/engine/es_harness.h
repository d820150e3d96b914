// Runs the built `es` as a child process against a generated folder tree.
#pragma once

#include <map>
#include <string>
#include <vector>

struct EsRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct EsCall {
    std::vector<std::string> args;
    std::map<std::string, std::string> env; // set in the child; an empty value unsets
    std::string workDir;
    long fileSizeLimit = -1; // bytes the child may write to one file, -1 for no limit
    std::string program = ES_PROGRAM;
};

EsRun RunEs(const EsCall& call);

// Test files and folders, all below a fresh temp folder.
std::string MakeTempFolder(const std::string& tag);
void MakeFolder(const std::string& path);
void MakeFile(const std::string& path, const std::string& content, long long mtime = 0);
std::string ReadFileText(const std::string& path);
std::vector<std::string> FolderNames(const std::string& path);

// How es shows a Linux path: Z:\ stands for /.
std::string Shown(const std::string& host);

// The result file split into rows of fields, honouring quotes; fails the test when a line does
// not end with CR LF.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);
// The full names (last field) of the data rows.
std::vector<std::string> Names(const std::string& csv);

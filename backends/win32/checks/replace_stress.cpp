// Two programs saving one file at once while a third reads it, as two Lumafind
// windows do with their settings and history: every save lands whole or says
// it failed, the reader never finds the file missing or half written, and no
// temporary is left behind. Run it on Windows or under Wine; exits 1 on a fault.
//
//   lumafind_replace_stress.exe                       the whole check
//   lumafind_replace_stress.exe write FILE N RESULT   one writer, numbered N
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include <shellapi.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace platform;

constexpr DWORD WritingMs = 3000;
constexpr int Writers = 2;

// Names its writer and number at both ends; its length changes from save to
// save, so a torn, mixed or truncated file never matches the record it names.
static std::string Record(int writer, int serial) {
    std::string name = std::to_string(writer) + " " + std::to_string(serial);
    return "[All]\r\nSaved=" + name + "\r\n" + std::string(size_t(700 + serial * 37 % 600), 'x') +
           "\r\nEnd=" + name + "\r\n";
}

static bool IsWholeRecord(const std::string& bytes, int& writer, int& serial) {
    return std::sscanf(bytes.c_str(), "[All]\r\nSaved=%d %d", &writer, &serial) == 2 &&
           bytes == Record(writer, serial);
}

// Reports how many saves it made, the last that succeeded, and which failed.
static int Writer(const std::string& file, int number, const std::string& resultFile) {
    int saved = 0, last = 0;
    std::string failed;
    ULONGLONG end = GetTickCount64() + WritingMs;
    for (int serial = 1; GetTickCount64() < end; ++serial) {
        if (ReplaceFile(file, Record(number, serial)))
            ++saved, last = serial;
        else
            failed.append(" ").append(std::to_string(serial));
    }
    std::string result = std::to_string(saved) + " " + std::to_string(last) + failed;
    return ReplaceFile(resultFile, result) ? 0 : 1;
}

static HANDLE StartWriter(const std::string& file, int number, const std::string& resultFile) {
    std::wstring line = L"\"" + win32::Widen(ProgramPath()) + L"\" write \"" + win32::Widen(file) +
                        L"\" " + std::to_wstring(number) + L" \"" + win32::Widen(resultFile) +
                        L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

static std::string Folder() {
    wchar_t buffer[MAX_PATH];
    GetTempPathW(MAX_PATH, buffer);
    std::string folder = win32::Narrow(buffer) + "lumafind-replace-stress\\";
    CreateDirectoryW(win32::Widen(folder).c_str(), nullptr);
    return folder;
}

static std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(win32::Widen(folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(win32::Narrow(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

struct Reads {
    int total = 0, missing = 0, partial = 0;
    std::set<std::pair<int, int>> seen; // writer and number of each save found
};

// Reads as the program does at start-up, for as long as the writers run.
static Reads ReadWhileWriting(const std::string& file, const HANDLE* writers) {
    Reads reads;
    while (WaitForMultipleObjects(Writers, writers, TRUE, 0) == WAIT_TIMEOUT) {
        std::string bytes;
        int writer = 0, serial = 0;
        ++reads.total;
        if (!ReadWholeFile(file, bytes))
            ++reads.missing;
        else if (!IsWholeRecord(bytes, writer, serial))
            ++reads.partial;
        else
            reads.seen.insert({writer, serial});
    }
    return reads;
}

struct Outcome {
    int saved = 0, last = -1;
    std::vector<int> failed;
};

static Outcome WriterOutcome(const std::string& resultFile) {
    std::string text;
    Outcome o;
    if (!ReadWholeFile(resultFile, text)) return o;
    std::istringstream in(text);
    in >> o.saved >> o.last;
    for (int serial; in >> serial;)
        o.failed.push_back(serial);
    return o;
}

// A save that said it failed must never be what a reader finds.
static int FailedButFound(const Outcome& o, int writer, const Reads& reads) {
    int found = 0;
    for (int serial : o.failed)
        found += int(reads.seen.count({writer, serial}));
    return found;
}

static int Coordinator() {
    std::string root = Folder(), folder = root + "contested\\";
    CreateDirectoryW(win32::Widen(folder).c_str(), nullptr);
    for (const std::string& name : FilesIn(folder))
        RemoveFile(folder + name);
    std::string file = folder + "lumafind.ini";
    if (!ReplaceFile(file, Record(0, 0))) return std::printf("FAILED: first save\n"), 1;
    HANDLE writers[Writers];
    std::string results[Writers];
    for (int i = 0; i < Writers; ++i) {
        results[i] = root + "writer" + std::to_string(i + 1) + ".txt";
        RemoveFile(results[i]);
        writers[i] = StartWriter(file, i + 1, results[i]);
        if (!writers[i]) return std::printf("FAILED: writer %d did not start\n", i + 1), 1;
    }
    Reads reads = ReadWhileWriting(file, writers);
    bool ok = reads.total > 0 && reads.missing == 0 && reads.partial == 0;
    std::printf("reader: %d reads, %d found no file, %d found a partial file\n", reads.total,
                reads.missing, reads.partial);
    Outcome outcomes[Writers];
    for (int i = 0; i < Writers; ++i) {
        CloseHandle(writers[i]);
        outcomes[i] = WriterOutcome(results[i]);
        const Outcome& o = outcomes[i];
        int failed = int(o.failed.size()), wrong = FailedButFound(o, i + 1, reads);
        std::printf("writer %d: %d saves, %d saved, %d said they failed, %d of those found\n",
                    i + 1, o.saved + failed, o.saved, failed, wrong);
        ok = ok && o.saved > 0 && wrong == 0;
    }
    // The file holds the last successful save of one of them, never a failed one.
    std::string bytes;
    int writer = 0, serial = 0;
    bool whole = ReadWholeFile(file, bytes) && IsWholeRecord(bytes, writer, serial);
    bool last = whole && writer >= 1 && writer <= Writers && outcomes[writer - 1].last == serial;
    std::printf("final file: %s\n", last    ? "the last save of one writer"
                                    : whole ? "a save that was not the writer's last"
                                            : "missing or partial");
    std::vector<std::string> left = FilesIn(folder);
    std::printf("files in the folder: %d (the saved file alone is 1)\n", int(left.size()));
    ok = ok && last && left.size() == 1;
    std::printf("%s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}

int main() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count == 5 && std::wstring(args[1]) == L"write")
        return Writer(win32::Narrow(args[2]), _wtoi(args[3]), win32::Narrow(args[4]));
    return Coordinator();
}

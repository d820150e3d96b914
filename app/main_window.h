// The main window's process-wide state and the small shared operations that
// many parts call.
#pragma once

#include <cstdint>
#include <string>

struct MainWindowRecord {
    int64_t PerfFrequency = 1;
    int RestartPending = 0;
    // The program folder could not be made current: its files cannot be found
    // by name, so settings are not saved over whatever file that name reaches.
    bool FolderUnusable = false;
    // The status bar's height the layout last asked for (the bar may be a
    // little higher where its own font needs it); -1 before the first layout.
    int StatusHeight = -1;
    // The status bar's text as last put there.
    std::string StatusText;
    // The first of its lines the status bar shows: a text longer than the bar
    // is read a page at a time.
    int StatusFirstLine = 0;
};

extern MainWindowRecord MainWindow;
// The record as a new process has it.
void ResetMainWindowState();

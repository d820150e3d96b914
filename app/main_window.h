// The main window's process-wide state and the small shared operations that
// many parts call.
#pragma once

#include <cstdint>
#include <string>

struct MainWindowRecord {
    int64_t PerfFrequency = 1;
    int ToolbarPage = 0;
    int LastTooltipButton = 0;
    int RestartPending = 0;
};

extern MainWindowRecord MainWindow;

void CommandBeep();
// One "<empty>" row, shown and selected.
void ResetResultRows();

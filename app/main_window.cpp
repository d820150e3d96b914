#include "app/main_window.h"

#include "platform/platform.h"
#include "results/result_list.h"
#include "search/result_rows.h"

MainWindowRecord MainWindow;

void CommandBeep() {
    platform::Beep(275, 150);
}

void ResetResultRows() {
    ResultRows.Clear();
    ResultRows.Add("", "", "", EmptyRowName, false);
    ShowRowCount();
    SelectRow(1);
}

void ResetMainWindowState() {
    MainWindow = MainWindowRecord();
}

#include "app/main_window.h"

MainWindowRecord MainWindow;

void ResetMainWindowState() {
    MainWindow = MainWindowRecord();
}

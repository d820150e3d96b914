#include "commands/dispatch.h"

#include "app/events.h"
#include "app/main_window.h"
#include "platform/platform.h"
#include "search/run_search.h"
#include "settings/settings.h"

void DispatchCommand(int id, int /*code*/) {
    if (id >= 505 && id <= 508) {
        CommandBeep();
        Settings.SearchType = id - 504;
        RunSearch();
    }
}

void OnCommand(int id, int code) {
    DispatchCommand(id, code);
}

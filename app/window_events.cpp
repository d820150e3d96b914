// Window messages of the main window that are not commands.
#include "app/events.h"
#include "app/layout.h"

void OnSize() {
    LayoutWindow();
}

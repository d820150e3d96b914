#include "app/events.h"

// Placeholders until the F1 and context-menu handling lands.
void OnHelp(bool) {}
void OnContextMenu() {}

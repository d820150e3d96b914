#pragma once

// Rebuilds the toolbar from the settings; none while `ShowToolbar` is 0.
void CreateToolbar();
// Height of the toolbar control, 0 when there is none.
int ToolbarHeight();

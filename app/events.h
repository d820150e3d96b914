// What the platform tells the program. Each backend turns its own events
// (window messages, or a test's simulated keys) into these calls.
#pragma once

// Start-up and shutdown of the main window.
void OnInitDialog();
void OnDeferredStart();
void OnDestroy();

// A command: id in 505..572 or 1; code 1 from the accelerator table, 0 from
// toolbar buttons and lists.
void OnCommand(int id, int code);

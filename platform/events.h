// What the platform tells the program. Each backend turns its own events
// (window messages, or a test's simulated keys) into these calls.
#pragma once

#include <cstdint>
#include <string>

// The program: start-up, the message loop, and the restart check. Returns when
// the main window is gone.
int ProgramMain();

// Start-up and shutdown of the main window.
void OnInitDialog();
void OnDeferredStart();
void OnDestroy();

// A command: id in 505..573 or 1; code 1 from the accelerator table, 0 from
// toolbar buttons and lists.
void OnCommand(int id, int code);

// The main window.
void OnSize();
void OnHelp(bool controlDown); // F1
void OnContextMenu();          // only acted on while the search box has the focus
void OnMouseWheel(int delta);  // signed wheel delta
// The window's scale changed (it moved to another monitor); it has already
// taken the size that keeps it as large to the eye.
void OnDpiChanged();

// The search box's key handler. Each returns true when the message is consumed
// (not passed on to the control).
bool OnSearchBoxSetFocus();
bool OnSearchBoxChar(unsigned character);
bool OnSearchBoxKeyDown(int virtualKey);
bool OnSearchBoxKeyUp(int virtualKey);
bool OnSearchBoxMouseWheel(int delta);

// The result list. `OnListKeyDown` is the control's key notification: true
// after a first-letter jump, so the control does not act on the key itself.
void OnListSetFocus();
// Before the control sees the key: true when the program moved the selection
// itself (Up, Down, Page Up, Page Down, Home, End), so the control must not.
bool OnListRawKeyDown(int virtualKey);
bool OnListKeyDown(int virtualKey);
void OnListDoubleClick();
void OnListColumnClick(int column); // 1..4
// The control reports a new selected item (also one the program selected).
void OnListSelectionChanged();
// What the owner-data list shows in a cell (row and column from 1), and
// whether the row gets the folder icon.
std::string CellText(int row, int column);
bool RowIsFolder(int row);

// The toolbar.
void OnToolbarSetFocus();
void OnToolbarRightClick(int command);
void OnTooltipRequest(int command);

// The message loop found no message waiting: work put off until the keys are
// quiet (asking for the preview's image) runs here.
void OnIdle();
// The preview's image asked for with the token: decoded (the picture's own
// size, and the backend holds it for PreviewKeepImage) or not (missing,
// damaged, refused for its size).
void OnPreviewImage(uint64_t token, bool decoded, int width, int height);

// The four-column result list: what its cells show, and what moving through
// it speaks.
#pragma once

#include "platform/events.h"

#include <string>
#include <string_view>

extern std::string CurrentFile;

void SelectRow(int row);
void ShowResultRows();
void ShowLoading();
// Gives the list the count of `ResultRows`, and its header the same count: the
// only way the list's row count changes.
void ShowRowCount();
// What the list's first column is headed: the help list's title, or "Name"
// with the count of the n rows shown (none for "<empty>", no count yet while
// the "Loading ..." row stands in for them).
std::string FirstColumnHeader(int searchType, int n, std::string_view firstName);
// One "<empty>" row, shown and selected.
void ResetResultRows();

// Selected row number (1-based) and row count, read from the control.
int SelectedRow();
// The first column of the selected row as the list shows it, spelled.
void SpellFileName();
int RowCount();

std::string ListEdgePrefix();
// "Folder : " for a folder row, then the Name.
std::string RowSpeech(int row);
std::string StatusTextFor(int row);

// The selected row into the status bar, `CurrentFile` and the preview, unspoken.
void ShowSelectedRow();

std::string ShortFolderPath(const std::string& path);

// Makes the 0-based row index n the top visible row.
void SetTopRow(int n);

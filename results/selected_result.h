// The result row the file actions and folder expansion work on.
#pragma once

// The selected row when it names a file or folder of a search result;
// otherwise 0, after saying why: "No Selection", "Not Available in Help Mode"
// for a row of the shortcut lists, or "Empty" for the placeholder rows.
int SelectedResultRow();

// The search box's text to and from the clipboard.
#pragma once

void CopySearchTerm();
void CutSearchTerm();
void PasteIntoSearchBox();

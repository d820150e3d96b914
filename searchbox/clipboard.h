// The search box's text to and from the clipboard.
#pragma once

enum class CopyOutcome { Copied, NothingCopied, ClipboardBusy };

// Says what it copied, or why it copied nothing; the caller confirms a copy.
CopyOutcome CopySearchTerm(bool listShowsShortcuts);
void CutSearchTerm();
void PasteIntoSearchBox();

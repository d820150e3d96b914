// Commands whose work is not built yet. Each tells the user so, and keeps the
// name the finished operation will have.
#pragma once

constexpr const char* NotAvailableYet = "Not Available Yet";

// The two shortcut lists of help mode.
void ShowSettingsList();
void ShowActionList();
void ActivateSettingsRow();
void ActivateActionRow();

// Folder expansion, spelling and the search box clipboard.
void ExpandFolder();
void ExpandParentFolder();
void SpellSearchTerm();
void SpellFileName();
void CopySearchTerm();
void CutSearchTerm();
void PasteIntoSearchBox();

// Files, outside programs and the update.
void OpenSelectedFile();
void OpenSelectedFolder();
void CopySelectedFile();
void CopyResultList();
void OpenSearchEngineWindow();
void CycleExternalTool();
// Right after the product page opens: the magnifier or Narrator, by ExternalTool.
void StartExternalTool();
void StartLupa(int& n);
void ToggleNarrator();
void UpdateProgram();

// Printing and the preview pane.
void PrintResultList();
void CycleImageBackground();
void TogglePreviewResize();

// The programs the user may start from Lumafind: the engine's window, the
// magnifier and the screen reader.
#pragma once

void OpenSearchEngineWindow();
void CycleExternalTool();
// Right after the product page opens: the magnifier or Narrator, by ExternalTool.
void StartExternalTool();
void StartLupa(int& n);
void ToggleNarrator();

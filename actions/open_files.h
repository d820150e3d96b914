// Opening the selected result with its program, or its folder.
#pragma once

void OpenSelectedFile();
void OpenSelectedFolder();

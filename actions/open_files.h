// Opening the selected result with its program, or its folder.
#pragma once

#include "search/file_types.h"

#include <string>

// The friendly name of the extension's program, or the words saying there is none.
std::string AssociatedProgramName(const std::string& extension);

void OpenSelectedFile();
void OpenSelectedFolder();

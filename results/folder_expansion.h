// The folder of the selected result, or the one above it, searched for
// everything the engine finds under it.
#pragma once

#include <string>

void ExpandFolder();
void ExpandParentFolder();

// The folder one level above `path`, with its trailing backslash; empty for a
// drive's root. A network path keeps its leading backslashes.
std::string ParentFolder(const std::string& path);

// A folder result, or the selected result's parent, expanded into the list.
#pragma once

void ExpandFolder();
void ExpandParentFolder();

// Six filter names that stand for families of file types in any search.
#pragma once

#include <string>

void CreateFilterGroups();
// Replaces every filter name in the text by its engine extension list.
void ExpandFilterGroups(std::string& arguments);

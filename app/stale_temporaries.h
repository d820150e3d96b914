// Temporaries a save leaves beside its file ("lumafind.ini.1234-2.new": the
// file's name, the saving process's id and a counter) when the process is
// killed midway. Nothing else would ever remove them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The id of the process that wrote a temporary of one of the targets, or 0
// when the name is not exactly of that form.
uint32_t TemporaryOwner(std::string_view name, const std::vector<std::string>& targets);

// Start-up: removes the program folder's temporaries of our own files whose
// process has ended; another Lumafind saving at this moment keeps its own.
void RemoveStaleTemporaries();

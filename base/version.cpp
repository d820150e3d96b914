#include "base/version.h"

// The update tests' second build sets a higher version (LUMAFIND_NEXT_VERSION
// in CMake); every other build carries this one.
#ifndef LUMAFIND_VERSION_TEXT
#define LUMAFIND_VERSION_TEXT "4.43"
#endif

const char* const ProgramVersion = LUMAFIND_VERSION_TEXT;
const char* const ProgramTitle = "Lumafind " LUMAFIND_VERSION_TEXT;

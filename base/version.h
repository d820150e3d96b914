#pragma once

// Defined in base/version.cpp, which each program build compiles with its own
// version, so that a second build can carry a higher one.
extern const char* const ProgramVersion;
// "Lumafind " followed by the version: the start of every caption.
extern const char* const ProgramTitle;

#pragma once

constexpr const char* ProgramVersion = "4.43";
// "Lumafind " followed by the version: the start of every caption.
constexpr const char* ProgramTitle = "Lumafind 4.43";

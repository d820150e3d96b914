// Replacing the program file with a newer release.
#pragma once

void UpdateProgram();

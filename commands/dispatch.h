#pragma once

// Runs one command: id is the command id, code 1 when it came from the
// accelerator table and 0 from a button or a list.
void DispatchCommand(int id, int code);

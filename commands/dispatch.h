#pragma once

// Runs one command: id is the command id, code 1 when it came from the
// accelerator table and 0 from a button or a list.
void DispatchCommand(int id, int code);

// The function the command list names for the id; nullptr for a setting
// toggle or cycle, and for an unknown id.
using CommandHandler = void (*)();
CommandHandler HandlerOf(int id);

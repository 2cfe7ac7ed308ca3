#pragma once
// Starting another program without waiting for it.
#include <windows.h>

#include <string>

namespace orvalen {

// Starts `commandLine` (the program's quoted path and its arguments) as a new
// process with default start-up information and lets it run; `application`
// may name the program file, or be null to take it from the command line.
// False when the process could not be made.
bool StartDetached(const char* application, std::string commandLine);

}  // namespace orvalen

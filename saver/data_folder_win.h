#pragma once
// The folder of the user's settings files on this machine (saver/data_folder.h
// holds the rule), shared by Orvalen.exe and Orvalen.scr.
#include <string>

namespace orvalen {

// The user's own folder: the shell's application-data folder + "Orvalen\",
// with a trailing backslash; empty when the shell has none.
std::string UserDataFolder();

// Whether the running user can create a file in `folder`: a file of a name
// of its own is created there and deleted again.
bool CanCreateFilesIn(const std::string& folder);

// The folder of the user's settings files for the installation in
// `programDir`, filled from the installation when it is used the first time.
std::string LocateDataFolder(const std::string& programDir);

}  // namespace orvalen

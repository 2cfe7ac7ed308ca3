#pragma once
// The run mode of a saver-carrying program and its start-up record.
#include <cstdint>
#include <string>

namespace orvalen {

enum class RunMode : int32_t {
  None = 0,
  Saver = 100,
  Preview = 101,
  Configure = 102,
  ChangePassword = 103,
  Closing = 1100,
};

// Window handles travel as 32-bit values: the programs are 32-bit, and the
// command line carries them as decimal numbers.
using WindowId = uint32_t;

struct StartupState {
  bool slideShow = false;
  WindowId previewParent = 0;
  WindowId configParent = 0;
  WindowId passwordParent = 0;
  std::string defaultProfileName;
  std::string slideProfileName;
  bool profileFound = false;
  int driveNumber = 0;
  std::string programDir;
  // The folder of the user's settings files (default, further and slide-show
  // profiles), with a trailing backslash: programDir where the user can write
  // there, else the user's own folder (saver/data_folder.h).
  std::string dataDir;
  std::string defaultProfilePath;
  std::string slideProfilePath;
  std::string activeProfilePath;
};

}  // namespace orvalen

namespace orvalen {

// Which of the two saver-carrying programs is running: they differ in how they
// find the installation and in what configuration mode does.
enum class ProgramKind { ConfigurationProgram, ScreenSaverModule };

}  // namespace orvalen

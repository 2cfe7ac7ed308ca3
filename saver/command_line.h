#pragma once
// Reading the command line of Orvalen.exe and Orvalen.scr.
#include "saver/run_mode.h"

namespace orvalen {

struct CommandLine {
  RunMode mode = RunMode::Configure;
  bool slideShow = false;
  // Preview: the parent is the preview host's window ("scrprev"), else the number.
  bool previewFromHost = false;
  WindowId previewParent = 0;
  // Configure: a bare /c takes the foreground window as owner, else the number.
  bool configFromForeground = false;
  WindowId configParent = 0;
  WindowId passwordParent = 0;
};

// The whole command line as the program receives it, program name included.
CommandLine ParseCommandLine(const char* commandLine);

// A decimal number: leading white space skipped, one optional sign, digits up
// to the first non-digit; no digits give 0. Wraps like a 32-bit value.
WindowId ReadDecimal(const char* text);

}  // namespace orvalen

#pragma once
// The process-wide values of a saver-carrying program: its run mode, its
// start-up record and its settings record.
#include "saver/run_mode.h"
#include "saver/settings.h"

namespace orvalen {

RunMode& CurrentRunMode();
StartupState& Startup();
SaverSettings& Settings();

}  // namespace orvalen

#include "saver/process_state.h"

namespace orvalen {

RunMode& CurrentRunMode() {
  static RunMode mode = RunMode::None;
  return mode;
}

StartupState& Startup() {
  static StartupState state;
  return state;
}

SaverSettings& Settings() {
  static SaverSettings settings;
  return settings;
}

}  // namespace orvalen

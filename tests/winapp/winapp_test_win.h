#pragma once
// What the layer's Windows tests share: the application object of the test
// program and message pumping through the application's path.
#include <windows.h>

namespace orvalen {

class Application;

// The one application of the test program (common controls initialised,
// rich edit available).
Application& TestApplication();

// Handles the waiting messages of this thread the way the application's loop
// does, for about `milliseconds` (0: only what is waiting now).
void PumpMessages(int milliseconds = 0);

}  // namespace orvalen

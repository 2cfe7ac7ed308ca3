#include "config/controls/button_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvalen {
namespace {

// Carries the actions out as the window does, with the capture and the focus
// as plain flags.
struct Driver {
  ButtonStateMachine machine;
  bool captured = false;
  bool focused = false;
  int clicks = 0;

  void Apply(uint32_t actions) {
    if ((actions & kActReleaseCapture) && captured) {
      captured = false;
    }
    if (actions & kActCapture) captured = true;
    if ((actions & kActTakeFocus) && !focused) {
      focused = true;
      Apply(machine.FocusChanged(true));
    }
    if (actions & kActClick) ++clicks;
  }
  // One step of a script: D/U = left down/up, M = move with the left button
  // up, H = move with it held; i/o = inside/outside. S/s = space down/up,
  // K = focus lost, C = cancel mode, E = menu loop left, L = capture lost,
  // X = the pointer left for another thread's window.
  void Step(const std::string& step) {
    const bool in = step.size() > 1 && step[1] == 'i';
    switch (step[0]) {
      case 'D': Apply(machine.LeftDown(in, focused)); break;
      case 'U': Apply(machine.LeftUp(in, captured)); break;
      case 'M': Apply(machine.MouseMove(in, false, captured)); break;
      case 'H': Apply(machine.MouseMove(in, true, captured)); break;
      case 'S': Apply(machine.SpaceDown()); break;
      case 's': Apply(machine.SpaceUp()); break;
      case 'K': focused = false; Apply(machine.FocusChanged(false)); break;
      case 'C': Apply(machine.CancelMode()); break;
      case 'E': Apply(machine.ExitMenuLoop()); break;
      case 'L': captured = false; Apply(machine.CaptureLost()); break;
      case 'X': Apply(machine.PointerLeft()); break;
      default: FAIL() << "bad step " << step;
    }
  }
};

struct ScriptCase {
  const char* name;
  bool keyboard;
  std::vector<std::string> steps;
  int clicks;
  bool captured, pressed, hot;
};

// Mouse clicks, hot tracking and the space bar are driven through the real
// window in button_ex_win_test.cpp; these are the ways a press is cancelled.
const ScriptCase kScripts[] = {
    {"DraggedOutButtonLooksReleased", false, {"Di", "Ho"}, 0, true, false, true},
    {"FocusLossCancelsMousePress", false, {"Di", "K", "Ui"}, 0, false, false, false},
    {"FocusLossCancelsKeyPress", true, {"S", "K", "s"}, 0, false, false, false},
    {"CancelModeClearsHotAndCapture", false, {"Mi", "Di", "C", "Ui"}, 0, false, false, false},
    {"MenuLoopEndClearsEverything", false, {"Mi", "Di", "E"}, 0, false, false, false},
    {"CaptureTakenAwayDropsTheClick", false, {"Di", "L", "Ui"}, 0, false, false, false},
    {"PressOutsideWhileHotLetsGo", false, {"Mi", "Do"}, 0, false, false, false},
    {"LeavingForAnotherThreadClearsHot", false, {"Mi", "X"}, 0, false, false, false},
    {"LeavingDuringAPressKeepsIt", false, {"Di", "X", "Ui"}, 1, false, false, false},
    {"HotAgainAfterCancel", false, {"Mi", "C", "Mi", "Di", "Ui"}, 1, false, false, false},
};

class ButtonScriptTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ButtonScriptTest, EndsInExpectedState) {
  const ScriptCase& c = GetParam();
  Driver d;
  d.machine.SetKeyboard(c.keyboard);
  for (const std::string& step : c.steps) d.Step(step);
  EXPECT_EQ(d.clicks, c.clicks);
  EXPECT_EQ(d.captured, c.captured);
  EXPECT_EQ(d.machine.State().pressed, c.pressed);
  EXPECT_EQ(d.machine.State().hot, c.hot);
  if (!d.captured) {
    EXPECT_FALSE(d.machine.State().tracking);
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, ButtonScriptTest, ::testing::ValuesIn(kScripts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvalen

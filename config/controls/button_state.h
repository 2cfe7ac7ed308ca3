#pragma once
// The glyph button's state machine: each input (mouse, keys, focus, the
// button messages) changes the state bits and says what the window must do
// about it. The window carries the actions out in the order of the bits
// below: release the capture, take it (and ask to be told of the pointer
// leaving), take the focus, repaint, click.
#include <cstdint>

#include "config/controls/glyph_button_layout.h"

namespace orvalen {

enum ButtonAction : uint32_t {
  kActNone = 0,
  kActReleaseCapture = 1,  // release the mouse capture if the button holds it
  kActCapture = 2,
  kActTakeFocus = 4,
  kActRepaint = 8,
  kActClick = 16,
  kActTrackLeave = 32,  // ask to be told when the pointer leaves (with the capture)
};

class ButtonStateMachine {
 public:
  const ButtonStateBits& State() const { return state_; }
  bool Keyboard() const { return keyboard_; }
  // When set, the space bar presses and clicks the button.
  void SetKeyboard(bool on) { keyboard_ = on; }

  // `inside`: the pointer is in the client area; `captured`: the button holds
  // the mouse capture; `leftHeld`: the left mouse button is down.
  uint32_t LeftDown(bool inside, bool hasFocus);
  uint32_t MouseMove(bool inside, bool leftHeld, bool captured);
  uint32_t LeftUp(bool inside, bool captured);
  // The pointer went onto a window of another thread, where the capture held
  // while hot does not reach (a press in progress keeps its capture).
  uint32_t PointerLeft();
  uint32_t SpaceDown();
  uint32_t SpaceUp();
  uint32_t FocusChanged(bool focused);
  uint32_t EnableChanged(bool enabled);
  uint32_t CancelMode();
  uint32_t ExitMenuLoop();
  // Another window took the mouse capture away.
  uint32_t CaptureLost();
  uint32_t SetPressed(bool pressed);
  uint32_t SetDefault(bool isDefault);

 private:
  // Clears pressed, hot and tracking; repaints when anything was set.
  uint32_t Reset();

  ButtonStateBits state_;
  bool keyboard_ = false;
};

}  // namespace orvalen

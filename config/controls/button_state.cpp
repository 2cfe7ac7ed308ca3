#include "config/controls/button_state.h"

namespace orvalen {

uint32_t ButtonStateMachine::Reset() {
  const bool changed = state_.pressed || state_.hot || state_.tracking;
  state_.pressed = state_.hot = state_.tracking = false;
  return changed ? kActRepaint : kActNone;
}

uint32_t ButtonStateMachine::LeftDown(bool inside, bool hasFocus) {
  // A press outside reaches the button only through the capture it holds
  // while hot: the pointer has left without a move being seen.
  if (!inside) return kActReleaseCapture | Reset();
  state_.pressed = state_.tracking = state_.hot = true;
  return kActCapture | (hasFocus ? kActNone : kActTakeFocus) | kActRepaint;
}

uint32_t ButtonStateMachine::MouseMove(bool inside, bool leftHeld, bool captured) {
  if (state_.tracking) {
    if (!leftHeld || !captured || state_.pressed == inside) return kActNone;
    state_.pressed = inside;
    return kActRepaint;
  }
  if (inside) {
    const uint32_t capture = captured ? kActNone : kActCapture | kActTrackLeave;
    if (state_.hot) return capture;
    state_.hot = true;
    return capture | kActRepaint;
  }
  return kActReleaseCapture | Reset();
}

uint32_t ButtonStateMachine::LeftUp(bool inside, bool captured) {
  uint32_t actions = kActNone;
  if (captured && state_.pressed) {
    state_.pressed = false;
    actions |= kActRepaint | (inside ? kActClick : kActNone);
  }
  // The capture goes with the button in every case: held on after a release
  // outside, it would swallow the next click anywhere in the program.
  if (captured) actions |= kActReleaseCapture;
  if (state_.tracking || state_.hot) actions |= kActRepaint;
  state_.tracking = state_.hot = false;
  return actions;
}

uint32_t ButtonStateMachine::PointerLeft() {
  if (state_.tracking) return kActNone;
  return kActReleaseCapture | Reset();
}

uint32_t ButtonStateMachine::SpaceDown() {
  if (!keyboard_ || state_.pressed) return kActNone;
  state_.pressed = true;
  return kActRepaint;
}

uint32_t ButtonStateMachine::SpaceUp() {
  if (!keyboard_ || !state_.pressed) return kActNone;
  state_.pressed = false;
  return kActRepaint | kActClick;
}

uint32_t ButtonStateMachine::FocusChanged(bool focused) {
  state_.focused = focused;
  if (focused || !state_.pressed) return kActRepaint;
  // Losing the focus cancels a press, whether by mouse or by key.
  const bool tracking = state_.tracking;
  state_.pressed = state_.tracking = false;
  return kActRepaint | (tracking ? kActReleaseCapture : kActNone);
}

uint32_t ButtonStateMachine::EnableChanged(bool enabled) {
  state_.disabled = !enabled;
  return kActRepaint;
}

uint32_t ButtonStateMachine::CancelMode() {
  // Hot goes too: with the capture released no move would ever clear it.
  Reset();
  return kActReleaseCapture | kActRepaint;
}

uint32_t ButtonStateMachine::ExitMenuLoop() {
  Reset();
  return kActReleaseCapture | kActRepaint;
}

uint32_t ButtonStateMachine::CaptureLost() { return Reset(); }

uint32_t ButtonStateMachine::SetPressed(bool pressed) {
  state_.pressed = pressed;
  return kActRepaint;
}

uint32_t ButtonStateMachine::SetDefault(bool isDefault) {
  state_.isDefault = isDefault;
  return kActRepaint;
}

}  // namespace orvalen

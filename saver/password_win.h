#pragma once
// The Windows screen-saver password: changing it (/a) and asking for it
// before the full-screen saver may close.
#include <windows.h>

namespace orvalen {

// Shows the system's password-change dialog owned by `owner`.
void ChangePassword(HWND owner);

// Asks for the screen-saver password; true when the saver may close.
bool VerifyPassword(HWND owner);

// True on Windows NT and later, which ask for no screen-saver password of
// their own accord (the system locks the workstation instead).
bool IsNtPlatform();

// Sets or clears the system flag "screen saver running" (which blocks
// Ctrl+Alt+Del and task switching on the systems that have the block).
void SetScreenSaverRunning(bool running);

}  // namespace orvalen

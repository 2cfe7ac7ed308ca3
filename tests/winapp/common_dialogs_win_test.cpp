// The colour chooser, the folder chooser and the message box, answered by a
// timer of the test while their own loops run.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "winapp/common_dialogs_win.h"
#include "winapp/window_view_win.h"
#include "winapp_test_win.h"

namespace orvalen {
namespace {

// What the timer found and pressed.
struct Answer {
  WPARAM button = 0;
  std::string caption;
  std::string firstStatic;
  bool pressed = false;
};
Answer* answer = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (IsWindowVisible(window) && std::string(className) == "#32770") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindStatic(HWND window, LPARAM text) {
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "Static" || WindowView(window).Text().empty()) return TRUE;
  *reinterpret_cast<std::string*>(text) = WindowView(window).Text();
  return FALSE;
}

void CALLBACK PressButton(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog || !answer || answer->pressed) return;
  KillTimer(nullptr, timer);
  answer->pressed = true;
  answer->caption = WindowView(dialog).Text();
  EnumChildWindows(dialog, &FindStatic, reinterpret_cast<LPARAM>(&answer->firstStatic));
  PostMessageA(dialog, WM_COMMAND, answer->button, 0);
}

// Runs `show` with a timer that presses `button` in the dialog it opens.
Answer Answered(WPARAM button, const std::function<void()>& show) {
  Answer result;
  result.button = button;
  answer = &result;
  SetTimer(nullptr, 0, 50, &PressButton);
  show();
  answer = nullptr;
  return result;
}

TEST(CommonDialogs, AnswerWithWhatWasChosen) {
  TestApplication();
  std::array<COLORREF, 16> custom{};
  custom[3] = RGB(1, 2, 3);
  const COLORREF initial = RGB(64, 128, 192);
  std::optional<COLORREF> colour;
  Answer chosen = Answered(IDOK, [&] { colour = ChooseColour(nullptr, initial, custom); });
  EXPECT_TRUE(chosen.pressed);
  // Preselected and taken as it was (Wine preselects it even without
  // CC_RGBINIT, so this shows the colour's way in and out, not the flag).
  EXPECT_EQ(colour, initial);
  EXPECT_EQ(custom[3], RGB(1, 2, 3));

  Answer cancelled = Answered(IDCANCEL, [&] { colour = ChooseColour(nullptr, initial, custom); });
  EXPECT_TRUE(cancelled.pressed);
  EXPECT_EQ(colour, std::nullopt);

  std::optional<std::string> folder = "unset";
  Answer browse = Answered(IDCANCEL, [&] { folder = BrowseForFolder(nullptr, "Pick a folder"); });
  EXPECT_TRUE(browse.pressed);
  EXPECT_EQ(folder, std::nullopt);

  struct Case {
    const char* caption;
    UINT type;
    WPARAM button;
  };
  for (const Case& c : {Case{nullptr, MB_OK, IDOK}, Case{"Setup", MB_YESNO, IDNO}}) {
    int result = 0;
    Answer box = Answered(c.button, [&] {
      result = c.caption ? ShowMessage(nullptr, "Text of the box", c.caption, c.type)
                         : ShowMessage(nullptr, "Text of the box");
    });
    EXPECT_EQ(result, static_cast<int>(c.button));
    EXPECT_EQ(box.caption, c.caption ? c.caption : "Orvalen");
    EXPECT_EQ(box.firstStatic, "Text of the box");
  }
}

}  // namespace
}  // namespace orvalen

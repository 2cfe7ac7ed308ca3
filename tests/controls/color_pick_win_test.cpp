#include "config/controls/button_color_pick_win.h"

#include <windows.h>

#include <colordlg.h>
#include <gtest/gtest.h>

#include <memory>

#include "resources/resource_ids.h"
#include "tests/controls/controls_fixture_win_helpers.h"
#include "tests/controls/controls_test_ids.h"

namespace orvalen {
namespace {

using test::Capture;
using test::Pump;

constexpr COLORREF kInitial = RGB(40, 50, 60);
constexpr COLORREF kChosen = RGB(10, 200, 30);

// What the timer found in the colour dialog and what it does there.
struct ColourDialogDriver {
  HWND exclude = nullptr;  // the test dialog, also a #32770
  bool pressOk = true;
  bool seen = false;
  COLORREF preselected = CLR_INVALID;
};
ColourDialogDriver g_driver;

BOOL CALLBACK FindColourDialog(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (window != g_driver.exclude && lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Runs inside the colour dialog's modal loop: reads the preselected colour
// from its red, green and blue fields, types another one and closes it.
void CALLBACK DriveColourDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindColourDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, timer);
  g_driver.seen = true;
  g_driver.preselected = RGB(GetDlgItemInt(dialog, COLOR_RED, nullptr, FALSE),
                             GetDlgItemInt(dialog, COLOR_GREEN, nullptr, FALSE),
                             GetDlgItemInt(dialog, COLOR_BLUE, nullptr, FALSE));
  SetDlgItemInt(dialog, COLOR_RED, GetRValue(kChosen), FALSE);
  SetDlgItemInt(dialog, COLOR_GREEN, GetGValue(kChosen), FALSE);
  SetDlgItemInt(dialog, COLOR_BLUE, GetBValue(kChosen), FALSE);
  SendMessageA(GetDlgItem(dialog, g_driver.pressOk ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
}

class ColorPickTest : public ::testing::Test {
 protected:
  void SetUp() override { test::ParkPointer(); }
  void Make(int id) {
    button_ = std::make_unique<TButtonColorPick>();
    ASSERT_TRUE(button_->CreateOver(dialog_.View(), IDC_TEST_PICK_PLACE, "", WS_VISIBLE, id));
    SetWindowPos(button_->Handle(), nullptr, 0, 0, 80, 24, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(button_->SetGlyph(kGlyphNormal, IDB_COLOR_ARROW));
    button_->SetColor(kInitial);
    Pump();
  }
  void Click() {
    SendMessageA(button_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }

  test::TestDialog dialog_;
  std::unique_ptr<TButtonColorPick> button_;
};

struct PickCase {
  const char* name;
  int id;
  bool pressOk;
  bool announces;
  COLORREF result;
};

class ColorPickClickTest : public ColorPickTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(ColorPickClickTest, ChoosesTheColourAndOnly555Posts666) {
  const PickCase& c = GetParam();
  Make(c.id);
  g_driver = ColourDialogDriver{dialog_.Handle(), c.pressOk};
  SetTimer(nullptr, 0, 50, &DriveColourDialog);
  Click();
  ASSERT_TRUE(g_driver.seen);
  EXPECT_EQ(g_driver.preselected, kInitial);
  EXPECT_EQ(button_->Color(), c.result);
  // The colour pick never sends its own click.
  EXPECT_TRUE(dialog_.CommandsWithId(c.id).empty());
  // 666 waits in the queue (posted), it did not arrive during the click.
  EXPECT_TRUE(dialog_.CommandsWithId(666).empty());
  MSG waiting;
  EXPECT_EQ(PeekMessageA(&waiting, dialog_.Handle(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE) != 0,
            c.announces);
  Pump();
  const auto announced = dialog_.CommandsWithId(666);
  ASSERT_EQ(announced.size(), c.announces ? 1u : 0u);
  if (c.announces) {
    EXPECT_FALSE(announced[0].sent);
  }
  auto canvas = Capture(button_->Handle());
  EXPECT_EQ(canvas->ColorAt(30, 12), c.result);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorPickClickTest,
                         ::testing::Values(PickCase{"Announcing", 555, true, true, kChosen},
                                           PickCase{"Quiet", 556, true, false, kChosen},
                                           PickCase{"Cancelled", 555, false, false, kInitial}),
                         [](const auto& info) { return std::string(info.param.name); });

// An 80 x 24 button with the 9 x 8 arrow: arrow at (68, 8), swatch from
// (5, 5) to (58, 20), shadow line at x 62; all but the line one pixel
// further right and down while pressed.
TEST_F(ColorPickTest, SwatchArrowAndLine) {
  Make(556);
  for (const bool pressed : {false, true}) {
    SendMessageA(button_->Handle(), BM_SETSTATE, pressed, 0);
    auto canvas = Capture(button_->Handle());
    const int s = pressed ? 1 : 0;
    EXPECT_EQ(canvas->ColorAt(1, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas->ColorAt(4 + s, 5 + s), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas->ColorAt(5 + s, 5 + s), RGB(0, 0, 0));
    EXPECT_EQ(canvas->ColorAt(57 + s, 19 + s), RGB(0, 0, 0));
    EXPECT_EQ(canvas->ColorAt(56 + s, 18 + s), kInitial);
    EXPECT_EQ(canvas->ColorAt(62, 12), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas->ColorAt(69 + s, 10 + s), RGB(0, 0, 0));  // arrow's top row
    EXPECT_EQ(canvas->ColorAt(68 + s, 10 + s), GetSysColor(COLOR_BTNFACE));
  }
}

}  // namespace
}  // namespace orvalen

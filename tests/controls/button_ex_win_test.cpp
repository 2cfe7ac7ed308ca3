#include "config/controls/button_ex_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/controls/controls_fixture_win_helpers.h"
#include "tests/controls/controls_test_ids.h"

namespace orvalen {
namespace {

using test::Capture;
using test::Pump;
using test::PumpUntil;

constexpr int kButtonId = 201;
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kHotText = RGB(255, 255, 255);
constexpr COLORREF kFace = RGB(128, 128, 128);
constexpr COLORREF kHotFace = RGB(0, 0, 128);

// A font without smoothing, so text pixels have exactly the text colour.
HFONT PlainFont(int height) {
  return CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                     DEFAULT_PITCH, "Arial");
}

// A 32-bit DIB section of one colour.
HBITMAP SolidBitmap(int width, int height, COLORREF color) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* pixels = static_cast<uint32_t*>(bits);
  const uint32_t value = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  for (int i = 0; i < width * height; ++i) pixels[i] = value;
  return bitmap;
}

int CountColor(const test_support::Canvas& canvas, COLORREF color) {
  int count = 0;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) count += canvas.ColorAt(x, y) == color;
  }
  return count;
}

class GlyphButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { test::ParkPointer(); }

  void Make(const char* text, uint32_t frame = kFrameFlat, DWORD style = WS_VISIBLE | WS_TABSTOP) {
    button_ = std::make_unique<TButtonEx>();
    ASSERT_TRUE(button_->CreateOver(dialog_.View(), IDC_TEST_BUTTON_PLACE, text, style, kButtonId));
    button_->SetFrameStyle(frame);
    Pump();
  }
  HWND Button() const { return button_->Handle(); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(Button(), message, wParam, lParam);
  }
  LPARAM Inside() const { return MAKELPARAM(5, 5); }
  LPARAM Outside() const {
    const RECT r = button_->ClientRect();
    return MAKELPARAM(r.right + 10, r.bottom + 10);
  }
  bool CommandWaiting() {
    MSG message;
    return PeekMessageA(&message, dialog_.Handle(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE) != 0;
  }

  test::TestDialog dialog_;
  std::unique_ptr<TButtonEx> button_;
};

struct MouseStep {
  UINT message;
  bool held;
  bool inside;
};

struct MouseScript {
  const char* name;
  std::vector<MouseStep> steps;
  size_t commands;
};

class GlyphButtonMouseTest : public GlyphButtonTest,
                             public ::testing::WithParamInterface<MouseScript> {};

TEST_P(GlyphButtonMouseTest, CommandsAreSentOnlyForReleasesInside) {
  Make("Home");
  for (const MouseStep& step : GetParam().steps) {
    Send(step.message, step.held ? MK_LBUTTON : 0, step.inside ? Inside() : Outside());
  }
  const std::vector<test::Command> commands = dialog_.CommandsWithId(kButtonId);
  ASSERT_EQ(commands.size(), GetParam().commands);
  for (const test::Command& c : commands) {
    EXPECT_EQ(c.code, BN_CLICKED);
    EXPECT_EQ(c.from, Button());
    EXPECT_TRUE(c.sent);
  }
  EXPECT_FALSE(CommandWaiting());  // nothing was posted
  EXPECT_NE(GetCapture(), Button());
  EXPECT_EQ(Send(BM_GETSTATE) & BST_PUSHED, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, GlyphButtonMouseTest,
    ::testing::Values(
        MouseScript{"PressAndReleaseInside",
                    {{WM_MOUSEMOVE, false, true},
                     {WM_LBUTTONDOWN, true, true},
                     {WM_LBUTTONUP, false, true}},
                    1},
        MouseScript{"DragOutReleaseOutside",
                    {{WM_LBUTTONDOWN, true, true},
                     {WM_MOUSEMOVE, true, false},
                     {WM_LBUTTONUP, false, false}},
                    0},
        MouseScript{"DragOutAndBack",
                    {{WM_LBUTTONDOWN, true, true},
                     {WM_MOUSEMOVE, true, false},
                     {WM_MOUSEMOVE, true, true},
                     {WM_LBUTTONUP, false, true}},
                    1},
        MouseScript{"ReleaseWithoutPress", {{WM_LBUTTONUP, false, true}}, 0},
        MouseScript{"QuickSecondClick",
                    {{WM_LBUTTONDOWN, true, true},
                     {WM_LBUTTONUP, false, true},
                     {WM_LBUTTONDBLCLK, true, true},
                     {WM_LBUTTONUP, false, true}},
                    2}),
    [](const auto& info) { return std::string(info.param.name); });

// The pointer moved for real: entering paints the hot colours and takes the
// capture, jumping far away clears them and lets the capture go.
TEST_F(GlyphButtonTest, RealPointerLightsTheButtonAndLetsGo) {
  Make("Home");
  HFONT font = PlainFont(14);
  button_->SetFont(font);
  DeleteObject(font);  // the button keeps a copy
  button_->SetColors(kText, kHotText, kFace, kHotFace);
  auto before = Capture(Button());
  EXPECT_EQ(before->ColorAt(1, 1), kFace);
  EXPECT_GT(CountColor(*before, kText), 0);
  EXPECT_EQ(CountColor(*before, kHotText), 0);

  const RECT r = button_->ClientRect();
  const POINT centre = test::ScreenPoint(Button(), r.right / 2, r.bottom / 2);
  SetCursorPos(centre.x, centre.y);
  ASSERT_TRUE(PumpUntil([&] { return button_->State().hot; }));
  EXPECT_EQ(GetCapture(), Button());
  auto hot = Capture(Button());
  EXPECT_EQ(hot->ColorAt(1, 1), kHotFace);
  EXPECT_GT(CountColor(*hot, kHotText), 0);
  EXPECT_EQ(CountColor(*hot, kText), 0);

  test::ParkPointer();
  ASSERT_TRUE(PumpUntil([&] { return !button_->State().hot; }));
  EXPECT_NE(GetCapture(), Button());
  auto after = Capture(Button());
  EXPECT_EQ(after->ColorAt(1, 1), kFace);
  EXPECT_EQ(CountColor(*after, kHotText), 0);
}

// A thread with a window of its own: set `event` when it exists, ends at WM_QUIT.
DWORD WINAPI OtherThreadWindow(void* event) {
  HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                               nullptr, nullptr, nullptr, nullptr);
  SetEvent(static_cast<HANDLE>(event));
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  DestroyWindow(other);
  return 0;
}

BOOL CALLBACK FirstWindow(HWND window, LPARAM found) {
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Capture without a button held does not reach over windows of other
// threads: the pointer leaving straight onto one must still clear the hot state.
TEST_F(GlyphButtonTest, HotClearsWhenThePointerLeavesOntoAnotherThreadsWindow) {
  Make("Home");
  const RECT r = button_->ClientRect();
  const POINT edge = test::ScreenPoint(Button(), r.right - 2, r.bottom / 2);
  KernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  DWORD otherThread = 0;
  KernelHandle thread(CreateThread(nullptr, 0, &OtherThreadWindow, ready.Get(), 0, &otherThread));
  WaitForSingleObject(ready.Get(), 5000);
  HWND other = nullptr;
  EnumThreadWindows(otherThread, &FirstWindow, reinterpret_cast<LPARAM>(&other));
  struct QuitAtEnd {
    DWORD id;
    HANDLE thread;
    ~QuitAtEnd() {
      PostThreadMessageA(id, WM_QUIT, 0, 0);
      WaitForSingleObject(thread, 5000);
    }
  } quit{otherThread, thread.Get()};
  ASSERT_TRUE(other);
  SetWindowPos(other, HWND_TOPMOST, edge.x + 3, edge.y - 20, 100, 100, SWP_NOACTIVATE);
  SetCursorPos(edge.x, edge.y);
  ASSERT_TRUE(PumpUntil([&] { return button_->State().hot; }));
  SetCursorPos(edge.x + 40, edge.y);
  EXPECT_TRUE(PumpUntil([&] { return !button_->State().hot; }, 1000));
  EXPECT_NE(GetCapture(), Button());
  test::ParkPointer();
}

// Real button presses through SendInput: a click gives one command, a press
// dragged off the button gives none.
TEST_F(GlyphButtonTest, RealClicksWithSendInput) {
  Make("Home");
  const RECT r = button_->ClientRect();
  const POINT centre = test::ScreenPoint(Button(), r.right / 2, r.bottom / 2);
  auto press = [](DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
  };
  SetCursorPos(centre.x, centre.y);
  ASSERT_TRUE(PumpUntil([&] { return button_->State().hot; }));
  press(MOUSEEVENTF_LEFTDOWN);
  press(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !dialog_.CommandsWithId(kButtonId).empty(); }));
  EXPECT_TRUE(dialog_.CommandsWithId(kButtonId)[0].sent);

  dialog_.ClearCommands();
  SetCursorPos(centre.x, centre.y + 1);
  press(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return button_->State().pressed; }));
  test::ParkPointer();
  ASSERT_TRUE(PumpUntil([&] { return !button_->State().pressed; }));
  press(MOUSEEVENTF_LEFTUP);
  PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(dialog_.CommandsWithId(kButtonId).empty());
  EXPECT_NE(GetCapture(), Button());
}

struct KeyboardCase {
  bool keyboard;
  size_t commands;
};

class GlyphButtonKeyTest : public GlyphButtonTest,
                           public ::testing::WithParamInterface<KeyboardCase> {};

TEST_P(GlyphButtonKeyTest, SpaceAndFocusRectangleFollowTheKeyboardFlag) {
  Make("Home", kFrameStandard);
  button_->SetKeyboard(GetParam().keyboard);
  SetFocus(GetDlgItem(dialog_.Handle(), IDC_TEST_EDIT));
  Pump();
  auto unfocused = Capture(Button());
  SetFocus(Button());
  Pump();
  auto focused = Capture(Button());
  bool same = true;
  for (int y = 0; y < focused->Height(); ++y) {
    for (int x = 0; x < focused->Width(); ++x) {
      same = same && focused->At(x, y) == unfocused->At(x, y);
    }
  }
  EXPECT_EQ(same, !GetParam().keyboard) << "a focus rectangle only with the keyboard flag";

  Send(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ((Send(BM_GETSTATE) & BST_PUSHED) != 0, GetParam().keyboard);
  Send(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(dialog_.CommandsWithId(kButtonId).size(), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(Flag, GlyphButtonKeyTest,
                         ::testing::Values(KeyboardCase{false, 0}, KeyboardCase{true, 1}));

TEST_F(GlyphButtonTest, DisabledTextIsDrawnTwice) {
  Make("HIH", kFrameFlat);
  HFONT font = PlainFont(16);
  button_->SetFont(font);
  DeleteObject(font);
  const COLORREF grey = DisabledTextColor(GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_BTNFACE),
                                          GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNSHADOW));
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(highlight, GetSysColor(COLOR_BTNFACE));
  auto enabled = Capture(Button());
  EXPECT_EQ(CountColor(*enabled, highlight), 0);
  EXPECT_GT(CountColor(*enabled, GetSysColor(COLOR_BTNTEXT)), 0);

  EnableWindow(Button(), FALSE);
  EXPECT_TRUE(button_->State().disabled);
  auto disabled = Capture(Button());
  EXPECT_EQ(CountColor(*disabled, GetSysColor(COLOR_BTNTEXT)), 0);
  // The grey text shows where its highlight copy, one pixel right and down,
  // does not cover it: the left edges of the strokes.
  int greyPixels = 0, paired = 0;
  for (int y = 0; y + 1 < disabled->Height(); ++y) {
    for (int x = 0; x + 1 < disabled->Width(); ++x) {
      if (disabled->ColorAt(x, y) != grey) continue;
      ++greyPixels;
      paired += disabled->ColorAt(x + 1, y + 1) == highlight;
    }
  }
  EXPECT_GT(greyPixels, 10);
  EXPECT_GT(paired * 2, greyPixels);
  EXPECT_GT(CountColor(*disabled, highlight), 10);
}

// A red 16 x 16 glyph alone in a 40 x 24 flat button: centred at
// ((40 - 16) / 2, (24 - 16) / 2), one pixel further while pressed, and no red
// at all when disabled (embossed).
TEST_F(GlyphButtonTest, GlyphLandsWhereTheArithmeticSays) {
  struct Case {
    bool pressed, disabled;
    POINT topLeft;
  } cases[] = {{false, false, {12, 4}}, {true, false, {13, 5}}, {false, true, {-1, -1}}};
  for (const Case& c : cases) {
    Make("");
    SetWindowPos(Button(), nullptr, 0, 0, 40, 24, SWP_NOMOVE | SWP_NOZORDER);
    button_->SetColors(kText, kHotText, kFace, kFace);
    button_->SetGlyphBitmap(kGlyphNormal, SolidBitmap(16, 16, RGB(255, 0, 0)));
    Send(BM_SETSTATE, c.pressed);
    EnableWindow(Button(), !c.disabled);
    auto canvas = Capture(Button());
    const POINT at = c.topLeft;
    EXPECT_EQ(CountColor(*canvas, RGB(255, 0, 0)), at.x < 0 ? 0 : 16 * 16) << c.pressed;
    if (at.x < 0) continue;
    EXPECT_EQ(canvas->ColorAt(at.x, at.y), RGB(255, 0, 0));
    EXPECT_EQ(canvas->ColorAt(at.x + 15, at.y + 15), RGB(255, 0, 0));
    EXPECT_EQ(canvas->ColorAt(at.x - 1, at.y - 1), kFace);
  }
}

TEST_F(GlyphButtonTest, OwnsACopyOfItsFontAndFreesItWithItsGlyphs) {
  Make("Home");
  HFONT given = PlainFont(12);
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(given), TRUE);
  auto copy = reinterpret_cast<HFONT>(Send(WM_GETFONT));
  EXPECT_NE(copy, given);
  EXPECT_EQ(GetObjectType(copy), static_cast<DWORD>(OBJ_FONT));
  DeleteObject(given);
  button_->Repaint();
  button_->SetGlyphBitmap(kGlyphNormal, SolidBitmap(4, 4, RGB(1, 2, 3)));
  HBITMAP glyph = button_->Glyph(kGlyphNormal);
  // The parent's end takes the button window with it, and its GDI objects.
  DestroyWindow(dialog_.Handle());
  EXPECT_EQ(GetObjectType(copy), 0u);
  EXPECT_EQ(GetObjectType(glyph), 0u);
}

}  // namespace
}  // namespace orvalen

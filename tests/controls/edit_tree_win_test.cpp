#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/controls/edit_scroll_win.h"
#include "config/controls/tree_window_full_row_win.h"
#include "tests/controls/controls_fixture_win_helpers.h"
#include "tests/controls/controls_test_ids.h"

namespace orvalen {
namespace {

using test::Capture;
using test::Pump;

// The arrows of the edit's own scroll bar, clicked with the real pointer; the
// rule itself is tested in numeric_edit_test.cpp.
TEST(EditScrollTest, RealClicksOnTheArrowsStepWithinBounds) {
  test::TestDialog dialog;
  TEditScroll edit;
  ASSERT_TRUE(edit.AttachItem(dialog.View(), IDC_TEST_EDIT));
  edit.SetRule({2, 100, 1, NumericFormat::kInteger});
  edit.SetText("99.5");
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(GetScrollBarInfo(edit.Handle(), OBJID_VSCROLL, &bar));
  const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
  const int upY = bar.rcScrollBar.top + bar.dxyLineButton / 2;
  const int downY = bar.rcScrollBar.bottom - 1 - bar.dxyLineButton / 2;
  auto click = [](int px, int py) {
    SetCursorPos(px, py);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof input[0]);
  };
  struct Step {
    int y;
    const char* text;
  } steps[] = {{upY, "100"}, {upY, "100"}, {downY, "99"}};
  for (const Step& step : steps) {
    click(x, step.y);
    test::PumpUntil([] { return false; }, 150);
    EXPECT_EQ(edit.Text(), step.text);
  }
  test::ParkPointer();
}

class FullRowTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ParkPointer();
    ASSERT_TRUE(tree_.AttachItem(dialog_.View(), IDC_TEST_TREE));
    alpha_ = Insert(TVI_ROOT, "Alpha");
    Insert(alpha_, "Alpha one");
    beta_ = Insert(TVI_ROOT, "Beta");
    gamma_ = Insert(TVI_ROOT, "Gamma");
    Pump();
  }
  HTREEITEM Insert(HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(
        tree_.Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  RECT Label(HTREEITEM item) {
    RECT r{};
    std::memcpy(&r, &item, sizeof item);
    tree_.Send(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  HTREEITEM Selection() {
    return reinterpret_cast<HTREEITEM>(tree_.Send(TVM_GETNEXTITEM, TVGN_CARET, 0));
  }
  bool Expanded(HTREEITEM item) {
    return tree_.Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
           TVIS_EXPANDED;
  }
  void Select(HTREEITEM item) {
    tree_.Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }
  void Click(UINT message, int x, int y) {
    tree_.Send(message, MK_LBUTTON, MAKELPARAM(x, y));
    tree_.Send(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  int Right() const { return tree_.ClientRect().right; }
  int Middle(HTREEITEM item) {
    const RECT r = Label(item);
    return (r.top + r.bottom) / 2;
  }

  test::TestDialog dialog_;
  TTreeWindowFullRow tree_;
  HTREEITEM alpha_ = nullptr, beta_ = nullptr, gamma_ = nullptr;
};

TEST_F(FullRowTreeTest, ClickRightOfTheLabelSelectsAndFocuses) {
  Select(gamma_);
  SetFocus(GetDlgItem(dialog_.Handle(), IDC_TEST_EDIT));
  const RECT label = Label(beta_);
  ASSERT_LT(label.right + 5, Right() - 20);
  Click(WM_LBUTTONDOWN, label.right + 5, Middle(beta_));
  EXPECT_EQ(Selection(), beta_);
  EXPECT_EQ(GetFocus(), tree_.Handle());
}

struct ToggleCase {
  const char* name;
  int fromRight;  // the click's distance left of the right edge
  bool onSelectedRow;
  bool toggles;
};

class FullRowToggleTest : public FullRowTreeTest,
                          public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(FullRowToggleTest, NearTheRightEdgeOfTheSelectedRowToggles) {
  const ToggleCase& c = GetParam();
  Select(alpha_);
  HTREEITEM target = c.onSelectedRow ? alpha_ : beta_;
  Click(WM_LBUTTONDOWN, Right() - c.fromRight, Middle(target));
  EXPECT_EQ(Expanded(alpha_), c.toggles);
  EXPECT_EQ(Selection(), target);
  EXPECT_EQ(GetFocus(), tree_.Handle());
  if (c.toggles) {
    Click(WM_LBUTTONDOWN, Right() - c.fromRight, Middle(alpha_));
    EXPECT_FALSE(Expanded(alpha_));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FullRowToggleTest,
                         ::testing::Values(ToggleCase{"EdgeOfSelected", 10, true, true},
                                           ToggleCase{"TwentyPixelsIn", 20, true, true},
                                           ToggleCase{"JustOutsideTheZone", 21, true, false},
                                           ToggleCase{"EdgeOfAnotherRow", 10, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FullRowTreeTest, DoubleClickRightOfTheLabelToggles) {
  Select(beta_);
  Click(WM_LBUTTONDBLCLK, Label(alpha_).right + 5, Middle(alpha_));
  EXPECT_TRUE(Expanded(alpha_));
  Click(WM_LBUTTONDBLCLK, Label(alpha_).right + 5, Middle(alpha_));
  EXPECT_FALSE(Expanded(alpha_));
}

TEST_F(FullRowTreeTest, SelectionBarReachesTheRightEdgeInFocusColours) {
  struct Case {
    bool focused;
    int bar, text;
  } cases[] = {{true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT}, {false, COLOR_BTNFACE, COLOR_BTNTEXT}};
  Select(beta_);
  for (const Case& c : cases) {
    SetFocus(c.focused ? tree_.Handle() : GetDlgItem(dialog_.Handle(), IDC_TEST_EDIT));
    UpdateWindow(tree_.Handle());
    Pump();
    auto canvas = Capture(tree_.Handle());
    const RECT label = Label(beta_);
    EXPECT_EQ(canvas->ColorAt(Right() - 2, label.top), GetSysColor(c.bar)) << c.focused;
    EXPECT_EQ(canvas->ColorAt(label.right + 3, label.bottom - 1), GetSysColor(c.bar));
    int textPixels = 0;
    for (int x = label.left; x < label.right; ++x) {
      for (int y = label.top; y < label.bottom; ++y) {
        textPixels += canvas->ColorAt(x, y) == GetSysColor(c.text);
      }
    }
    EXPECT_GT(textPixels, 0) << c.focused;
    // The row above is not touched.
    EXPECT_NE(canvas->ColorAt(Right() - 2, Label(alpha_).top), GetSysColor(c.bar));
  }
}

}  // namespace
}  // namespace orvalen

// Controls of the layer: made over placeholders, subclassed, hosted pages,
// the list view's comparator sorting, rich edit streaming, file dialogs.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "winapp/application_win.h"
#include "winapp/callback_guard_win.h"
#include "winapp/common_controls_win.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/control_win.h"
#include "winapp/dialog_win.h"
#include "winapp/handles_win.h"
#include "winapp/page_host_win.h"
#include "winapp/rich_edit_win.h"
#include "winapp_test_ids.h"
#include "winapp_test_win.h"

namespace orvalen {
namespace {

class PlainDialog : public Dialog {
 public:
  explicit PlainDialog(int templateId = IDD_TEST_DIALOG) : Dialog(templateId) {}
};

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_NE(dialog_.CreateModeless(nullptr), nullptr);
    ShowWindow(dialog_.Handle(), SW_SHOW);
  }
  HWND ItemWindow(int id) const { return dialog_.Item(id).Handle(); }

  PlainDialog dialog_;
};

// A control of a class of its own that keeps the font it is given.
class TestCustomControl : public CustomControl {
 protected:
  const char* ClassName() const override { return "OrvalenLayerTestControl"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_SETFONT: font_ = reinterpret_cast<HFONT>(wParam); return 0;
      case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
      default: return DefaultProcessing(message, wParam, lParam);
    }
  }

 private:
  HFONT font_ = nullptr;
};

TEST_F(ControlTest, ControlOverPlaceholderTakesRectangleFontIdAndTabPlace) {
  Font font(CreateFontA(-17, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
  struct Case {
    const char* what;
    bool custom;
    int id;  // -1: the placeholder's
  };
  const Case cases[] = {
      {"custom control, placeholder's id", true, -1},
      {"custom control, own id", true, 500},
      {"subclassed button, placeholder's id", false, -1},
      {"subclassed button, own id", false, 501},
  };
  for (const Case& c : cases) {
    PlainDialog dialog;
    ASSERT_NE(dialog.CreateModeless(nullptr), nullptr);
    WindowView placeholder = dialog.Item(IDC_TEST_PLACEHOLDER);
    placeholder.Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()));
    const RECT expected = placeholder.RectIn(dialog.Handle());
    HWND before = GetWindow(placeholder.Handle(), GW_HWNDPREV);

    TestCustomControl custom;
    SubclassedControl subclassed;
    const bool made = c.custom
        ? custom.CreateOver(dialog, IDC_TEST_PLACEHOLDER, "made", WS_VISIBLE | WS_TABSTOP, c.id)
        : subclassed.CreateOver(dialog, IDC_TEST_PLACEHOLDER, "BUTTON", WS_VISIBLE | WS_TABSTOP,
                                0, c.id);
    ASSERT_TRUE(made) << c.what;
    WindowView control = c.custom ? static_cast<WindowView>(custom) : subclassed;
    const int id = c.id == -1 ? IDC_TEST_PLACEHOLDER : c.id;

    EXPECT_EQ(control.Id(), id) << c.what;
    EXPECT_EQ(dialog.Item(id).Handle(), control.Handle()) << c.what;
    const RECT rect = control.RectIn(dialog.Handle());
    EXPECT_TRUE(EqualRect(&rect, &expected)) << c.what;
    EXPECT_EQ(control.Send(WM_GETFONT), reinterpret_cast<LRESULT>(font.Get())) << c.what;
    EXPECT_EQ(Control::FromHandle(control.Handle()),
              c.custom ? static_cast<Control*>(&custom) : &subclassed) << c.what;
    if (c.id == -1) {
      EXPECT_FALSE(IsWindow(placeholder.Handle())) << c.what;
      EXPECT_EQ(GetWindow(control.Handle(), GW_HWNDPREV), before) << c.what;
    } else {
      EXPECT_FALSE(placeholder.Visible()) << c.what;
      EXPECT_FALSE(placeholder.Enabled()) << c.what;
      EXPECT_EQ(GetWindow(control.Handle(), GW_HWNDPREV), placeholder.Handle()) << c.what;
    }
  }
}

TEST_F(ControlTest, MissingPlaceholderMakesNoControl) {
  TestCustomControl custom;
  SubclassedControl subclassed;
  EXPECT_FALSE(custom.CreateOver(dialog_, 4242, "", WS_VISIBLE));
  EXPECT_FALSE(subclassed.CreateOver(dialog_, 4242, "BUTTON", WS_VISIBLE));
  EXPECT_FALSE(custom);
  EXPECT_FALSE(subclassed);
}

// An edit that drops the letter x.
class NoXEdit : public SubclassedControl {
 protected:
  LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CHAR && wParam == 'x') return 0;
    return CallDefault(message, wParam, lParam);
  }
};

void Type(HWND window, const char* text) {
  for (const char* c = text; *c; ++c) SendMessageA(window, WM_CHAR, static_cast<WPARAM>(*c), 0);
}

TEST_F(ControlTest, SubclassLastsAsLongAsObjectAndWindow) {
  HWND edit = ItemWindow(IDC_TEST_EDIT);
  {
    NoXEdit filter;
    ASSERT_TRUE(filter.AttachItem(dialog_, IDC_TEST_EDIT));
    EXPECT_FALSE(filter.Attach(edit));  // once only
    Type(edit, "axb");
    EXPECT_EQ(WindowView(edit).Text(), "ab");
  }
  // The object went: the subclass and the reflection went with it.
  Type(edit, "x");
  EXPECT_EQ(WindowView(edit).Text(), "abx");
  EXPECT_EQ(Control::FromHandle(edit), nullptr);

  // The window goes first: the object lets go of it.
  NoXEdit filter;
  ASSERT_TRUE(filter.AttachItem(dialog_, IDC_TEST_EDIT));
  DestroyWindow(edit);
  EXPECT_FALSE(filter);
}

class TestPage : public Dialog {
 public:
  explicit TestPage(int templateId = IDD_TEST_PAGE) : Dialog(templateId) {}
};

TEST_F(ControlTest, PageHostShowsExactlyOnePageOverThePlaceholder) {
  PageHost host(dialog_, IDC_TEST_PAGE_AREA);
  TestPage pages[3];
  for (TestPage& page : pages) ASSERT_TRUE(host.Add(page));
  TestPage popup(IDD_TEST_POPUP_PAGE);
  EXPECT_FALSE(host.Add(popup));
  EXPECT_EQ(popup.Handle(), nullptr);
  ASSERT_EQ(host.Count(), 3u);
  EXPECT_EQ(host.Current(), std::nullopt);
  for (const TestPage& page : pages) EXPECT_FALSE(page.Visible());

  const RECT area = dialog_.Item(IDC_TEST_PAGE_AREA).RectIn(dialog_.Handle());
  for (size_t shown : {2u, 0u, 1u}) {
    ASSERT_TRUE(host.Show(shown));
    EXPECT_EQ(host.Current(), shown);
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(pages[i].Visible(), i == shown) << "page " << i << " with " << shown << " shown";
      const RECT rect = pages[i].RectIn(dialog_.Handle());
      EXPECT_TRUE(EqualRect(&rect, &area)) << "page " << i;
      EXPECT_EQ(GetParent(pages[i].Handle()), dialog_.Handle());
    }
  }
  EXPECT_FALSE(host.Show(3));
  EXPECT_EQ(host.Current(), 1u);
  EXPECT_TRUE(pages[1].Visible());
  EXPECT_EQ(&host.Page(2), &pages[2]);
}

class ByText : public ListViewComparator {
 public:
  ByText(const ListView& list, int column, bool descending)
      : list_(list), column_(column), descending_(descending) {}
  int throwAtCall = 0;
  int Compare(int index1, int index2) override {
    if (++calls_ == throwAtCall) throw std::runtime_error("comparison failed");
    const int order = list_.ItemText(index1, column_).compare(list_.ItemText(index2, column_));
    return descending_ ? -order : order;
  }

 private:
  const ListView& list_;
  int column_;
  bool descending_;
  int calls_ = 0;
};

std::vector<std::string> Column(const ListView& list, int column) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count(); ++i) texts.push_back(list.ItemText(i, column));
  return texts;
}

TEST_F(ControlTest, ListViewSortsThroughTheComparator) {
  ListView list(ItemWindow(IDC_TEST_LIST));
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(list.ExtendedStyle() & LVS_EX_FULLROWSELECT);
  ASSERT_TRUE(list.InsertColumn(0, "Name", 80));
  ASSERT_TRUE(list.InsertColumn(1, "Size", 40, LVCFMT_RIGHT));
  EXPECT_EQ(list.ColumnCount(), 2);
  const char* names[] = {"delta", "alpha", "echo", "charlie", "bravo"};
  const char* sizes[] = {"4", "1", "5", "3", "2"};
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(list.InsertItem(i, names[i], i), i);
    ASSERT_TRUE(list.SetItemText(i, 1, sizes[i]));
  }
  list.SetSelected(3, true);  // "charlie"

  struct Case {
    int column;
    bool descending;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {0, false, {"alpha", "bravo", "charlie", "delta", "echo"}},
      {1, true, {"echo", "delta", "charlie", "bravo", "alpha"}},
  };
  for (const Case& c : cases) {
    ByText comparator(list, c.column, c.descending);
    ASSERT_TRUE(list.SortItemsEx(comparator));
    EXPECT_EQ(Column(list, 0), c.names);
    // Texts, data and selection move with their items.
    for (int i = 0; i < list.Count(); ++i) {
      EXPECT_EQ(list.ItemText(i, 1), sizes[list.ItemData(i)]);
      EXPECT_EQ(list.Selected(i), list.ItemText(i, 0) == "charlie");
    }
  }
  EXPECT_EQ(list.NextSelected(), 2);
  EXPECT_EQ(list.SelectedCount(), 1);

  // A comparator that throws leaves the list as it was.
  const long failuresBefore = GuardedCallbackFailures();
  ByText failing(list, 0, false);
  failing.throwAtCall = 3;
  EXPECT_FALSE(list.SortItemsEx(failing));
  EXPECT_EQ(GuardedCallbackFailures(), failuresBefore + 1);
  EXPECT_EQ(Column(list, 0), cases[1].names);
}

TEST_F(ControlTest, TreeViewAndTrackbarWrappersReadBackWhatTheySet) {
  HWND treeWindow = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_SHOWSELALWAYS,
                                    0, 0, 150, 120, dialog_.Handle(), nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
  TreeView tree(treeWindow);
  ImageList images(ImageList_Create(16, 16, ILC_COLOR24, 2, 0));
  EXPECT_EQ(tree.SetImageList(images.Get()), nullptr);
  HTREEITEM first = tree.Insert(TVI_ROOT, "Images", 0, 0, TVI_LAST, 10);
  HTREEITEM second = tree.Insert(TVI_ROOT, "Options", 1, 1, TVI_LAST, 11);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(tree.Root(), first);
  EXPECT_EQ(tree.Sibling(first), second);
  EXPECT_TRUE(tree.Select(second));
  EXPECT_EQ(tree.Selection(), second);
  EXPECT_EQ(tree.ItemText(second), "Options");
  EXPECT_EQ(tree.ItemText(second, 3), "Opt");
  EXPECT_EQ(tree.ItemData(first), 10);
  RECT label{};
  ASSERT_TRUE(tree.ItemRect(second, true, label));
  const TreeView::Hit hit = tree.HitTest({label.left + 2, (label.top + label.bottom) / 2});
  EXPECT_EQ(hit.item, second);
  EXPECT_TRUE(hit.flags & TVHT_ONITEMLABEL);
  DestroyWindow(treeWindow);

  Trackbar slider(ItemWindow(IDC_TEST_SLIDER));
  slider.SetRange(-50, 150);
  slider.SetPageSize(25);
  slider.SetPosition(400);  // clamped to the range
  EXPECT_EQ(slider.Minimum(), -50);
  EXPECT_EQ(slider.Maximum(), 150);
  EXPECT_EQ(slider.PageSize(), 25);
  EXPECT_EQ(slider.Position(), 150);
}

TEST_F(ControlTest, ViewReadsNumbersAndEditKeepsItsLimit) {
  Edit edit(ItemWindow(IDC_TEST_EDIT));
  struct Case {
    const char* text;
    int value;
    bool number;
  };
  for (const Case& c : {Case{" -12 ", -12, true}, Case{"abc", 0, false}, Case{"", 0, false}}) {
    edit.SetText(c.text);
    EXPECT_EQ(edit.Int(), c.value) << c.text;
    EXPECT_EQ(edit.ReadInt().has_value(), c.number) << c.text;
  }
  edit.SetInt(-2147483647 - 1);
  EXPECT_EQ(edit.Text(), "-2147483648");
  edit.SetLimit(5);
  EXPECT_EQ(edit.Limit(), 5);
  edit.SetText("");
  Type(edit.Handle(), "1234567");
  EXPECT_EQ(edit.Text(), "12345");
  edit.SetSelection(1, 3);
  EXPECT_EQ(edit.Selection(), std::make_pair(1, 3));
  edit.ReplaceSelection("x");
  EXPECT_EQ(edit.Text(), "1x45");
}

TEST_F(ControlTest, RichEditStreamsStringsInAndOut) {
  ASSERT_TRUE(RichEdit::EnsureModule());
  HWND window = CreateWindowExA(0, RichEdit::kClassName, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE,
                                0, 0, 200, 100, dialog_.Handle(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  RichEdit edit(window);
  ASSERT_TRUE(edit.StreamIn("{\\rtf1\\ansi {\\b Bold} and plain}"));
  EXPECT_EQ(edit.Text(), "Bold and plain");
  const std::optional<std::string> text = edit.StreamOut(SF_TEXT);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->substr(0, 14), "Bold and plain");
  const std::optional<std::string> rtf = edit.StreamOut(SF_RTF);
  ASSERT_TRUE(rtf.has_value());
  EXPECT_EQ(rtf->rfind("{\\rtf", 0), 0u);

  ASSERT_TRUE(edit.StreamIn("Plain text", SF_TEXT));
  EXPECT_EQ(edit.Text(), "Plain text");
  DestroyWindow(window);
}

// Chooses files by typing them into the dialog's name field once it is ready.
class TypingFileDialog : public FileDialog {
 public:
  std::string typed;
  HWND child = nullptr;
  bool childLabelFound = false;

 protected:
  bool OnHookInit(HWND childWindow) override {
    child = childWindow;
    childLabelFound = GetDlgItem(childWindow, IDC_FILE_CHILD_LABEL) != nullptr;
    return true;
  }
  std::optional<LRESULT> OnHookNotify(const OFNOTIFYA& notify) override {
    if (notify.hdr.code == CDN_INITDONE) {
      SetDlgItemTextA(DialogWindow(), 0x47C, typed.c_str());
      PostMessageA(DialogWindow(), WM_COMMAND, IDOK, 0);
    }
    return std::nullopt;
  }
};

TEST(FileDialog, ChildTemplateHookAndChosenPaths) {
  TestApplication();
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  std::string base = std::string(folder) + "orvalen_layer_test";
  CreateDirectoryA(base.c_str(), nullptr);
  for (const char* name : {"a.txt", "b c.txt"}) std::ofstream(base + "\\" + name) << "x";

  struct Case {
    const char* what;
    std::string typed;
    DWORD flags;
    std::vector<std::string> paths;
  };
  const Case cases[] = {
      {"one file", base + "\\a.txt", OFN_FILEMUSTEXIST, {base + "\\a.txt"}},
      {"two files", "\"a.txt\" \"b c.txt\"", OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT,
       {base + "\\a.txt", base + "\\b c.txt"}},
  };
  for (const Case& c : cases) {
    TypingFileDialog dialog;
    dialog.typed = c.typed;
    dialog.SetFilter("Texts (*.txt)|*.txt|All files|*.*");
    dialog.SetInitialFolder(base);
    dialog.SetFlags(c.flags);
    dialog.SetBufferSize(4096);
    dialog.SetChildTemplate(IDD_TEST_FILE_CHILD);
    ASSERT_TRUE(dialog.ShowOpen(nullptr)) << c.what << ", error " << dialog.Error();
    EXPECT_TRUE(dialog.childLabelFound) << c.what;
    std::vector<std::string> paths = dialog.Paths();
    for (std::string& path : paths) {
      // The dialog may give the folder in its long or short form.
      char longPath[MAX_PATH];
      if (GetLongPathNameA(path.c_str(), longPath, MAX_PATH)) path = longPath;
    }
    std::vector<std::string> expected = c.paths;
    for (std::string& path : expected) {
      char longPath[MAX_PATH];
      if (GetLongPathNameA(path.c_str(), longPath, MAX_PATH)) path = longPath;
    }
    EXPECT_EQ(paths, expected) << c.what;
  }
}

}  // namespace
}  // namespace orvalen

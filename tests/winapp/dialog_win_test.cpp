// Dialogs and windows of the layer: dispatch to members, guarded callbacks,
// reflection to control objects, and the dialog keys of modeless dialogs.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "winapp/application_win.h"
#include "winapp/callback_guard_win.h"
#include "winapp/common_controls_win.h"
#include "winapp/control_win.h"
#include "winapp/dialog_win.h"
#include "winapp/window_win.h"
#include "winapp_test_ids.h"
#include "winapp_test_win.h"

namespace orvalen {
namespace {

constexpr UINT kAnsweredNotification = 0x7000;  // an application-defined code

class RecordingDialog : public Dialog {
 public:
  RecordingDialog() : Dialog(IDD_TEST_DIALOG) {}

  struct Command {
    int id;
    int code;
    HWND control;
  };
  std::vector<Command> commands;
  std::vector<UINT> notifications;
  std::vector<UINT_PTR> timers;
  std::vector<std::vector<std::string>> drops;
  std::vector<UINT> offered;  // what reached HandleMessage
  std::optional<SIZE> size;
  int minTrackWidth = 0;
  int throwingCommand = 0;
  bool throwOnNotify = false;

 protected:
  bool OnCommand(int id, int code, HWND control) override {
    if (id == throwingCommand) throw std::runtime_error("command handler failed");
    commands.push_back({id, code, control});
    return true;
  }
  std::optional<LRESULT> OnNotify(const NMHDR& header) override {
    if (throwOnNotify) throw std::bad_alloc();
    notifications.push_back(header.code);
    if (header.code == kAnsweredNotification) return 42;
    return std::nullopt;
  }
  bool OnTimer(UINT_PTR id) override {
    KillTimer(Handle(), id);
    timers.push_back(id);
    return true;
  }
  bool OnDropFiles(DropHandle files) override {
    drops.push_back(files.Paths());
    return true;
  }
  bool OnSize(UINT, int width, int height) override {
    size = SIZE{width, height};
    return true;
  }
  bool OnGetMinMaxInfo(MINMAXINFO& info) override {
    if (minTrackWidth == 0) return false;
    info.ptMinTrackSize.x = minTrackWidth;
    return true;
  }
  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM, LPARAM) override {
    offered.push_back(message);
    return std::nullopt;
  }
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_NE(dialog_.CreateModeless(nullptr), nullptr);
    ShowWindow(dialog_.Handle(), SW_SHOW);
    SetForegroundWindow(dialog_.Handle());
    PumpMessages();
  }

  HWND ItemWindow(int id) const { return dialog_.Item(id).Handle(); }

  RecordingDialog dialog_;
};

// A packed list of dropped files, as the shell hands it over.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& path : paths) size += path.size() + 1;
  HGLOBAL block = GlobalAlloc(GHND, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  char* out = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
  for (const std::string& path : paths) {
    std::memcpy(out, path.c_str(), path.size() + 1);
    out += path.size() + 1;
  }
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

bool Recorded(const RecordingDialog& dialog, int id, int code, HWND control) {
  return std::any_of(dialog.commands.begin(), dialog.commands.end(), [&](const auto& command) {
    return command.id == id && command.code == code && command.control == control;
  });
}

TEST_F(DialogTest, CommandsAndNotificationsReachTheirMembers) {
  struct Case {
    const char* what;
    int id;
    int code;
    void (*act)(HWND control);
  };
  const Case cases[] = {
      {"button click", IDC_TEST_FIRST, BN_CLICKED,
       [](HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }},
      {"edit change", IDC_TEST_EDIT, EN_CHANGE,
       [](HWND control) { SetWindowTextA(control, "typed"); }},
  };
  for (const Case& c : cases) {
    dialog_.commands.clear();
    c.act(ItemWindow(c.id));
    EXPECT_TRUE(Recorded(dialog_, c.id, c.code, ItemWindow(c.id))) << c.what;
  }

  // A real notification of a list view, and one whose answer the member gives.
  ListView list(ItemWindow(IDC_TEST_LIST));
  list.InsertColumn(0, "Name", 80);
  list.InsertItem(0, "item");
  list.SetSelected(0, true);
  EXPECT_NE(std::find(dialog_.notifications.begin(), dialog_.notifications.end(),
                      static_cast<UINT>(LVN_ITEMCHANGED)),
            dialog_.notifications.end());
  NMHDR header{ItemWindow(IDC_TEST_LIST), IDC_TEST_LIST, kAnsweredNotification};
  EXPECT_EQ(SendMessageA(dialog_.Handle(), WM_NOTIFY, IDC_TEST_LIST,
                         reinterpret_cast<LPARAM>(&header)),
            42);
}

TEST_F(DialogTest, TimersDropsAndSizesReachTheirMembers) {
  SetTimer(dialog_.Handle(), 7, 1, nullptr);
  for (int i = 0; i < 40 && dialog_.timers.empty(); ++i) PumpMessages(10);
  EXPECT_EQ(dialog_.timers, std::vector<UINT_PTR>{7});

  const std::vector<std::string> dropped = {"C:\\Pictures\\a.bmp", "C:\\Pictures\\b c.jpg"};
  SendMessageA(dialog_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(dropped)), 0);
  ASSERT_EQ(dialog_.drops.size(), 1u);
  EXPECT_EQ(dialog_.drops[0], dropped);

  SetWindowPos(dialog_.Handle(), nullptr, 0, 0, 420, 300, SWP_NOMOVE | SWP_NOZORDER);
  const RECT client = dialog_.ClientRect();
  ASSERT_TRUE(dialog_.size.has_value());
  EXPECT_EQ(dialog_.size->cx, client.right);
  EXPECT_EQ(dialog_.size->cy, client.bottom);

  // The member's minimum applies to the next size change.
  dialog_.minTrackWidth = 380;
  SetWindowPos(dialog_.Handle(), nullptr, 0, 0, 200, 300, SWP_NOMOVE | SWP_NOZORDER);
  RECT window{};
  GetWindowRect(dialog_.Handle(), &window);
  EXPECT_EQ(window.right - window.left, 380);
}

TEST_F(DialogTest, AThrowingHandlerLeavesTheDialogWorking) {
  const long failuresBefore = GuardedCallbackFailures();
  dialog_.throwingCommand = IDC_TEST_FIRST;
  SendMessageA(ItemWindow(IDC_TEST_FIRST), BM_CLICK, 0, 0);
  dialog_.throwOnNotify = true;
  NMHDR header{ItemWindow(IDC_TEST_LIST), IDC_TEST_LIST, kAnsweredNotification};
  SendMessageA(dialog_.Handle(), WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(GuardedCallbackFailures(), failuresBefore + 2);
  ASSERT_TRUE(IsWindow(dialog_.Handle()));

  // The next messages are handled as before.
  dialog_.throwOnNotify = false;
  SendMessageA(ItemWindow(IDC_TEST_SECOND), BM_CLICK, 0, 0);
  EXPECT_FALSE(Recorded(dialog_, IDC_TEST_FIRST, BN_CLICKED, ItemWindow(IDC_TEST_FIRST)));
  EXPECT_TRUE(Recorded(dialog_, IDC_TEST_SECOND, BN_CLICKED, ItemWindow(IDC_TEST_SECOND)));
  EXPECT_EQ(SendMessageA(dialog_.Handle(), WM_NOTIFY, IDC_TEST_LIST,
                         reinterpret_cast<LPARAM>(&header)),
            42);
}

// A control object that answers for the child it is attached to.
class AnsweringControl : public SubclassedControl {
 public:
  HBRUSH brush = nullptr;
  bool answerScroll = true;
  std::vector<int> scrollCodes;

  std::optional<LRESULT> OnReflected(UINT message, WPARAM wParam, LPARAM) override {
    if (message == WM_CTLCOLORSTATIC && brush) return reinterpret_cast<LRESULT>(brush);
    if (message == WM_HSCROLL) {
      scrollCodes.push_back(LOWORD(wParam));
      if (answerScroll) return 0;
    }
    return std::nullopt;
  }
};

TEST_F(DialogTest, ChildMessagesReachTheControlObjectFirst) {
  AnsweringControl colouredStatic;
  colouredStatic.brush = GetSysColorBrush(COLOR_HIGHLIGHT);
  ASSERT_TRUE(colouredStatic.AttachItem(dialog_, IDC_TEST_STATIC));
  AnsweringControl slider;
  ASSERT_TRUE(slider.AttachItem(dialog_, IDC_TEST_SLIDER));
  HDC dc = GetDC(dialog_.Handle());

  struct Case {
    const char* what;
    HWND child;
    bool answerScroll;
    bool offeredToDialog;
  };
  const Case cases[] = {
      {"static with an object", ItemWindow(IDC_TEST_STATIC), true, false},
      {"static without an object", ItemWindow(IDC_TEST_OTHER_STATIC), true, true},
  };
  for (const Case& c : cases) {
    dialog_.offered.clear();
    const LRESULT brush =
        SendMessageA(dialog_.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(c.child));
    EXPECT_EQ(brush == reinterpret_cast<LRESULT>(colouredStatic.brush), !c.offeredToDialog)
        << c.what;
    EXPECT_EQ(dialog_.offered == std::vector<UINT>{WM_CTLCOLORSTATIC}, c.offeredToDialog) << c.what;
  }
  ReleaseDC(dialog_.Handle(), dc);

  // The trackbar's own scroll notice, answered by the object or passed on.
  for (bool answer : {true, false}) {
    dialog_.offered.clear();
    slider.answerScroll = answer;
    slider.scrollCodes.clear();
    SendMessageA(slider.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_NE(std::find(slider.scrollCodes.begin(), slider.scrollCodes.end(), TB_LINEDOWN),
              slider.scrollCodes.end());
    const bool offered = std::find(dialog_.offered.begin(), dialog_.offered.end(),
                                   static_cast<UINT>(WM_HSCROLL)) != dialog_.offered.end();
    EXPECT_EQ(offered, !answer);
  }
}

TEST_F(DialogTest, ModelessDialogGetsTabFromTheMessageLoopPath) {
  struct Case {
    const char* path;
    bool throughApplication;
    int focusAfter;
  };
  const Case cases[] = {
      {"application", true, IDC_TEST_SECOND},
      {"plain dispatch", false, IDC_TEST_FIRST},
  };
  for (const Case& c : cases) {
    SetFocus(ItemWindow(IDC_TEST_FIRST));
    ASSERT_EQ(GetFocus(), ItemWindow(IDC_TEST_FIRST)) << c.path;
    PostMessageA(ItemWindow(IDC_TEST_FIRST), WM_KEYDOWN, VK_TAB, 0);
    if (c.throughApplication) {
      PumpMessages();
    } else {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    EXPECT_EQ(GetFocus(), ItemWindow(c.focusAfter)) << c.path;
  }
}

// A modal dialog that, from its own loop, presses Tab in another window.
class TabPressingDialog : public Dialog {
 public:
  TabPressingDialog(HWND from) : Dialog("NAMED_TEST_DIALOG"), from_(from) {}
  HWND focusAfterTab = nullptr;

 protected:
  bool OnInit() override {
    SetTimer(Handle(), 1, 20, nullptr);
    return true;
  }
  bool OnTimer(UINT_PTR) override {
    if (step_++ == 0) {
      SetFocus(from_);
      PostMessageA(from_, WM_KEYDOWN, VK_TAB, 0);
    } else {
      focusAfterTab = GetFocus();
      KillTimer(Handle(), 1);
      End(IDOK);
    }
    return true;
  }

 private:
  HWND from_;
  int step_ = 0;
};

TEST_F(DialogTest, ModelessDialogGetsTabWhileAModalDialogRuns) {
  TabPressingDialog modal(ItemWindow(IDC_TEST_FIRST));
  EXPECT_EQ(modal.RunModal(nullptr), IDOK);
  EXPECT_EQ(modal.focusAfterTab, ItemWindow(IDC_TEST_SECOND));
}

TEST(DialogTemplates, NamedTemplateRunsAndEndsWithItsResult) {
  TestApplication();
  class Ending : public Dialog {
   public:
    Ending() : Dialog("NAMED_TEST_DIALOG") {}

   protected:
    bool OnInit() override {
      PostMessageA(Handle(), WM_COMMAND, IDCANCEL, 0);
      return true;
    }
  } dialog;
  EXPECT_EQ(dialog.RunModal(nullptr), IDCANCEL);
  EXPECT_EQ(dialog.Handle(), nullptr);

  class Missing : public Dialog {
   public:
    Missing() : Dialog(9999) {}
  } missing;
  EXPECT_EQ(missing.RunModal(nullptr), -1);
  EXPECT_EQ(missing.CreateModeless(nullptr), nullptr);
}

// A window class of the test with the layer's trampoline as its procedure.
class TestWindow : public Window {
 public:
  static constexpr const char* kClass = "OrvalenLayerTestWindow";
  static bool Register() { return RegisterClassOnce(kClass, nullptr); }
  bool Create() {
    return Register() && CreateOwnedWindow(0, kClass, "test", WS_POPUP, 0, 0, 50, 50, nullptr);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER + 1) throw std::runtime_error("window handler failed");
    if (message == WM_USER + 2) return 7;
    return DefaultProcessing(message, wParam, lParam);
  }
};

TEST(WindowTrampoline, WindowWithoutObjectGetsDefaultProcessing) {
  ASSERT_TRUE(TestWindow::Register());
  HWND window = CreateWindowExA(0, TestWindow::kClass, "made elsewhere", WS_POPUP, 0, 0, 50, 50,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowView(window).Text(), "made elsewhere");
  EXPECT_EQ(SendMessageA(window, WM_USER + 2, 0, 0), 0);  // no object: DefWindowProc's 0
  WindowView(window).SetText("changed");
  EXPECT_EQ(WindowView(window).Text(), "changed");
  EXPECT_TRUE(DestroyWindow(window));
}

TEST(WindowTrampoline, AThrowingHandlerLeavesTheWindowWorking) {
  TestWindow window;
  ASSERT_TRUE(window.Create());
  const long failuresBefore = GuardedCallbackFailures();
  EXPECT_EQ(SendMessageA(window.Handle(), WM_USER + 1, 0, 0), 0);
  EXPECT_EQ(GuardedCallbackFailures(), failuresBefore + 1);
  ASSERT_TRUE(IsWindow(window.Handle()));
  EXPECT_EQ(SendMessageA(window.Handle(), WM_USER + 2, 0, 0), 7);

  // Destroyed from outside, the object lets go of the handle.
  DestroyWindow(window.Handle());
  EXPECT_EQ(window.Handle(), nullptr);
}

}  // namespace
}  // namespace orvalen

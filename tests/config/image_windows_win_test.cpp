// The images page's preview and text windows on their own: what they load,
// show and send back to their owner.
#include "config/image_windows_win.h"
#include "config/x_file_open_dialog_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <string>
#include <vector>

#include "config/command_ids.h"
#include "resources/resource_ids.h"
#include "tests/config/config_files_win_helpers.h"

namespace orvalen {
namespace {

using config_test::GreyBitmap;
using config_test::WriteFile;

std::string TempFolder() { return config_test::TempFolder("orvalen_image_windows_test"); }

// A plain window standing in for the page: it records the commands it gets.
class Owner {
 public:
  Owner() {
    WNDCLASSA type{};
    type.lpfnWndProc = &Procedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "OrvalenTestOwner";
    RegisterClassA(&type);
    window_ = CreateWindowA("OrvalenTestOwner", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    commands_.clear();
  }
  ~Owner() { DestroyWindow(window_); }
  HWND Handle() const { return window_; }
  static std::vector<int>& Commands() { return commands_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) commands_.push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  static inline std::vector<int> commands_;
  HWND window_ = nullptr;
};

TEST(ImagePreview, LoadsOnlyNewNamesAndKeepsThePictureWhenTheFileIsGone) {
  const std::string folder = TempFolder();
  WriteFile(folder + "one.bmp", GreyBitmap(40, 0x7f));
  WriteFile(folder + "two.bmp", GreyBitmap(8, 0x20));
  WriteFile(folder + "bad.bmp", "not a picture");
  Owner owner;
  TImagePreview preview;
  ASSERT_TRUE(preview.Create(owner.Handle(), "Preview"));
  const LONG style = GetWindowLongA(preview.Handle(), GWL_STYLE);
  const LONG wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                      WS_MAXIMIZEBOX;
  EXPECT_EQ(style & wanted, wanted);
  EXPECT_FALSE(IsWindowVisible(preview.Handle()));
  RECT frame{};
  GetWindowRect(preview.Handle(), &frame);
  EXPECT_EQ(frame.left, 100);
  EXPECT_EQ(frame.top, 100);
  EXPECT_EQ(frame.right - frame.left, 200);

  struct Case { std::string path; bool loaded; bool hasImage; std::string current; };
  const Case cases[] = {
      {"", false, false, ""},                         // sorts before thirteen blanks
      {folder + "one.bmp", true, true, folder + "one.bmp"},
      {folder + "one.bmp", false, true, folder + "one.bmp"},  // the same name: no reload
      {folder + "gone.bmp", false, true, folder + "gone.bmp"},  // the picture stays
      {folder + "gone.bmp", false, true, folder + "gone.bmp"},
      {folder + "bad.bmp", false, false, folder + "bad.bmp"},   // no picture: empty
      {folder + "two.bmp", true, true, folder + "two.bmp"},
      {folder + "one.bmp", true, true, folder + "one.bmp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(preview.LoadImage(c.path), c.loaded);
    EXPECT_EQ(preview.HasImage(), c.hasImage);
    EXPECT_EQ(preview.CurrentName(), c.current);
  }

  // The picture is drawn, fitted and not enlarged, in the middle of the window.
  preview.Show(true);
  UpdateWindow(preview.Handle());
  const RECT client = preview.ClientRect();
  HDC dc = GetDC(preview.Handle());
  const COLORREF middle = GetPixel(dc, client.right / 2, client.bottom / 2);
  const COLORREF outside = GetPixel(dc, client.right / 2, client.bottom / 2 - 30);
  ReleaseDC(preview.Handle(), dc);
  EXPECT_EQ(middle, RGB(0x7f, 0x7f, 0x7f));
  EXPECT_NE(outside, RGB(0x7f, 0x7f, 0x7f));

  // Closing only hides it and tells the owner.
  SendMessageA(preview.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(preview.Handle()));
  EXPECT_FALSE(IsWindowVisible(preview.Handle()));
  EXPECT_EQ(Owner::Commands(), std::vector<int>{CM_PREVIEW_CLOSED});
}

TEST(ImageText, ShowsLineBreaksAndAppliesTheStoredForm) {
  Owner owner;
  TImageText text;
  ASSERT_NE(text.Create(owner.Handle()), nullptr);
  EXPECT_FALSE(IsWindowVisible(text.Handle()));
  HWND edit = GetDlgItem(text.Handle(), IDC_IMAGE_TEXT_EDIT);
  auto windowText = [](HWND window) {
    char buffer[1200] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer);
  };
  text.SetText("lake.jpg", "one\x14\x15two");
  EXPECT_EQ(windowText(text.Handle()), "Image: lake.jpg");
  EXPECT_EQ(windowText(edit), "one\r\ntwo");

  struct Case { std::string typed; std::string stored; };
  const Case cases[] = {
      {"a\tb", "a b"},
      {"line\r\nbreak", "line\x14\x15" "break"},
      {std::string(1200, 'x'), std::string(999, 'x')},  // the edit takes 999 at most
  };
  for (const Case& c : cases) {
    SetWindowTextA(edit, c.typed.c_str());
    Owner::Commands().clear();
    SendMessageA(text.Handle(), WM_COMMAND, MAKEWPARAM(IDC_IMAGE_TEXT_APPLY, BN_CLICKED), 0);
    EXPECT_EQ(text.Buffer(), c.stored);
    EXPECT_EQ(Owner::Commands(), std::vector<int>{CM_TEXT_APPLY});
  }

  text.Show(true);
  Owner::Commands().clear();
  SendMessageA(text.Handle(), WM_CLOSE, 0, 0);  // posts IDCANCEL
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_TRUE(IsWindow(text.Handle()));
  EXPECT_FALSE(IsWindowVisible(text.Handle()));
  EXPECT_EQ(Owner::Commands(), std::vector<int>{CM_TEXT_CLOSED});
}

// The open dialog of this process with the preview template, or null.
struct OpenDialogSearch { HWND found; };

BOOL CALLBACK MatchOpenDialog(HWND window, LPARAM data) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
      std::string(caption) == "Open" && GetDlgItem(window, 0x47C)) {
    reinterpret_cast<OpenDialogSearch*>(data)->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindOpenDialog() {
  OpenDialogSearch search{nullptr};
  EnumWindows(&MatchOpenDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(XFileOpenDialog, PreviewsTheSelectedFileLeftOfTheStandardControls) {
  const std::string folder = TempFolder();
  WriteFile(folder + "one.bmp", GreyBitmap(40, 0x7f));
  WriteFile(folder + "bad.bmp", "not a picture");
  TXFileOpenDialog dialog;
  dialog.SetInitialFolder(folder);
  dialog.SetFilter("All files (*.*)|*.*|");

  // A name typed into the dialog's name box, as a click in its list puts it.
  // The middle of the area shows the picture or the shadow colour around it.
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF grey = RGB(0x7f, 0x7f, 0x7f);
  struct Step {
    std::string typed;
    bool previewOn, hasImage;
    std::string pathEdit;
    COLORREF middle;
  };
  const std::vector<Step> steps = {
      {"one.bmp", true, true, folder + "one.bmp", grey},
      {"bad.bmp", true, false, folder + "bad.bmp", shadow},
      {"one.bmp", false, false, folder + "one.bmp", shadow},  // preview off
  };
  std::vector<bool> seenImage;
  std::vector<std::string> seenPath;
  std::vector<COLORREF> seenMiddle;
  COLORREF seenEdge = CLR_INVALID;
  std::string sharingCaption, sharingText;
  bool initiallyChecked = false;
  bool areaLeftOfControls = false;
  std::thread user([&] {
    HWND open = nullptr;
    for (int i = 0; i < 500 && !open; ++i) {
      open = FindOpenDialog();
      if (!open) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!open) return;
    HWND child = nullptr;
    for (HWND c = FindWindowExA(open, nullptr, "#32770", nullptr); c;
         c = FindWindowExA(open, c, "#32770", nullptr)) {
      if (GetDlgItem(c, IDC_XOPEN_AREA)) child = c;
    }
    if (child) {
      initiallyChecked = IsDlgButtonChecked(child, IDC_XOPEN_PREVIEW) == BST_CHECKED;
      RECT area{}, name{};
      GetWindowRect(GetDlgItem(child, IDC_XOPEN_AREA), &area);
      GetWindowRect(GetDlgItem(open, 0x47C), &name);
      areaLeftOfControls = area.right <= name.left;
      for (const Step& step : steps) {
        CheckDlgButton(child, IDC_XOPEN_PREVIEW, step.previewOn ? BST_CHECKED : BST_UNCHECKED);
        SendMessageA(GetDlgItem(open, 0x47C), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(step.typed.c_str()));
        OFNOTIFYA notify{};
        notify.hdr.hwndFrom = open;
        notify.hdr.code = CDN_SELCHANGE;
        SendMessageA(child, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
        seenImage.push_back(dialog.HasPreviewImage());
        char path[MAX_PATH] = {};
        GetDlgItemTextA(child, IDC_XOPEN_PATH, path, sizeof path);
        seenPath.push_back(path);
        UpdateWindow(child);
        MapWindowPoints(nullptr, child, reinterpret_cast<POINT*>(&area), 2);
        HDC dc = GetDC(child);
        seenMiddle.push_back(GetPixel(dc, (area.left + area.right) / 2, (area.top + area.bottom) / 2));
        // The area is wider than high: a square picture leaves its sides to the shadow.
        if (seenMiddle.size() == 1) seenEdge = GetPixel(dc, area.left + 6, (area.top + area.bottom) / 2);
        ReleaseDC(child, dc);
        MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&area), 2);
      }
      // A sharing violation is only reported; the dialog stays.
      static OFNOTIFYA sharing{};
      sharing.hdr.hwndFrom = open;
      sharing.hdr.code = CDN_SHAREVIOLATION;
      PostMessageA(child, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&sharing));
      HWND box = nullptr;
      for (int i = 0; i < 250 && !box; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        box = FindWindowA("#32770", "ComDlg32 Test");
      }
      if (box) {
        char text[128] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        sharingCaption = "ComDlg32 Test";
        sharingText = text;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        for (int i = 0; i < 250 && IsWindow(box); ++i) {
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
      }
    }
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  dialog.ShowOpen(nullptr);
  user.join();
  EXPECT_TRUE(initiallyChecked);
  EXPECT_TRUE(areaLeftOfControls);
  ASSERT_EQ(seenImage.size(), steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(seenImage[i], steps[i].hasImage) << steps[i].typed;
    EXPECT_EQ(seenPath[i], steps[i].pathEdit) << steps[i].typed;
    EXPECT_EQ(seenMiddle[i], steps[i].middle) << steps[i].typed;
  }
  EXPECT_EQ(seenEdge, shadow);
  EXPECT_EQ(sharingCaption, "ComDlg32 Test");
  EXPECT_EQ(sharingText, "Got a sharing violation notify.");
}

}  // namespace
}  // namespace orvalen

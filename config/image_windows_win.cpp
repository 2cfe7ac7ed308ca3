#include "config/image_windows_win.h"

#include "base/geometry.h"
#include "config/command_ids.h"
#include "config/image_columns.h"
#include "imaging/fit.h"
#include "imaging/median_cut_win.h"
#include "resources/resource_ids.h"
#include "saver/settings.h"
#include "winapp/file_system_win.h"

namespace orvalen {
namespace {

constexpr size_t kNameChars = 259;
constexpr int kTextChars = 999;

bool TrueColourDisplay(HDC dc) { return GetDeviceCaps(dc, NUMCOLORS) == -1; }

}  // namespace

bool TImagePreview::Create(HWND owner, const char* caption) {
  owner_ = owner;
  return FrameWindow::Create(owner, caption,
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                 WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                             0, 100, 100, 200, 200);
}

void TImagePreview::OnSetup() {
  WindowDC screen(Handle());
  trueColour_ = TrueColourDisplay(screen.Get());
  HICON icon = static_cast<HICON>(::LoadImageA(GetModuleHandleA(nullptr),
                                               MAKEINTRESOURCEA(IDI_PROGRAM),
                                               IMAGE_ICON, 16, 16, LR_SHARED));
  if (icon) Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool TImagePreview::LoadImage(const std::string& path) {
  if (lstrcmpA(path.c_str(), "             ") < 0 || path == currentName_) return false;
  currentName_ = path.substr(0, kNameChars);
  if (!FileExists(path)) return false;
  loadFailed_ = false;
  palette_.Reset();
  image_.reset();
  auto image = std::make_unique<TExtendedDib>(path.c_str());
  if (!LastLoadSucceeded()) {
    loadFailed_ = true;
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
    return false;
  }
  if (!trueColour_) palette_.Reset(BuildDisplayPalette(*image));
  image_ = std::move(image);
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
  return true;
}

void TImagePreview::OnPaint(HDC dc, const PAINTSTRUCT&) {
  trueColour_ = TrueColourDisplay(dc);
  if (!image_) return;
  RECT client = ClientRect();
  DrawEdge(dc, &client, EDGE_SUNKEN, BF_RECT);
  const Rect place = loadFailed_ || image_->Width() < 2 || image_->Height() < 2
                         ? kNoImageRect
                         : FitRect(Rect{client.left, client.top, client.right, client.bottom},
                                   image_->Width(), image_->Height());
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, place.left, place.top, place.right, place.bottom);
  SetStretchBltMode(dc, COLORONCOLOR);
  DrawDibWithPalette(dc, palette_.Get(), place, *image_);
  RestoreDC(dc, saved);
}

bool TImagePreview::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_SIZE) return false;
  result = DefaultProcessing(message, wParam, lParam);
  InvalidateRect(Handle(), nullptr, TRUE);
  return true;
}

bool TImagePreview::QueryClose() {
  Show(false);
  if (owner_) SendMessageA(owner_, WM_COMMAND, MAKEWPARAM(CM_PREVIEW_CLOSED, 0), 0);
  return false;
}

TImageText::TImageText() : Dialog(IDD_IMAGE_TEXT) {}

HWND TImageText::Create(HWND page) {
  page_ = page;
  return CreateModeless(page);
}

bool TImageText::OnInit() {
  Item(IDC_IMAGE_TEXT_EDIT).Send(EM_LIMITTEXT, kTextChars);
  return true;
}

void TImageText::SetText(const std::string& name, const std::string& storedText) {
  SetWindowTextA(Handle(), ("Image: " + name).c_str());
  buffer_ = storedText.substr(0, kTextChars);
  Item(IDC_IMAGE_TEXT_EDIT).SetText(DecodeForEditor(buffer_));
}

bool TImageText::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDC_IMAGE_TEXT_APPLY:
      buffer_ = StoredImageText(Item(IDC_IMAGE_TEXT_EDIT).Text());
      Notify(CM_TEXT_APPLY);
      return true;
    case IDCANCEL:
      Show(false);
      Notify(CM_TEXT_CLOSED);
      return true;
    default:
      return false;
  }
}

void TImageText::Notify(int command) {
  if (page_) SendMessageA(page_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

}  // namespace orvalen

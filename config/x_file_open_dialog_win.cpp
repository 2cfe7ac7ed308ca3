#include "config/x_file_open_dialog_win.h"

#include "base/geometry.h"
#include "config/image_columns.h"
#include "imaging/fit.h"
#include "imaging/median_cut_win.h"
#include "resources/resource_ids.h"
#include "winapp/file_system_win.h"

namespace orvalen {
namespace {

std::string DialogText(HWND dialog, UINT message) {
  char text[MAX_PATH * 4] = {};
  const LRESULT length = SendMessageA(dialog, message, sizeof text, reinterpret_cast<LPARAM>(text));
  return length > 0 ? std::string(text) : std::string();
}

// The preview area in the child's client coordinates.
Rect AreaOf(HWND child) {
  RECT area{};
  HWND frame = GetDlgItem(child, IDC_XOPEN_AREA);
  GetWindowRect(frame, &area);
  MapWindowPoints(nullptr, child, reinterpret_cast<POINT*>(&area), 2);
  return Rect{area.left, area.top, area.right, area.bottom};
}

// A display that reports a colour count (-1 stands for true colour) draws
// the preview through a palette made for the picture.
bool TrueColourDisplay() {
  WindowDC screen(nullptr);
  return GetDeviceCaps(screen.Get(), NUMCOLORS) == -1;
}

}  // namespace

TXFileOpenDialog::TXFileOpenDialog() { SetChildTemplate(std::string("RCxOpenDialog32")); }

bool TXFileOpenDialog::OnHookInit(HWND child) {
  child_ = child;
  CheckDlgButton(child, IDC_XOPEN_PREVIEW, BST_CHECKED);
  return true;
}

std::optional<LRESULT> TXFileOpenDialog::OnHookNotify(const OFNOTIFYA& notify) {
  HWND child = child_;
  HWND dialog = child ? GetParent(child) : nullptr;
  switch (notify.hdr.code) {
    case CDN_SELCHANGE: {
      if (!child) return std::nullopt;
      SetDlgItemTextA(child, IDC_XOPEN_FOLDER, DialogText(dialog, CDM_GETSPEC).c_str());
      const std::string path = DialogText(dialog, CDM_GETFILEPATH);
      SetDlgItemTextA(child, IDC_XOPEN_PATH, path.c_str());
      UpdatePreview(child, path);
      return std::nullopt;
    }
    case CDN_FOLDERCHANGE:
      if (child) {
        SetDlgItemTextA(child, IDC_XOPEN_FOLDER, DialogText(dialog, CDM_GETFOLDERPATH).c_str());
      }
      return std::nullopt;
    case CDN_SHAREVIOLATION:
      ShowMessage(dialog, "Got a sharing violation notify.", "ComDlg32 Test");
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<UINT_PTR> TXFileOpenDialog::OnHookMessage(HWND child, UINT message, WPARAM wParam,
                                                        LPARAM) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_XOPEN_PREVIEW && HIWORD(wParam) == BN_CLICKED) {
        char path[MAX_PATH * 4] = {};
        GetDlgItemTextA(child, IDC_XOPEN_PATH, path, sizeof path);
        UpdatePreview(child, path);
        return TRUE;
      }
      return std::nullopt;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(child, &paint);
      Paint(child, dc);
      EndPaint(child, &paint);
      return TRUE;
    }
    case WM_SIZE:
      InvalidateRect(child, nullptr, TRUE);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

void TXFileOpenDialog::UpdatePreview(HWND child, const std::string& selection) {
  image_.reset();
  palette_.Reset();
  const std::string path = PreviewPathOfSelection(selection);
  if (IsDlgButtonChecked(child, IDC_XOPEN_PREVIEW) == BST_CHECKED && !path.empty() &&
      FileExists(path)) {
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    auto image = std::make_unique<TExtendedDib>(path.c_str());
    const bool loaded = LastLoadSucceeded();
    SetCursor(previous);
    if (loaded) {
      if (!TrueColourDisplay()) palette_.Reset(BuildDisplayPalette(*image));
      image_ = std::move(image);
    }
  }
  const Rect area = AreaOf(child);
  const RECT dirty{area.left, area.top, area.right, area.bottom};
  InvalidateRect(child, &dirty, TRUE);
}

void TXFileOpenDialog::Paint(HWND child, HDC dc) const {
  const Rect area = AreaOf(child);
  RECT inner{area.left + 4, area.top + 4, area.right - 4, area.bottom - 4};
  if (inner.right <= inner.left || inner.bottom <= inner.top) return;
  FillRect(dc, &inner, GetSysColorBrush(COLOR_BTNSHADOW));
  if (!image_ || image_->Width() < 2 || image_->Height() < 2) return;
  const Rect place = FitRect(area, image_->Width(), image_->Height());
  const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
  DrawDibWithPalette(dc, palette_.Get(), place, *image_);
  SetStretchBltMode(dc, previousMode);
}

}  // namespace orvalen

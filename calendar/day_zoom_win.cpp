#include "calendar/day_zoom_win.h"

#include <commctrl.h>

#include <cstdio>

#include "resources/resource_ids.h"
#include "winapp/dpi_win.h"

namespace orvalen {

TMwdZoom::TMwdZoom(const Date& day, DayTexts texts, JournalScratchFiles& scratch)
    : Dialog(IDD_CALENDAR_ZOOM), day_(day), texts_(std::move(texts)), scratch_(scratch) {}

bool TMwdZoom::OnInit() {
  char caption[64];
  std::snprintf(caption, sizeof caption, "%s, %d, %d", MonthName(day_.month), day_.day, day_.year);
  SetText(caption);
  HWND header = GetDlgItem(Handle(), IDC_CALENDAR_ZOOM_HEADER);
  const char* names[] = {"Journal", "Appointments"};
  for (int i = 0; i < 2; ++i) {
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.pszText = const_cast<char*>(names[i]);
    item.cxy = 0;
    SendMessageA(header, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  font_.Reset(CreateScaledFont(12, FW_NORMAL, false, false, false, ANSI_CHARSET, DEFAULT_PITCH | FF_SWISS,
                               "MS Sans Serif"));
  if (journal_.Create(Handle(), IDC_CALENDAR_ZOOM_JOURNAL, font_.Get())) {
    journal_.Load(texts_.journal, scratch_);
  }
  PlaceColumns();
  journal_.Show(true);
  SetFocus(journal_.Handle());
  return false;
}

RECT TMwdZoom::Area() const {
  RECT header{};
  GetWindowRect(GetDlgItem(Handle(), IDC_CALENDAR_ZOOM_HEADER), &header);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&header), 2);
  RECT ok{};
  GetWindowRect(GetDlgItem(Handle(), IDOK), &ok);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&ok), 2);
  return {header.left, header.bottom + 2, header.right, ok.top - 4};
}

void TMwdZoom::PlaceColumns() {
  const RECT area = Area();
  const int width = area.right - area.left;
  const int journalWidth = JournalColumnWidth(columns_, width);
  HWND header = GetDlgItem(Handle(), IDC_CALENDAR_ZOOM_HEADER);
  const int widths[] = {journalWidth, width - journalWidth};
  for (int i = 0; i < 2; ++i) {
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = widths[i];
    SendMessageA(header, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  // The editor sits inside its column's frame.
  if (journalWidth > 4) {
    MoveWindow(journal_.Handle(), area.left + 2, area.top + 2, journalWidth - 4,
               area.bottom - area.top - 4, TRUE);
    journal_.Show(true);
  } else {
    journal_.Show(false);
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TMwdZoom::ShowColumnMenu() {
  Menu menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuA(menu.Get(), MF_STRING, IDM_CALENDAR_ZOOM_BOTH, "&Show Journal and Appointments");
  AppendMenuA(menu.Get(), MF_STRING, IDM_CALENDAR_ZOOM_JOURNAL, "&Maximize Journal");
  AppendMenuA(menu.Get(), MF_STRING, IDM_CALENDAR_ZOOM_APPOINTMENTS, "&Maximize Appointments");
  POINT at{};
  GetCursorPos(&at);
  TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, Handle(), nullptr);
}

bool TMwdZoom::OnCommand(int id, int notifyCode, HWND) {
  switch (id) {
    case IDC_CALENDAR_ZOOM_JOURNAL:
      if (notifyCode == EN_CHANGE) modified_ = true;
      return true;
    case IDM_CALENDAR_ZOOM_BOTH: columns_ = ZoomColumns::kBoth; PlaceColumns(); return true;
    case IDM_CALENDAR_ZOOM_JOURNAL: columns_ = ZoomColumns::kJournal; PlaceColumns(); return true;
    case IDM_CALENDAR_ZOOM_APPOINTMENTS:
      columns_ = ZoomColumns::kAppointments;
      PlaceColumns();
      return true;
    case IDOK:
      texts_.journal = journal_.Store();
      modified_ = modified_ || journal_.DayModified();
      confirmed_ = true;
      End(IDOK);
      return true;
    case IDCANCEL: End(IDCANCEL); return true;
    default: return false;
  }
}

std::optional<LRESULT> TMwdZoom::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_CALENDAR_ZOOM_HEADER && header.code == static_cast<UINT>(NM_RCLICK)) {
    ShowColumnMenu();
    return TRUE;
  }
  return std::nullopt;
}

std::optional<INT_PTR> TMwdZoom::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return Dialog::HandleMessage(message, wParam, lParam);
  PaintDC dc(Handle());
  const RECT area = Area();
  const int journalWidth = JournalColumnWidth(columns_, area.right - area.left);
  RECT journal{area.left, area.top, area.left + journalWidth, area.bottom};
  RECT appointments{area.left + journalWidth, area.top, area.right, area.bottom};
  if (journal.right > journal.left) DrawEdge(dc, &journal, EDGE_SUNKEN, BF_RECT);
  if (appointments.right > appointments.left) DrawEdge(dc, &appointments, EDGE_SUNKEN, BF_RECT);
  return TRUE;
}

}  // namespace orvalen

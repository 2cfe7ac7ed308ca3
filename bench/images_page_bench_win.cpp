// The images page with a full list: the time to fill it from a profile of
// 1000 pictures (files that exist; nothing is decoded) and to sort it by
// "Name" and by "Size", each done the way the user's actions do it, on the
// configuration dialog in this process.
//
//   images_page_bench_win [rounds]
//
// Run by bench/run-images-page under Wine.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "config/command_ids.h"
#include "config/configure_dialog_win.h"
#include "resources/resource_ids.h"
#include "saver/process_state.h"
#include "saver/settings.h"
#include "winapp/performance_counter_win.h"

namespace orvalen {
namespace {

constexpr int kImages = 1000;
constexpr double kLoadGoalMs = 1000.0;
constexpr double kSortGoalMs = 100.0;

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

bool WriteText(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fwrite(text.data(), 1, text.size(), file);
  return std::fclose(file) == 0;
}

// 1000 files of sizes from 0 to a few kilobytes, in an order that sorts
// neither by name nor by size, and the profile that lists them.
bool MakePictures(const std::string& folder, const std::string& profile) {
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string files = "Orvalen\r\n[Settings]\r\n[Files]\r\n";
  for (int i = 0; i < kImages; ++i) {
    const int scrambled = (i * 7919) % kImages;
    const std::string path = folder + "picture" + std::to_string(scrambled) + ".jpg";
    if (!WriteText(path, std::string(static_cast<size_t>((i * 37) % 6000), 'x'))) return false;
    files += ImageKey(i) + "=" + path + "\r\n";
  }
  files += ImageKey(kImages) + "=<END>\r\n";
  return WriteText(profile, files);
}

void ClickColumn(HWND page, HWND list, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = IDC_IMAGES_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  SendMessageA(page, WM_NOTIFY, IDC_IMAGES_LIST, reinterpret_cast<LPARAM>(&click));
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int Run(int rounds) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "orvalen_images_bench\\";
  StartupState& startup = Startup();
  startup.programDir = folder;
  startup.defaultProfilePath = folder + "Orvalen.orv";
  startup.slideProfilePath = folder + "ovslide.dat";
  startup.activeProfilePath = startup.defaultProfilePath;
  if (!MakePictures(folder, startup.activeProfilePath)) {
    std::fprintf(stderr, "cannot write the pictures in %s\n", folder.c_str());
    return 1;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  TSC_Configure dialog(false);
  if (!dialog.CreateModeless(nullptr)) {
    std::fprintf(stderr, "the configuration dialog could not be made\n");
    return 1;
  }
  Pump();
  HWND list = nullptr;
  for (HWND page = GetWindow(dialog.Handle(), GW_CHILD); page && !list;
       page = GetWindow(page, GW_HWNDNEXT)) {
    list = GetDlgItem(page, IDC_IMAGES_LIST);
  }
  if (!list) return 1;
  HWND page = GetParent(list);

  std::vector<double> load, byName, bySize;
  for (int round = 0; round < rounds; ++round) {
    double start = PerformanceCounterMs();
    SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(CM_PROFILE_RELOAD, 0), 0);
    load.push_back(PerformanceCounterMs() - start);
    if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) != kImages) {
      std::fprintf(stderr, "the list holds %d pictures, not %d\n",
                   static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)), kImages);
      return 1;
    }
    start = PerformanceCounterMs();
    ClickColumn(page, list, 0);
    byName.push_back(PerformanceCounterMs() - start);
    start = PerformanceCounterMs();
    ClickColumn(page, list, 2);
    bySize.push_back(PerformanceCounterMs() - start);
    Pump();
  }

  struct Row { const char* what; double ms; double goal; };
  const Row rows[] = {{"load 1000 pictures (all pages)", Median(load), kLoadGoalMs},
                      {"sort by Name", Median(byName), kSortGoalMs},
                      {"sort by Size", Median(bySize), kSortGoalMs}};
  std::printf("%-32s %10s %10s  %s\n", "images page", "median ms", "goal ms", "");
  bool met = true;
  for (const Row& row : rows) {
    const bool ok = row.ms <= row.goal;
    met = met && ok;
    std::printf("%-32s %10.1f %10.0f  %s\n", row.what, row.ms, row.goal, ok ? "ok" : "OVER");
  }
  std::printf("(%d rounds)\n", rounds);
  return met ? 0 : 2;
}

}  // namespace
}  // namespace orvalen

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  return orvalen::Run(rounds);
}

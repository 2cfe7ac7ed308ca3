// A settings page moves values between its controls and the settings record.
#include <windows.h>

#include <gtest/gtest.h>

#include "config/settings_page_win.h"
#include "winapp/application_win.h"

namespace orvalen {
namespace {

constexpr int kTemplate = 100;
constexpr int kDelay = 101;
constexpr int kGrayscale = 102;

class DelayPage : public SettingsPage {
 public:
  DelayPage() : SettingsPage(kTemplate) {}
  void Load(const SaverSettings& settings) override {
    Item(kDelay).SetInt(settings.delaySeconds);
    Item(kGrayscale).SetCheck(settings.grayscale);
  }
  void Store(SaverSettings& settings) override {
    settings.delaySeconds = Item(kDelay).Int();
    settings.grayscale = Item(kGrayscale).Checked();
  }
};

TEST(SettingsPage, LoadsControlsFromTheRecordAndStoresThemBack) {
  Application application("config tests");
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  DelayPage page;
  ASSERT_NE(page.CreateModeless(parent), nullptr);

  SaverSettings loaded;
  loaded.delaySeconds = 17;
  loaded.grayscale = true;
  page.Load(loaded);
  EXPECT_EQ(page.Item(kDelay).Text(), "17");
  EXPECT_TRUE(page.Item(kGrayscale).Checked());

  page.Item(kDelay).SetText("9");
  page.Item(kGrayscale).SetCheck(false);
  SaverSettings stored = loaded;
  page.Store(stored);
  EXPECT_EQ(stored.delaySeconds, 9);
  EXPECT_FALSE(stored.grayscale);
  DestroyWindow(parent);
}

}  // namespace
}  // namespace orvalen

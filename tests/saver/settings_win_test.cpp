// The settings reader and writer over the real private-profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "saver/settings.h"
#include "saver/slide_sequence.h"
#include "winapp/private_profile.h"

namespace orvalen {
namespace {

class ProfileFile : public testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    path_ = std::string(folder) + "orvalen_settings_test.orv";
    std::remove(path_.c_str());
  }
  void TearDown() override { std::remove(path_.c_str()); }

  void WriteFile(const std::string& text) {
    std::ofstream out(path_, std::ios::binary);
    out << text;
  }
  std::string ReadFile() {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

  std::string path_;
};

TEST_F(ProfileFile, WithoutSettingsEverySettingTakesItsDefault) {
  WriteFile("Orvalen\n[Files]\ni0=C:\\x.jpg\n");
  PrivateProfile profile(path_);
  SaverSettings s;
  s.delaySeconds = 77;
  s.showDate = false;
  s.backgroundColor = 0;
  ReadSettings(profile, s);
  EXPECT_EQ(s.delaySeconds, 4);
  EXPECT_EQ(s.brightness, 100);
  EXPECT_EQ(s.gamma, 100);
  EXPECT_EQ(s.display, 3);
  EXPECT_EQ(s.transition, 0);
  EXPECT_EQ(s.edges, 0);
  EXPECT_FALSE(s.grayscale);
  EXPECT_FALSE(s.accurateSize);
  EXPECT_TRUE(s.useColor);
  EXPECT_EQ(s.backgroundColor, MakeColor(64, 0, 0));
  EXPECT_EQ(s.calendarTextColor, MakeColor(210, 205, 200));
  EXPECT_TRUE(s.showMiniCalendar);
  EXPECT_TRUE(s.showDate);
  EXPECT_TRUE(s.showTime);
  EXPECT_TRUE(s.showRunTime);
  EXPECT_FALSE(s.drawCalendar);
  EXPECT_FALSE(s.useCalendarFile);
  EXPECT_TRUE(s.allowCtrlAltDel);
  EXPECT_EQ(s.maxImages, 10);
  EXPECT_FALSE(s.startFromLastImage);
  EXPECT_FALSE(s.showImageName);
  EXPECT_EQ(s.tileFile, "");
  EXPECT_EQ(s.calendarFile, "");
}

TEST_F(ProfileFile, ValuesAsTheFileHoldsThem) {
  WriteFile("Orvalen\n[Settings]\nUSE_COLOR_RGB=300,0,0\nTotal=5000\nVALUE_DELAY=-7\nGRAYSCALE=2\n"
            "OPTION_DISPLAY=-4\nDRAW_CALENDAR=1\n");
  PrivateProfile profile(path_);
  SaverSettings s;
  ReadSettings(profile, s);
  EXPECT_EQ(RedOf(s.backgroundColor), 44u);
  EXPECT_EQ(s.delaySeconds, 4);
  EXPECT_EQ(s.display, 3);
  EXPECT_TRUE(s.grayscale);
  EXPECT_TRUE(s.drawCalendar);
  SlideSequence sequence;
  sequence.Reset(profile.GetInt("Settings", "Total", 0), 0, false);
  EXPECT_EQ(sequence.ImageCount(), 999);
}

TEST_F(ProfileFile, ShorterListLeavesOldEntriesBehindTheEnd) {
  PrivateProfile profile(path_);
  SaverSettings s;
  WriteSettings(profile, s,
                {{"C:\\0.jpg", ""}, {"C:\\1.jpg", ""}, {"C:\\2.jpg", ""}, {"C:\\3.jpg", ""}, {"C:\\4.jpg", ""}});
  WriteSettings(profile, s, {{"C:\\a.jpg", ""}, {"C:\\b.jpg", ""}, {"C:\\c.jpg", ""}});
  PrivateProfile reread(path_);
  EXPECT_EQ(reread.GetInt("Settings", "Total", -1), 3);
  EXPECT_EQ(reread.GetString("Files", "i2", "<>", 259), "C:\\c.jpg");
  EXPECT_EQ(reread.GetString("Files", "i3", "<>", 259), "<END>");
  EXPECT_EQ(reread.GetString("Files", "i4", "<>", 259), "C:\\4.jpg");
  EXPECT_EQ(reread.GetString("Files", "i5", "<>", 259), "<END>");
}

TEST_F(ProfileFile, TwoLineTextIsStoredOnOneLine) {
  PrivateProfile profile(path_);
  WriteSettings(profile, SaverSettings{}, {{"C:\\a.jpg", "Morning\r\nAfternoon"}});
  const std::string file = ReadFile();
  EXPECT_NE(file.find("i0=Morning\x14\x15" "Afternoon\r\n"), std::string::npos) << file;
  const std::string stored = profile.GetString("ImageText", "i0", "", 999);
  EXPECT_EQ(DecodeForSaver(stored), "Morning \nAfternoon");
  EXPECT_EQ(DecodeForEditor(stored), "Morning\r\nAfternoon");
}

TEST_F(ProfileFile, FlushPutsTheWritesOnDisk) {
  PrivateProfile profile(path_);
  WriteLastImage(profile, 17);
  EXPECT_NE(ReadFile().find("LastImage=17"), std::string::npos);
}

TEST_F(ProfileFile, EmptyNameReadsDefaultsAndWritesNothing) {
  PrivateProfile none("");
  EXPECT_EQ(none.GetInt("Settings", "Total", 5), 5);
  EXPECT_EQ(none.GetString("Settings", "KEY_PROFILE", "x", 260), "x");
  none.WriteString("Settings", "Total", "3");
  EXPECT_EQ(none.GetInt("Settings", "Total", 5), 5);
}

}  // namespace
}  // namespace orvalen

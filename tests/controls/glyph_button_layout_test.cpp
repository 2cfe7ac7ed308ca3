#include "config/controls/glyph_button_layout.h"

#include <gtest/gtest.h>


namespace orvalen {
namespace {

struct PlacementCase {
  const char* name;
  Rect area;
  std::optional<Size> glyph;
  std::optional<Size> text;
  bool pressed;
  std::optional<Rect> glyphAt;
  std::optional<Rect> textAt;
};

// The expected rectangles are worked out by hand from the rule:
// free = area width - glyph width - text width - 8.
const PlacementCase kPlacements[] = {
    // 96 - 16 - 40 - 8 = 32: glyph at 2 + 4, text 32 / 2 after the glyph;
    // vertical (26 - 16) / 2 = 5 and (26 - 13) / 2 = 6.
    {"FreeSpaceSplitsAfterGlyph", {2, 2, 98, 28}, Size{16, 16}, Size{40, 13}, false,
     Rect{6, 7, 22, 23}, Rect{38, 8, 78, 21}},
    {"PressedMovesBothOnePixel", {2, 2, 98, 28}, Size{16, 16}, Size{40, 13}, true,
     Rect{7, 8, 23, 24}, Rect{39, 9, 79, 22}},
    // 97 - 16 - 40 - 8 = 33: 33 / 2 = 16.
    {"OddFreeTruncates", {0, 0, 97, 20}, Size{16, 16}, Size{40, 13}, false,
     Rect{4, 2, 20, 18}, Rect{36, 3, 76, 16}},
    {"FreeZeroKeepsTheFourPixelMargin", {0, 0, 56, 20}, Size{16, 16}, Size{32, 13}, false,
     Rect{4, 2, 20, 18}, Rect{20, 3, 52, 16}},
    // free -1: 4 + (-1 / 2) = 4 (toward zero, not 3).
    {"FreeMinusOneTruncatesTowardZero", {0, 0, 55, 20}, Size{16, 16}, Size{32, 13}, false,
     Rect{4, 2, 20, 18}, Rect{20, 3, 52, 16}},
    // free 50 - 16 - 35 - 8 = -9: glyph at 4 + (-4) = 0, text right after it.
    {"NegativeFreeShiftsGlyphLeft", {0, 0, 50, 20}, Size{16, 16}, Size{35, 13}, false,
     Rect{0, 2, 16, 18}, Rect{16, 3, 51, 16}},
    // free 40 - 16 - 40 - 8 = -24: glyph starts 8 pixels left of the area.
    {"LargeNegativeFreeLeavesTheArea", {10, 0, 50, 20}, Size{16, 16}, Size{40, 13}, false,
     Rect{2, 2, 18, 18}, Rect{18, 3, 58, 16}},
    {"TallGlyphIsNotCentred", {0, 5, 100, 15}, Size{16, 16}, Size{40, 8}, false,
     Rect{4, 5, 20, 21}, Rect{38, 6, 78, 14}},
    // Single items: centred where smaller, at the area's edge where not.
    {"TextAloneCentred", {0, 0, 99, 30}, std::nullopt, Size{40, 13}, false, std::nullopt,
     Rect{29, 8, 69, 21}},
    {"GlyphAloneWiderThanArea", {1, 1, 11, 31}, Size{16, 16}, std::nullopt, false,
     Rect{1, 8, 17, 24}, std::nullopt},
    {"GlyphAlonePressed", {0, 0, 20, 20}, Size{16, 16}, std::nullopt, true, Rect{3, 3, 19, 19},
     std::nullopt},
    {"Nothing", {0, 0, 20, 20}, std::nullopt, std::nullopt, false, std::nullopt, std::nullopt},
};

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, MatchesWorkedNumbers) {
  const PlacementCase& c = GetParam();
  const ContentPlacement p = PlaceContent(c.area, c.glyph, c.text, c.pressed);
  EXPECT_EQ(p.glyph, c.glyphAt);
  EXPECT_EQ(p.text, c.textAt);
}

INSTANTIATE_TEST_SUITE_P(Worked, PlacementTest, ::testing::ValuesIn(kPlacements),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlacementClipTest, SingleItemIsCutToTheAreaAndPairsAreNot) {
  // A glyph wider than the area is drawn only inside it.
  ContentPlacement single = PlaceContent({1, 1, 11, 31}, Size{16, 16}, std::nullopt, false);
  EXPECT_EQ(single.glyphClip, (Rect{1, 8, 11, 24}));
  single = PlaceContent({0, 0, 30, 10}, std::nullopt, Size{40, 26}, true);
  EXPECT_EQ(single.textClip, (Rect{1, 1, 31, 11}));
  // Glyph and text together keep their measured size.
  const ContentPlacement pair = PlaceContent({0, 0, 50, 20}, Size{16, 16}, Size{35, 13}, false);
  EXPECT_EQ(pair.textClip, *pair.text);
  EXPECT_EQ(pair.glyphClip, *pair.glyph);
}

TEST(PlacementInsetTest, AScaledInsetMovesTheGlyphAndNarrowsTheFreeSpace) {
  // At 150 %: inset 6, free = 100 - 16 - 40 - 12 = 32.
  const ContentPlacement p = PlaceContent({0, 0, 100, 20}, Size{16, 16}, Size{40, 13}, false, 6);
  EXPECT_EQ(p.glyph, (Rect{6, 2, 22, 18}));
  EXPECT_EQ(p.text, (Rect{38, 3, 78, 16}));
}

TEST(FrameChoiceTest, FirstMatchingStyleWins) {
  struct Case {
    uint32_t style;
    bool hot, pressed;
    FrameKind expected;
  } cases[] = {
      {kFrameStandard, false, false, FrameKind::kPushButton},
      {kFrameStandard, true, true, FrameKind::kPushButtonPressed},
      {kFrameFlat, true, true, FrameKind::kNone},
      {kFrameFlat | kFrameThin | kFrameRaised, false, true, FrameKind::kNone},
      {kFrameHover, false, false, FrameKind::kNone},
      {kFrameHover, false, true, FrameKind::kNone},
      {kFrameHover, true, false, FrameKind::kPushButton},
      {kFrameHover | kFrameThin, false, false, FrameKind::kNone},
      {kFrameHover | kFrameThin, true, false, FrameKind::kThinRaised},
      {kFrameHover | kFrameThin, true, true, FrameKind::kThinSunken},
      {kFrameThin | kFrameRaised, false, false, FrameKind::kThinRaised},
      {kFrameRaised, false, false, FrameKind::kRaised},
      {kFrameRaised, false, true, FrameKind::kRaisedSunken},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseFrame(c.style, c.hot, c.pressed), c.expected)
        << "style " << c.style << " hot " << c.hot << " pressed " << c.pressed;
  }
}

TEST(GlyphChoiceTest, SpecialImagesOnlyWhenPresent) {
  const uint32_t all = (1u << kGlyphNormal) | (1u << kGlyphDisabled) | (1u << kGlyphPressed) |
                       (1u << kGlyphFocused) | (1u << kGlyphHot);
  const uint32_t normalOnly = 1u << kGlyphNormal;
  const uint32_t normalPressed = normalOnly | (1u << kGlyphPressed);
  struct Case {
    uint32_t present;
    ButtonStateBits state;
    int slot;
    bool embossed;
  } cases[] = {
      {all, {}, kGlyphNormal, false},
      {all, {.pressed = true, .focused = true, .disabled = true}, kGlyphDisabled, false},
      {all, {.pressed = true, .focused = true}, kGlyphFocused, false},
      {all, {.pressed = true, .hot = true}, kGlyphPressed, false},
      {all, {.hot = true}, kGlyphHot, false},
      {all & ~(1u << kGlyphPressed), {.pressed = true, .hot = true}, kGlyphNormal, false},
      {normalOnly, {.disabled = true}, kGlyphNormal, true},
      {normalPressed, {.pressed = true, .focused = true}, kGlyphPressed, false},
      {normalPressed, {.hot = true}, kGlyphNormal, false},
  };
  for (const Case& c : cases) {
    const GlyphChoice choice = ChooseGlyph(c.present, c.state);
    EXPECT_EQ(choice.slot, c.slot) << "present " << c.present;
    EXPECT_EQ(choice.embossed, c.embossed) << "present " << c.present;
  }
}

}  // namespace
}  // namespace orvalen

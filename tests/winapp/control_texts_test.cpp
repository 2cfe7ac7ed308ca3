// Texts the layer reads from controls and file dialogs, without the platform.
#include <gtest/gtest.h>

#include <climits>
#include <algorithm>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "winapp/control_text.h"
#include "winapp/file_dialog_text.h"
#include "winapp/sort_order.h"

namespace orvalen {
namespace {

using namespace std::string_literals;

TEST(ParseControlInt, ReadsSignedDecimalNumbersAndRefusesTheRest) {
  struct Case {
    std::string text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"  -17\t", -17},
      {"+8", 8},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
      {"--1", std::nullopt},
      {"4.5", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseControlInt(c.text), c.value) << "text '" << c.text << "'";
  }
}

TEST(FilterFromBars, MakesNulSeparatedPairsEndedByAnEmptyString) {
  struct Case {
    std::string bars;
    std::string filter;
  };
  const Case cases[] = {
      {"Orvalen Settings (*.orv)|*.orv", "Orvalen Settings (*.orv)\0*.orv\0\0"s},
      {"Pictures|*.bmp;*.jpg|All files|*.*", "Pictures\0*.bmp;*.jpg\0All files\0*.*\0\0"s},
      // Closing bars, as some programs write them.
      {"Text|*.txt||", "Text\0*.txt\0\0"s},
      // A description without a pattern is dropped.
      {"Text|*.txt|Lonely", "Text\0*.txt\0\0"s},
      {"Lonely", ""},
      {"", ""},
      {"|", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FilterFromBars(c.bars), c.filter) << "filter '" << c.bars << "'";
  }
}

TEST(ParseFileDialogResult, SplitsOnePathOrAFolderWithNames) {
  struct Case {
    std::string buffer;
    std::vector<std::string> paths;
  };
  const Case cases[] = {
      {"C:\\Pictures\\a.bmp\0\0"s, {"C:\\Pictures\\a.bmp"}},
      {"C:\\Pictures\0a.bmp\0b c.jpg\0\0"s, {"C:\\Pictures\\a.bmp", "C:\\Pictures\\b c.jpg"}},
      // The root folder already ends in a backslash.
      {"C:\\\0a.bmp\0b.bmp\0\0"s, {"C:\\a.bmp", "C:\\b.bmp"}},
      // A name that is a full path of its own (a chosen shortcut's target).
      {"C:\\Pictures\0D:\\x.pcx\0a.bmp\0\0"s, {"D:\\x.pcx", "C:\\Pictures\\a.bmp"}},
      {"\\\\server\\share\0one.gif\0two.gif\0\0"s,
       {"\\\\server\\share\\one.gif", "\\\\server\\share\\two.gif"}},
      // Whatever follows the empty string is not read.
      {"C:\\a.bmp\0\0junk\0"s, {"C:\\a.bmp"}},
      // A buffer cut short still gives what it holds.
      {"C:\\Pictures\0a.bmp\0b.bm"s, {"C:\\Pictures\\a.bmp", "C:\\Pictures\\b.bm"}},
      {"\0\0"s, {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseFileDialogResult(c.buffer), c.paths);
  }
}

TEST(StableSortOrder, OrdersIndexesAndKeepsEqualItemsInPlace) {
  struct Case {
    std::vector<int> keys;
    std::vector<size_t> order;
  };
  const Case cases[] = {
      {{}, {}},
      {{5}, {0}},
      {{3, 1, 2}, {1, 2, 0}},
      {{2, 1, 2, 1, 0}, {4, 1, 3, 0, 2}},  // equal keys keep their order
      {{7, 6, 5, 4, 3, 2, 1}, {6, 5, 4, 3, 2, 1, 0}},
  };
  for (const Case& c : cases) {
    const auto order = StableSortOrder(c.keys.size(), [&](size_t a, size_t b) {
      return c.keys[a] - c.keys[b];
    });
    EXPECT_EQ(order, c.order);
  }
}

TEST(StableSortOrder, SelfContradictingComparisonStillGivesEveryIndexOnce) {
  const int answers[] = {-1, 1, 0};
  for (int answer : answers) {
    unsigned seed = 1;
    const auto order = StableSortOrder(37, [&](size_t, size_t) {
      seed = seed * 1103515245u + 12345u;
      return answer == 0 ? static_cast<int>(seed >> 16) % 3 - 1 : answer;
    });
    std::vector<size_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<size_t> all(37);
    std::iota(all.begin(), all.end(), size_t{0});
    EXPECT_EQ(sorted, all) << "answer " << answer;
  }
  EXPECT_THROW(StableSortOrder(4, [](size_t, size_t) -> int { throw std::runtime_error("x"); }),
               std::runtime_error);
}

}  // namespace
}  // namespace orvalen

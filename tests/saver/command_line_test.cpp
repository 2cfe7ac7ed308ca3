#include "saver/command_line.h"

#include <gtest/gtest.h>

namespace orvalen {
namespace {

struct SwitchCase {
  const char* commandLine;
  RunMode mode;
  bool slideShow;
};

class SwitchTable : public testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchTable, GivesTheMode) {
  const SwitchCase& c = GetParam();
  CommandLine parsed = ParseCommandLine(c.commandLine);
  EXPECT_EQ(parsed.mode, c.mode) << c.commandLine;
  EXPECT_EQ(parsed.slideShow, c.slideShow) << c.commandLine;
}

INSTANTIATE_TEST_SUITE_P(
    EveryLetter, SwitchTable,
    testing::Values(SwitchCase{"Orvalen.exe", RunMode::Configure, false},
                    SwitchCase{"Orvalen.exe    ", RunMode::Configure, false},
                    SwitchCase{"Orvalen.exe /s", RunMode::Saver, false},
                    SwitchCase{"Orvalen.exe -S", RunMode::Saver, false},
                    SwitchCase{"Orvalen.exe s", RunMode::Saver, false},
                    SwitchCase{"Orvalen.exe /x", RunMode::Saver, true},
                    SwitchCase{"Orvalen.exe /X", RunMode::None, false},
                    SwitchCase{"Orvalen.exe /z", RunMode::Configure, false},
                    SwitchCase{"Orvalen.exe /Z", RunMode::None, false},
                    SwitchCase{"Orvalen.exe /c", RunMode::Configure, false},
                    SwitchCase{"Orvalen.exe /C:12", RunMode::Configure, false},
                    SwitchCase{"Orvalen.exe /p 1234", RunMode::Preview, false},
                    SwitchCase{"Orvalen.exe /P1234", RunMode::Preview, false},
                    SwitchCase{"Orvalen.exe /l 1234", RunMode::Preview, false},
                    SwitchCase{"Orvalen.exe /L:1234", RunMode::Preview, false},
                    SwitchCase{"Orvalen.exe /a 99", RunMode::ChangePassword, false},
                    SwitchCase{"Orvalen.exe -A:99", RunMode::ChangePassword, false},
                    SwitchCase{"Orvalen.exe /q", RunMode::None, false},
                    SwitchCase{"Orvalen.exe /", RunMode::None, false},
                    SwitchCase{"Orvalen.exe 7", RunMode::None, false}));

TEST(CommandLine, QuotedProgramNameMayBeFollowedDirectlyByTheSwitch) {
  EXPECT_EQ(ParseCommandLine("\"C:\\Program Files\\Orvalen\\Orvalen.scr\"/s").mode, RunMode::Saver);
  EXPECT_EQ(ParseCommandLine("\"C:\\Program Files\\Orvalen\\Orvalen.scr\" /s").mode, RunMode::Saver);
  // An unterminated quote runs to the end: nothing is left, so Configure.
  EXPECT_EQ(ParseCommandLine("\"C:\\Orvalen.scr /s").mode, RunMode::Configure);
}

TEST(CommandLine, UnquotedPathWithABlankEndsAtTheBlank) {
  // "Files\..." follows the separator: 'F' is no switch letter.
  EXPECT_EQ(ParseCommandLine("C:\\Program Files\\Orvalen\\Orvalen.scr /s").mode, RunMode::None);
  // A path continuing with a switch letter is read as that switch.
  EXPECT_EQ(ParseCommandLine("C:\\My saver\\Orvalen.scr /s").mode, RunMode::Saver);
}

TEST(CommandLine, ConfigureOwner) {
  CommandLine bare = ParseCommandLine("Orvalen.exe /c");
  EXPECT_TRUE(bare.configFromForeground);
  CommandLine trailingBlanks = ParseCommandLine("Orvalen.exe /c : ");
  EXPECT_TRUE(trailingBlanks.configFromForeground);
  CommandLine numbered = ParseCommandLine("Orvalen.exe /c:5678");
  EXPECT_FALSE(numbered.configFromForeground);
  EXPECT_EQ(numbered.configParent, 5678u);
  CommandLine zero = ParseCommandLine("Orvalen.exe /c:0");
  EXPECT_FALSE(zero.configFromForeground);
  EXPECT_EQ(zero.configParent, 0u);
  CommandLine none = ParseCommandLine("Orvalen.exe");
  EXPECT_FALSE(none.configFromForeground);
  EXPECT_EQ(none.configParent, 0u);
  CommandLine z = ParseCommandLine("Orvalen.exe /z 77");
  EXPECT_FALSE(z.configFromForeground);
  EXPECT_EQ(z.configParent, 0u);
}

TEST(CommandLine, PreviewParent) {
  EXPECT_EQ(ParseCommandLine("Orvalen.scr /p 1234").previewParent, 1234u);
  EXPECT_EQ(ParseCommandLine("Orvalen.scr /p: :1234").previewParent, 1234u);
  EXPECT_EQ(ParseCommandLine("Orvalen.scr -P1234abc").previewParent, 1234u);
  EXPECT_EQ(ParseCommandLine("Orvalen.scr /p").previewParent, 0u);
  EXPECT_EQ(ParseCommandLine("Orvalen.scr /p window").previewParent, 0u);
  EXPECT_TRUE(ParseCommandLine("Orvalen.scr /p:scrprev").previewFromHost);
  EXPECT_TRUE(ParseCommandLine("Orvalen.scr /p SCRPREV").previewFromHost);
  EXPECT_FALSE(ParseCommandLine("Orvalen.scr /p scrprevx").previewFromHost);
}

TEST(CommandLine, PasswordParent) {
  EXPECT_EQ(ParseCommandLine("Orvalen.scr /a 4321").passwordParent, 4321u);
  EXPECT_EQ(ParseCommandLine("Orvalen.scr /a").passwordParent, 0u);
}

TEST(ReadDecimal, SignsBlanksAndTrailingText) {
  EXPECT_EQ(ReadDecimal("  42"), 42u);
  EXPECT_EQ(ReadDecimal("\t+42"), 42u);
  EXPECT_EQ(ReadDecimal("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(ReadDecimal("12ab34"), 12u);
  EXPECT_EQ(ReadDecimal("abc"), 0u);
  EXPECT_EQ(ReadDecimal("+"), 0u);
  EXPECT_EQ(ReadDecimal(""), 0u);
  EXPECT_EQ(ReadDecimal("4294967295"), 4294967295u);
}

}  // namespace
}  // namespace orvalen

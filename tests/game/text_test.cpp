#include <gtest/gtest.h>

#include <string>

#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

std::string S(const zrb::EngineString& text) {
  return std::string(std::string_view(text));
}

class StatusLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    score = 0;
    round = 1;
    lives = 3;
    timer = 0;
    highScore = 0;
  }
};

TEST(FontFrame, FollowsTheFontOrderWithCapitalsAsSmallLetters) {
  EXPECT_EQ(FontFrame(' '), 0);
  EXPECT_EQ(FontFrame('|'), 2);
  EXPECT_EQ(FontFrame('0'), 16);
  EXPECT_EQ(FontFrame('9'), 25);
  EXPECT_EQ(FontFrame(':'), 26);
  EXPECT_EQ(FontFrame('\''), 32);
  EXPECT_EQ(FontFrame('a'), 33);
  EXPECT_EQ(FontFrame('k'), 43);
  EXPECT_EQ(FontFrame('K'), 43);
  EXPECT_EQ(FontFrame('Z'), 58);
  EXPECT_EQ(FontFrame('&'), 59);
}

TEST(FontFrame, RepeatedCharactersTakeTheirFirstFrame) {
  EXPECT_EQ(FontFrame('#'), 5);  // frames 6 and 8..12 also show "#"
  EXPECT_EQ(FontFrame(','), 7);
}

TEST(FontFrame, CharactersOutsideTheFontHaveNoFrame) {
  EXPECT_EQ(FontFrame('~'), -1);
  EXPECT_EQ(FontFrame('\0'), -1);
  EXPECT_EQ(FontFrame(static_cast<char>(0xE9)), -1);
  EXPECT_EQ(FontFrame('_'), -1);
}

TEST(PadDigits, PadsShortValuesAndKeepsTheLastDigitsOfLongOnes) {
  EXPECT_EQ(S(PadDigits(0, 6)), "000000");
  EXPECT_EQ(S(PadDigits(7, 2)), "07");
  EXPECT_EQ(S(PadDigits(42, 2)), "42");
  EXPECT_EQ(S(PadDigits(123, 2)), "23");
  EXPECT_EQ(S(PadDigits(1234567, 6)), "234567");
  EXPECT_EQ(S(PadDigits(1234567, 7)), "1234567");
  EXPECT_EQ(S(PadDigits(2147483647, 3)), "647");
}

TEST(PadDigits, NegativeValuesKeepTheirSignInsideThePadding) {
  EXPECT_EQ(S(PadDigits(-5, 4)), "00-5");
  EXPECT_EQ(S(PadDigits(-12345, 3)), "345");
}

TEST(PadDigits, NoWidthGivesNothing) {
  EXPECT_EQ(S(PadDigits(5, 0)), "");
  EXPECT_EQ(S(PadDigits(5, -3)), "");
}

TEST_F(StatusLineTest, FrontEndFormBeforeAnyGame) {
  EXPECT_EQ(S(FrontStatusText()), "score|000000 round|01 high|0000000");
}

TEST_F(StatusLineTest, RoundSevenShowsTwoDigitsInEveryForm) {
  round = 7;
  UpdateStatusDigits();
  EXPECT_EQ(S(FrontStatusText()), "score|000000 round|07 high|0000000");
  EXPECT_EQ(S(QuitStatusText()), "score|000000 time|000 round|07");
  EXPECT_EQ(S(InGameStatusText()), "score|000000 lives|3 time|000 round|07");
}

TEST_F(StatusLineTest, RoundAboveNinetyNineIsCutOnlyInThePaddedForms) {
  round = 123;
  UpdateStatusDigits();
  EXPECT_EQ(S(InGameStatusText()), "score|000000 lives|3 time|000 round|123");
  EXPECT_EQ(S(FrontStatusText()), "score|000000 round|23 high|0000000");
  EXPECT_EQ(S(QuitStatusText()), "score|000000 time|000 round|23");
}

TEST_F(StatusLineTest, TimeFieldIsTimerDividedBySixtyInThreeDigits) {
  timer = 54059;
  UpdateStatusDigits();
  EXPECT_EQ(S(timeText), "900");
  EXPECT_EQ(S(QuitStatusText()), "score|000000 time|900 round|01");
  timer = 59;
  UpdateStatusDigits();
  EXPECT_EQ(S(timeText), "000");
  timer = 600;
  UpdateStatusDigits();
  EXPECT_EQ(S(timeText), "010");
  timer = 60 * 1234;
  UpdateStatusDigits();
  EXPECT_EQ(S(timeText), "1234");  // four digits stay as they are
}

TEST_F(StatusLineTest, ScoreShowsItsLastSixDigitsAndHighScoreSeven) {
  score = 1234567;
  highScore = 98765432;
  lives = 12;
  UpdateStatusDigits();
  EXPECT_EQ(S(FrontStatusText()), "score|234567 round|01 high|8765432");
  EXPECT_EQ(S(InGameStatusText()), "score|234567 lives|12 time|000 round|01");
}

TEST(MakerNotice, IsTwentyTwoPrintableCharacters) {
  const std::string notice = makerNotice;
  EXPECT_EQ(notice.size(), 22u);
  for (char c : notice)
    EXPECT_GE(FontFrame(c), 0) << "'" << c << "'";
}

}  // namespace
}  // namespace tundrel

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "game/game_main.h"

namespace tundrel {
namespace {

TEST(GameProgram, AsksForASixtyHertzWindowOf640By480) {
  zrb::ProjectSettings settings;
  settings.fullScreen = true;
  settings.multisample = true;
  settings.debug = true;
  ProjectSettings(settings);
  EXPECT_EQ(settings.width, 640);
  EXPECT_EQ(settings.height, 480);
  EXPECT_EQ(settings.frameRate, 60);
  EXPECT_FALSE(settings.fullScreen);
  EXPECT_FALSE(settings.multisample);
  EXPECT_FALSE(settings.debug);
  EXPECT_FALSE(settings.exclusiveMouse);
  EXPECT_EQ(settings.caption, "Tundrel");
}

TEST(GameProgram, BuildStampAndIdentifierHaveTheirFixedForms) {
  EXPECT_TRUE(std::regex_match(
      BuildStamp(), std::regex(R"([A-Z][a-z]{2} [ 0-3][0-9] [0-9]{4}-[0-9]{2}:[0-9]{2}:[0-9]{2})")))
      << BuildStamp();
  EXPECT_TRUE(std::regex_match(kProgramIdentifier, std::regex("[0-9a-f]{8}")));
  EXPECT_EQ(std::string(VersionText()),
            std::string("1.0 (") + BuildStamp() + ", " + kProgramIdentifier + ")");
}

}  // namespace
}  // namespace tundrel

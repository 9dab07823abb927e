// Loading files into sprite slots: texture sizes and extents, the colour key, strips,
// failures that leave the slot empty with code 3, and the renderer's limits; and the
// pixel-exact collision test between frames, against a direct reading of the pictures.
#include "engine/graphics/sprites.h"

#include <random>

#include "engine/graphics/draw.h"
#include "graphics_fixture.h"

namespace zrb::testing {
namespace {

using SpriteLoading = HeadlessGraphicsTest;

TEST_F(SpriteLoading, MissingFileLeavesTheSlotEmptyWithCodeThree) {
  LoadSprite(SaveBmp("first.bmp", Picture(8, 8, {5, 5, 5})), 7);
  ASSERT_EQ(SpriteSize(7).width, 8);
  const uint32_t oldTexture = Record(7).texture;

  RuntimeError().currentLine = 42;
  LoadAnim(folder_.Path("does-not-exist.png"), 7, 4, 4);
  EXPECT_EQ(RuntimeError().code, kErrorNoSuchFile);
  EXPECT_EQ(RuntimeError().errorLine, 42);
  EXPECT_EQ(SpriteSize(7).width, 0);
  EXPECT_EQ(SpriteSize(7).height, 0);
  const graphics::SpriteRecord& record = Record(7);
  EXPECT_TRUE(record.Empty());
  EXPECT_EQ(record.textureWidth, -1);
  EXPECT_FLOAT_EQ(record.uExtent, 1.0f);
  EXPECT_EQ(record.frameWidth, 0);  // a failed LoadAnim sets no frame size
  EXPECT_EQ(recorder_->FindTexture(oldTexture), nullptr);
  EXPECT_EQ(recorder_->LiveTextureCount(), 0u);

  // The next good load clears the code.
  LoadSprite(SaveBmp("second.bmp", Picture(8, 8, {5, 5, 5})), 7);
  EXPECT_EQ(RuntimeError().code, kErrorSuccess);
}

// Which files each decoder refuses is decoders_test's; here, what a refused file does to a slot.
TEST_F(SpriteLoading, EveryKindOfBadFileLeavesTheSlotEmptyAndTheProgramGoesOn) {
  const std::vector<uint8_t> bmp = EncodeBmp(Picture(16, 16, {1, 1, 1}));
  const std::vector<std::vector<uint8_t>> files = {
      {},
      std::vector<uint8_t>(bmp.begin(), bmp.begin() + 60),
      {'G', 'I', 'F', '8', '9', 'a'},
  };
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string path = folder_.Write("bad" + std::to_string(i), files[i]);
    LoadSprite(SaveBmp("good.bmp", Picture(8, 8, {5, 5, 5})), 9);
    ASSERT_EQ(SpriteSize(9).width, 8);
    ::testing::internal::CaptureStdout();
    LoadSprite(path, 9);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(RuntimeError().code, kErrorNoSuchFile) << "file " << i;
    EXPECT_EQ(SpriteSize(9).width, 0) << "file " << i;
    EXPECT_TRUE(Record(9).Empty()) << "file " << i;
  }
  EXPECT_EQ(recorder_->LiveTextureCount(), 0u);
}

TEST_F(SpriteLoading, ReservedAndNegativeSlotsAreRefused) {
  const std::string path = SaveBmp("tile.bmp", Picture(8, 8, {5, 5, 5}));
  for (int slot : {-1, 0xFFE0, 0x7FFFFFFF}) {
    LoadSprite(path, slot);
    EXPECT_EQ(RuntimeError().code, kErrorNoSuchFile) << slot;
    EXPECT_EQ(SpriteSize(slot).width, 0) << slot;
  }
  LoadSprite(path, 0xFFDF);
  EXPECT_EQ(RuntimeError().code, kErrorSuccess);
  EXPECT_EQ(recorder_->LiveTextureCount(), 2u);
}

// Every level is from 1 x 1 to the size cap; the levels of all textures fit the budget, to the
// byte, and a deleted texture gives its bytes back.
TEST(RecordingRenderer, TexturesStayWithinTheSizeCapAndTheBudget) {
  graphics::RecordingRenderer renderer(64, 64 * 64 * 4 + 2 * 2 * 4);
  const std::vector<uint8_t> texels(65 * 65 * 4);
  const auto create = [&](std::vector<graphics::TextureLevel> levels) {
    return renderer.CreateTexture(graphics::TextureKind::kMipmapped, levels);
  };
  for (const graphics::TextureLevel& bad :
       std::vector<graphics::TextureLevel>{{0, 1, texels.data()},
                                           {1, 0, texels.data()},
                                           {65, 1, texels.data()},
                                           {1, 65, texels.data()},
                                           {1, 1, nullptr}}) {
    EXPECT_EQ(create({{1, 1, texels.data()}, bad}), 0u) << bad.width << " x " << bad.height;
  }
  EXPECT_EQ(create({}), 0u);
  const uint32_t whole = create({{64, 64, texels.data()}});
  EXPECT_NE(whole, 0u);
  EXPECT_NE(create({{2, 1, texels.data()}, {1, 2, texels.data()}}), 0u);
  EXPECT_EQ(create({{1, 1, texels.data()}}), 0u);
  renderer.DeleteTexture(whole);
  EXPECT_NE(create({{1, 1, texels.data()}}), 0u);
  EXPECT_EQ(renderer.TextureBytes(), 2 * 2 * 4 + 4u);
}

TEST_F(SpriteLoading, ImagesLargerThanTheRendererAllowsAreClamped) {
  UseRenderer(64);
  Picture picture(100, 40, {5, 5, 5});
  LoadSprite(SaveBmp("wide.bmp", picture), 0);
  ASSERT_EQ(RuntimeError().code, kErrorSuccess);
  EXPECT_EQ(SpriteSize(0).width, 64);
  EXPECT_EQ(SpriteSize(0).height, 40);
  EXPECT_EQ(Record(0).textureWidth, 64);
  EXPECT_EQ(Record(0).textureHeight, 64);
  EXPECT_FLOAT_EQ(Record(0).uExtent, 1.0f);
  EXPECT_FLOAT_EQ(Record(0).vExtent, 0.625f);
}

TEST_F(SpriteLoading, ATextureTheRendererCannotHoldEmptiesTheSlot) {
  // Room for the 32 x 32 plain texture (4 KiB) but not for its mipmapped twin as well.
  UseRenderer(8192, 4096 + 1000);
  LoadSprite(SaveBmp("tile.bmp", Picture(32, 32, {5, 5, 5})), 0);
  EXPECT_EQ(RuntimeError().code, kErrorNoSuchFile);
  EXPECT_TRUE(Record(0).Empty());
  EXPECT_EQ(recorder_->LiveTextureCount(), 0u);
  EXPECT_EQ(recorder_->TextureBytes(), 0u);
}

// Each picture may reach the size cap, but all of them together are held to 32 Mi texels:
// a few small files inflating to the cap each would otherwise take gigabytes.
TEST_F(SpriteLoading, PicturesTogetherStayWithinTheirBudget) {
  const std::string large = SaveBmp("large.bmp", Picture(4096, 4096, {5, 5, 5}));
  const std::string small = SaveBmp("small.bmp", Picture(8, 8, {5, 5, 5}));
  LoadSprite(large, 0);
  LoadSprite(large, 1);
  ASSERT_EQ(RuntimeError().code, kErrorSuccess);
  ::testing::internal::CaptureStderr();
  LoadSprite(small, 2);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                "small.bmp not loaded: with it, the pictures would pass 32 million texels"),
            std::string::npos);
  EXPECT_EQ(RuntimeError().code, kErrorNoSuchFile);
  LoadSprite(small, 1);  // a slot's old picture no longer counts
  LoadSprite(small, 2);
  EXPECT_EQ(RuntimeError().code, kErrorSuccess);
  EXPECT_EQ(recorder_->LiveTextureCount(), 6u);
}

// The collision test between frames.
constexpr Rgb kKey{255, 0, 128};  // the default transparent colour
constexpr Rgb kSolid{40, 200, 90};

class Collision : public HeadlessGraphicsTest {
 protected:
  void Load(int slot, const Picture& picture) {
    LoadSprite(SaveBmp("p" + std::to_string(slot) + ".bmp", picture), slot);
    ASSERT_EQ(RuntimeError().code, kErrorSuccess);
  }
};

// Against a direct reading of the pictures: random shapes at random offsets.
TEST_F(Collision, AgreesWithAPixelByPixelComparisonOfThePictures) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> coin(0, 9);
  std::uniform_int_distribution<int> offset(-28, 28);
  auto randomPicture = [&](int density) {
    Picture picture(32, 24, kKey);
    for (Rgb& pixel : picture.pixels) {
      if (coin(random) < density) pixel = kSolid;
    }
    return picture;
  };
  int hits = 0;
  for (int round = 0; round < 60; ++round) {
    const Picture a = randomPicture(1 + round % 3);
    const Picture b = randomPicture(1);
    Load(1, a);
    Load(2, b);
    const int dx = offset(random), dy = offset(random);
    bool expected = false;
    for (int y = 0; y < 24 && !expected; ++y) {
      for (int x = 0; x < 32 && !expected; ++x) {
        const int bx = x - dx, by = y - dy;
        expected = a.At(x, y) == kSolid && bx >= 0 && bx < 32 && by >= 0 && by < 24 &&
                   b.At(bx, by) == kSolid;
      }
    }
    hits += expected;
    EXPECT_EQ(AnimCollision(1, 0, 50, 60, 2, 0, 50 + dx, 60 + dy), expected ? 1 : 0)
        << "round " << round << " offset " << dx << "," << dy;
  }
  EXPECT_GT(hits, 5);  // both answers were exercised
  EXPECT_LT(hits, 55);
}

}  // namespace
}  // namespace zrb::testing

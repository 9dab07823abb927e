// Loading files into sprite slots: texture sizes and extents, the colour key, strips,
// failures that leave the slot empty with code 3, and the renderer's limits.
#include "engine/graphics/sprites.h"

#include <png.h>


#include "graphics_fixture.h"

namespace zrb::testing {
namespace {

using SpriteLoading = HeadlessGraphicsTest;

TEST_F(SpriteLoading, StripOf544By192GetsA1024By256Texture) {
  LoadAnim(SaveBmp("back.bmp", Picture(544, 192, {1, 2, 3})), 4, 544, 192);
  EXPECT_EQ(RuntimeError().code, kErrorSuccess);
  const graphics::SpriteRecord& record = Record(4);
  EXPECT_EQ(record.textureWidth, 1024);
  EXPECT_EQ(record.textureHeight, 256);
  EXPECT_FLOAT_EQ(record.uExtent, 0.53125f);
  EXPECT_FLOAT_EQ(record.vExtent, 0.75f);
  EXPECT_EQ(record.frameWidth, 544);
  EXPECT_EQ(record.frameHeight, 192);
  EXPECT_EQ(SpriteSize(4).width, 544);
  EXPECT_EQ(SpriteSize(4).height, 192);

  // Both textures exist: the plain one and the one with every mipmap level down to 1 x 1.
  const graphics::RecordedTexture* plain = recorder_->FindTexture(record.texture);
  const graphics::RecordedTexture* mipmapped = recorder_->FindTexture(record.mipmappedTexture);
  ASSERT_TRUE(plain && mipmapped);
  EXPECT_EQ(plain->levels, 1);
  EXPECT_EQ(mipmapped->levels, 11);
  EXPECT_EQ(mipmapped->kind, graphics::TextureKind::kMipmapped);
}

TEST_F(SpriteLoading, BlackBecomesTransparentAfterSettingTheKeyToBlack) {
  Picture picture(4, 4, {0, 0, 0});
  picture.At(1, 1) = {200, 30, 40};
  picture.At(2, 3) = {1, 0, 0};  // nearly black stays
  const std::string path = SaveBmp("key.bmp", picture);

  SetTransparentColour(0);
  LoadSprite(path, 2);
  const std::vector<uint8_t>& mask = graphics::Graphics().sprites.Find(2)->alphaMask;
  auto alphaAt = [&](int x, int y) { return mask[(4 - 1 - y) * 16 + x]; };
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool opaque = (x == 1 && y == 1) || (x == 2 && y == 3);
      EXPECT_EQ(alphaAt(x, y), opaque ? 255 : 0) << x << "," << y;
    }
  }

  // With the default key (255, 0, 128) black is an ordinary colour.
  SetTransparentColour(graphics::kDefaultTransparentColour);
  LoadSprite(path, 2);
  const std::vector<uint8_t>& opaqueMask = graphics::Graphics().sprites.Find(2)->alphaMask;
  EXPECT_EQ(opaqueMask[3 * 16], 255);
}

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

TEST_F(SpriteLoading, EveryKindOfBadFileLeavesTheSlotEmptyAndTheProgramGoesOn) {
  const std::vector<uint8_t> bmp = EncodeBmp(Picture(16, 16, {1, 1, 1}));
  PngContent greyAlpha{.width = 1, .height = 1, .colourType = PNG_COLOR_TYPE_GRAY_ALPHA};
  greyAlpha.samples = {1, 2};
  const std::vector<uint8_t> jpeg = EncodeJpeg(16, 16, 1, std::vector<uint8_t>(256, 9));
  std::vector<uint8_t> hugeBmp = bmp;
  hugeBmp[19] = hugeBmp[23] = 0x7F;  // 32 512 x 32 512 declared
  const std::vector<std::vector<uint8_t>> files = {
      {},
      std::vector<uint8_t>(bmp.begin(), bmp.begin() + 60),
      hugeBmp,
      EncodePng(greyAlpha),
      std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2),
      {'G', 'I', 'F', '8', '9', 'a'},
  };
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string path = folder_.Path("bad" + std::to_string(i));
    WriteFile(path, files[i]);
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

}  // namespace
}  // namespace zrb::testing

// The table of sprite slots: one record per slot, with the alpha mask the collision test
// reads. Slots are numbered from 0; numbers from 65504 up are reserved.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/graphics/renderer.h"

namespace zrb::graphics {

struct SpriteRecord {
  uint32_t texture = 0;           // 0 when empty
  uint32_t mipmappedTexture = 0;  // same picture with a full mipmap chain; 0 when empty
  float uExtent = 1.0f;           // image width / texture width
  float vExtent = 1.0f;           // image height / texture height
  int textureWidth = -1;          // power of two >= image width; -1 when empty
  int textureHeight = -1;
  int imageWidth = 0;  // 0 when empty
  int imageHeight = 0;
  int frameWidth = 0;  // 0: not a strip
  int frameHeight = 0;

  bool Empty() const { return texture == 0; }
};

struct SpriteSlot {
  SpriteRecord record;
  // One byte per texel, laid out exactly as the texture (row 0 is the image's bottom row):
  // the bytes a read-back of the texture's alpha channel gives. Kept from the upload, so the
  // collision test needs no renderer and works the same in both modes.
  std::vector<uint8_t> alphaMask;
};

class SpriteTable {
 public:
  static constexpr int kFirstReservedSlot = 0xFFE0;

  static bool ValidSlot(int slot) { return slot >= 0 && slot < kFirstReservedSlot; }

  // nullptr for an invalid slot or one never filled.
  const SpriteSlot* Find(int slot) const;
  SpriteSlot* Find(int slot);

  // Empties the slot (textures deleted through `renderer`, mask dropped) and returns it;
  // nullptr for an invalid slot number.
  SpriteSlot* Reset(int slot, Renderer& renderer);

  // Every slot emptied.
  void ReleaseAll(Renderer& renderer);

  // The texels of every filled slot together (each costs its texture, its mipmaps and a byte
  // of mask).
  int64_t TexelsInUse() const;

 private:
  std::vector<SpriteSlot> slots_;
};

}  // namespace zrb::graphics

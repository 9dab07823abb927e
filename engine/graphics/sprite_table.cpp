#include "engine/graphics/sprite_table.h"

namespace zrb::graphics {
namespace {

void Release(SpriteSlot& slot, Renderer& renderer) {
  if (slot.record.texture) renderer.DeleteTexture(slot.record.texture);
  if (slot.record.mipmappedTexture) renderer.DeleteTexture(slot.record.mipmappedTexture);
  slot.record = SpriteRecord{};
  slot.alphaMask = {};
}

}  // namespace

const SpriteSlot* SpriteTable::Find(int slot) const {
  if (slot < 0 || static_cast<size_t>(slot) >= slots_.size()) return nullptr;
  return &slots_[slot];
}

SpriteSlot* SpriteTable::Find(int slot) {
  if (slot < 0 || static_cast<size_t>(slot) >= slots_.size()) return nullptr;
  return &slots_[slot];
}

SpriteSlot* SpriteTable::Reset(int slot, Renderer& renderer) {
  if (!ValidSlot(slot)) return nullptr;
  if (static_cast<size_t>(slot) >= slots_.size()) slots_.resize(static_cast<size_t>(slot) + 1);
  Release(slots_[slot], renderer);
  return &slots_[slot];
}

void SpriteTable::ReleaseAll(Renderer& renderer) {
  for (SpriteSlot& slot : slots_)
    Release(slot, renderer);
  slots_.clear();
}

int64_t SpriteTable::TexelsInUse() const {
  int64_t texels = 0;
  for (const SpriteSlot& slot : slots_)
    texels += static_cast<int64_t>(slot.alphaMask.size());
  return texels;
}

}  // namespace zrb::graphics

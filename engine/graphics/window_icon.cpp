// The window's icon, decoded by the same PNG reader the sprites use.
#include "engine/graphics/decoded_image.h"
#include "engine/graphics/graphics_system.h"
#include "engine/graphics/png_decoder.h"
#include "engine/platform/window.h"

namespace zrb::graphics {

bool SetWindowIconPng(std::span<const uint8_t> png) {
  DecodedImage icon;
  if (!DecodePng(png, Rgb{}, "window icon", icon)) return false;
  platform::SetWindowIcon(icon.rgba.data(), icon.width, icon.height);
  return true;
}

}  // namespace zrb::graphics

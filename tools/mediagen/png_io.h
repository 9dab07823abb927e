// PNG in and out through libpng. Written files carry no time stamp, so the same picture
// always gives the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mediagen/image.h"

namespace mediagen {

std::vector<uint8_t> EncodePng(const Image& image);  // RGBA, 8 bits a channel
// Throws std::runtime_error with a message naming the file.
Image DecodePng(const std::vector<uint8_t>& bytes, const std::string& name);
Image ReadPng(const std::filesystem::path& path);

void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);

}  // namespace mediagen

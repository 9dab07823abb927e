#include "engine/values/engine_string.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <new>

#include "engine/values/number_text.h"

namespace zrb {
namespace {

const char kSharedEmpty[1] = {'\0'};

// Characters up to the first zero byte: the text model ends a text there.
std::string_view UpToZero(std::string_view text) {
  const size_t zero = text.find('\0');
  return zero == std::string_view::npos ? text : text.substr(0, zero);
}

uint32_t CheckedLength(size_t length) {
  // Leave room for the terminator and the 16-byte rounding in 32-bit arithmetic.
  if (length > UINT32_MAX - 32) throw std::bad_alloc();
  return static_cast<uint32_t>(length);
}

int CompareBytes(const char* left, const char* right) noexcept {
  return std::strcmp(left, right);
}

std::strong_ordering OrderFromCompare(int result) noexcept {
  return result < 0 ? std::strong_ordering::less
                    : (result > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
}

EngineString MapBytes(std::string_view source, int (*map)(int)) {
  EngineString result(source);
  result.Overwrite(result.Capacity(), [&](char* buffer, uint32_t) {
    const std::string_view text = UpToZero(source);
    for (size_t i = 0; i < text.size(); ++i) {
      buffer[i] = static_cast<char>(map(static_cast<unsigned char>(text[i])));
    }
    buffer[text.size()] = '\0';
  });
  return result;
}

}  // namespace

const char* EngineString::SharedEmptyText() noexcept {
  return kSharedEmpty;
}

EngineString::EngineString(const char* text)
    : EngineString(text ? std::string_view(text) : std::string_view()) {}

EngineString::EngineString(std::string_view text) {
  Assign(text);
}

EngineString::EngineString(const EngineString& other) {
  Assign(other);
}

EngineString::EngineString(EngineString&& other) noexcept
    : buffer_(std::move(other.buffer_)), capacity_(other.capacity_), length_(other.length_) {
  other.capacity_ = 0;
  other.length_ = 0;
}

EngineString& EngineString::operator=(const EngineString& other) {
  if (this == &other) return *this;
  return Assign(other);
}

EngineString& EngineString::operator=(EngineString&& other) noexcept {
  if (this == &other) return *this;
  if (other.length_ < capacity_) {
    // Fits: copying keeps this value's (larger or equal) buffer.
    std::memcpy(buffer_.get(), other.c_str(), other.length_ + 1);
    length_ = other.length_;
  } else {
    buffer_ = std::move(other.buffer_);
    capacity_ = other.capacity_;
    length_ = other.length_;
    other.capacity_ = 0;
    other.length_ = 0;
  }
  return *this;
}

EngineString& EngineString::operator=(const char* text) {
  return Assign(text ? std::string_view(text) : std::string_view());
}

EngineString& EngineString::Assign(std::string_view text) {
  text = UpToZero(text);
  const uint32_t n = CheckedLength(text.size());
  if (n == 0) {
    if (buffer_) buffer_[0] = '\0';
    length_ = 0;
    return *this;
  }
  // A view into the own buffer is shorter than the capacity, so it is never reallocated
  // away before the move below.
  Reserve(n, /*keepText=*/false);
  std::memmove(buffer_.get(), text.data(), n);
  buffer_[n] = '\0';
  length_ = n;
  return *this;
}

EngineString& EngineString::operator+=(std::string_view text) {
  text = UpToZero(text);
  if (text.empty()) return *this;
  const uint32_t added = CheckedLength(text.size());
  const uint32_t n = CheckedLength(static_cast<size_t>(length_) + added);
  if (n + 1 > capacity_) {
    // Build the grown buffer before letting go of the old one: the text may be a view of it.
    const uint32_t size = BufferSizeFor(n);
    auto grown = std::make_unique_for_overwrite<char[]>(size);
    std::memcpy(grown.get(), c_str(), length_);
    std::memcpy(grown.get() + length_, text.data(), added);
    buffer_ = std::move(grown);
    capacity_ = size;
  } else {
    std::memmove(buffer_.get() + length_, text.data(), added);
  }
  buffer_[n] = '\0';
  length_ = n;
  return *this;
}

EngineString& EngineString::operator+=(int32_t number) {
  return *this += std::string_view(ToText(number));
}

EngineString& EngineString::operator+=(double number) {
  return *this += std::string_view(ToText(number));
}

void EngineString::Destroy() noexcept {
  buffer_.reset();
  capacity_ = 0;
  length_ = 0;
}

void EngineString::Reserve(uint32_t n, bool keepText) {
  if (n == 0 || n + 1 <= capacity_) return;
  const uint32_t size = BufferSizeFor(n);
  auto grown = std::make_unique_for_overwrite<char[]>(size);
  if (keepText) {
    std::memcpy(grown.get(), c_str(), length_ + 1);
  } else {
    grown[0] = '\0';
    length_ = 0;
  }
  buffer_ = std::move(grown);
  capacity_ = size;
}

void EngineString::ReserveBytes(uint32_t bufferSize) {
  if (bufferSize == 0 || bufferSize <= capacity_) return;
  if (bufferSize > UINT32_MAX - 16) throw std::bad_alloc();
  const uint32_t size = (bufferSize + 15) & ~15u;
  buffer_ = std::make_unique_for_overwrite<char[]>(size);
  buffer_[0] = '\0';
  capacity_ = size;
  length_ = 0;
}

void EngineString::Rescan() noexcept {
  if (!buffer_) {
    length_ = 0;
    return;
  }
  const void* zero = std::memchr(buffer_.get(), '\0', capacity_);
  if (zero) {
    length_ = static_cast<uint32_t>(static_cast<const char*>(zero) - buffer_.get());
  } else {
    buffer_[capacity_ - 1] = '\0';
    length_ = capacity_ - 1;
  }
}

EngineString operator+(const EngineString& left, const EngineString& right) {
  EngineString result(left);
  result += right;
  return result;
}

EngineString operator+(const char* left, const EngineString& right) {
  EngineString result(left);
  result += right;
  return result;
}

EngineString operator+(const EngineString& left, const char* right) {
  EngineString result(left);
  result += right;
  return result;
}

EngineString operator+(const EngineString& left, int32_t right) {
  return left + ToText(right);
}

EngineString operator+(int32_t left, const EngineString& right) {
  return ToText(left) + right;
}

EngineString operator+(const EngineString& left, double right) {
  return left + ToText(right);
}

EngineString operator+(double left, const EngineString& right) {
  return ToText(left) + right;
}

bool operator==(const EngineString& left, const EngineString& right) noexcept {
  return CompareBytes(left.c_str(), right.c_str()) == 0;
}

bool operator==(const EngineString& left, const char* right) noexcept {
  return CompareBytes(left.c_str(), right ? right : "") == 0;
}

std::strong_ordering operator<=>(const EngineString& left, const EngineString& right) noexcept {
  return OrderFromCompare(CompareBytes(left.c_str(), right.c_str()));
}

std::strong_ordering operator<=>(const EngineString& left, const char* right) noexcept {
  return OrderFromCompare(CompareBytes(left.c_str(), right ? right : ""));
}

bool operator==(int32_t left, const EngineString& right) noexcept {
  return left == TextToInt(right);
}

std::strong_ordering operator<=>(int32_t left, const EngineString& right) noexcept {
  return left <=> TextToInt(right);
}

bool operator==(double left, const EngineString& right) noexcept {
  return left == TextToDouble(right);
}

std::partial_ordering operator<=>(double left, const EngineString& right) noexcept {
  return left <=> TextToDouble(right);
}

EngineString Mid(std::string_view source, int32_t start, int32_t count) {
  source = UpToZero(source);
  const int64_t length = static_cast<int64_t>(source.size());
  int64_t take = count < 0 ? length : count;
  if (static_cast<int64_t>(start) + take > length) take = length - start;
  if (take <= 0 || start >= length || start < 0) return EngineString();
  return EngineString(source.substr(static_cast<size_t>(start), static_cast<size_t>(take)));
}

EngineString LowerCase(std::string_view source) {
  return MapBytes(source, [](int c) { return std::tolower(c); });
}

EngineString UpperCase(std::string_view source) {
  return MapBytes(source, [](int c) { return std::toupper(c); });
}

int32_t Find(std::string_view haystack, std::string_view needle, int32_t start) {
  const int64_t length = static_cast<int64_t>(haystack.size());
  const int64_t from = std::max<int64_t>(start, 0);
  if (from >= length) return -1;
  const int64_t stretch = length - from;
  const int64_t n = static_cast<int64_t>(needle.size());
  if (n == 0 || n > stretch) return -1;
  const auto* text = reinterpret_cast<const unsigned char*>(haystack.data());
  const auto* pattern = reinterpret_cast<const unsigned char*>(needle.data());
  if (n == stretch) {
    return std::memcmp(text + from, pattern, static_cast<size_t>(n)) == 0
               ? static_cast<int32_t>(from)
               : -1;
  }
  // Boyer-Moore-Horspool: on a mismatch the window jumps by how far the byte under its
  // last position lies from the needle's end (the needle's length when it does not occur).
  std::array<int64_t, 256> skip;
  skip.fill(n);
  for (int64_t p = 0; p + 1 < n; ++p)
    skip[pattern[p]] = n - 1 - p;
  const unsigned char last = pattern[n - 1];
  for (int64_t pos = from; pos + n <= length; pos += skip[text[pos + n - 1]]) {
    if (text[pos + n - 1] != last) continue;
    int64_t i = n - 2;
    while (i >= 0 && text[pos + i] == pattern[i])
      --i;
    if (i < 0) return static_cast<int32_t>(pos);
  }
  return -1;
}

}  // namespace zrb

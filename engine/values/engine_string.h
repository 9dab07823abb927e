// The engine's text value: bytes ending in a zero byte, owned alone by each value.
#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <string_view>

namespace zrb {

// Every value owns its buffer and copies deeply; there is no sharing. Buffers come in
// multiples of 16 bytes and never shrink, so a variable rebuilt every frame (a score line,
// the status bar) stops allocating once it has reached its size. Values that own nothing
// point at one shared empty text.
//
// The value converts to std::string_view, so every engine operation that takes a text
// accepts it directly. Characters stop at the first zero byte: a text given with an inner
// zero keeps only what precedes it.
class EngineString {
 public:
  EngineString() noexcept = default;
  // Implicit so that literals mix with values: PrintText("score|" + digits, 1, 16).
  EngineString(const char* text);  // NOLINT(google-explicit-constructor)
  explicit EngineString(std::string_view text);
  EngineString(const EngineString& other);
  // Takes the other's buffer; the other is left empty.
  EngineString(EngineString&& other) noexcept;
  ~EngineString() = default;

  // Assignment reuses the buffer when it is large enough; an empty source keeps the
  // buffer and writes a zero byte at its start.
  EngineString& operator=(const EngineString& other);
  // Copies into the own buffer when it fits (so capacity never shrinks), else takes the
  // other's buffer.
  EngineString& operator=(EngineString&& other) noexcept;
  EngineString& operator=(const char* text);
  EngineString& Assign(std::string_view text);

  // Appending keeps the characters and grows by the 16-byte rule.
  EngineString& operator+=(std::string_view text);
  EngineString& operator+=(const EngineString& text) { return *this += std::string_view(text); }
  EngineString& operator+=(const char* text) { return *this += std::string_view(text ? text : ""); }
  EngineString& operator+=(int32_t number);
  EngineString& operator+=(double number);
  EngineString& operator+=(char) = delete;  // a character is not a number here
  EngineString& operator+=(bool) = delete;

  const char* c_str() const noexcept { return buffer_ ? buffer_.get() : SharedEmptyText(); }
  operator std::string_view() const noexcept { return {c_str(), length_}; }  // NOLINT
  uint32_t Length() const noexcept { return length_; }
  uint32_t Capacity() const noexcept { return capacity_; }
  bool Empty() const noexcept { return length_ == 0; }
  // True while the value owns no buffer and shows the shared empty text.
  bool UsesSharedEmpty() const noexcept { return !buffer_; }

  // Frees an owned buffer; the value becomes the shared empty text.
  void Destroy() noexcept;

  // Lets a writer fill the buffer directly (number conversion): makes sure the buffer
  // holds at least bufferSize bytes (a fresh buffer gets exactly that, rounded up to 16)
  // without keeping the old characters, calls writer(buffer, capacity), then finds the
  // length by scanning for the zero byte. A writer that leaves no zero byte within the
  // capacity gets the last byte turned into one.
  template <typename Writer>
  void Overwrite(uint32_t bufferSize, Writer&& writer) {
    ReserveBytes(bufferSize);
    if (!buffer_) return;
    writer(buffer_.get(), capacity_);
    Rescan();
  }

  // The shared text every empty value shows: a single zero byte.
  static const char* SharedEmptyText() noexcept;
  // Bytes allocated for a value that must hold n characters: ((n + 1) rounded down to a
  // multiple of 16) + 16.
  static uint32_t BufferSizeFor(uint32_t n) noexcept { return ((n + 1) & ~15u) + 16; }

 private:
  // Makes room for n characters and the terminator. Growing allocates a new buffer and
  // copies the old characters into it only when keepText is set.
  void Reserve(uint32_t n, bool keepText);
  void ReserveBytes(uint32_t bufferSize);
  void Rescan() noexcept;

  std::unique_ptr<char[]> buffer_;
  uint32_t capacity_ = 0;
  uint32_t length_ = 0;
};

// Concatenation: the left text followed by the right one; numbers become text first.
EngineString operator+(const EngineString& left, const EngineString& right);
EngineString operator+(const char* left, const EngineString& right);
EngineString operator+(const EngineString& left, const char* right);
EngineString operator+(const EngineString& left, int32_t right);
EngineString operator+(int32_t left, const EngineString& right);
EngineString operator+(const EngineString& left, double right);
EngineString operator+(double left, const EngineString& right);
EngineString operator+(const EngineString&, char) = delete;
EngineString operator+(char, const EngineString&) = delete;
EngineString operator+(const EngineString&, bool) = delete;
EngineString operator+(bool, const EngineString&) = delete;

// Text comparisons are strcmp's: bytes compared as unsigned values.
bool operator==(const EngineString& left, const EngineString& right) noexcept;
bool operator==(const EngineString& left, const char* right) noexcept;
std::strong_ordering operator<=>(const EngineString& left, const EngineString& right) noexcept;
std::strong_ordering operator<=>(const EngineString& left, const char* right) noexcept;

// A number compared with a text compares numbers: the text is read with the atoi rules
// (whole numbers) or the atof rules (doubles), so 12 equals "12abc".
bool operator==(int32_t left, const EngineString& right) noexcept;
std::strong_ordering operator<=>(int32_t left, const EngineString& right) noexcept;
bool operator==(double left, const EngineString& right) noexcept;
std::partial_ordering operator<=>(double left, const EngineString& right) noexcept;

// The count characters from zero-based start. A negative count means "to the end"; a start
// outside the text or nothing left to take gives the empty value.
EngineString Mid(std::string_view source, int32_t start, int32_t count);
// Copies with every byte passed through tolower / toupper (only A-Z and a-z change).
EngineString LowerCase(std::string_view source);
EngineString UpperCase(std::string_view source);
// Zero-based index of the first occurrence of needle that begins at or after start, or -1.
// An empty needle is never found. A negative start searches from the beginning.
int32_t Find(std::string_view haystack, std::string_view needle, int32_t start);

namespace literals {
// "Round "_es + round: a literal that is already a value, so numbers append as text.
inline EngineString operator""_es(const char* text, std::size_t length) {
  return EngineString(std::string_view(text, length));
}
}  // namespace literals

}  // namespace zrb

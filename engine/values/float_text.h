// Doubles to decimal text and back, exactly: the standard library's to_chars and from_chars
// where it has them for floating point, and otherwise (the browser build's libc++ has only the
// integer ones) the C library's printf and strtod, which are exact too, shaped to give the same
// text and the same answers.
#pragma once

namespace zrb::values {

enum class ParseStatus {
  kOk,
  kInvalid,     // no number at the start
  kOutOfRange,  // a number, but it rounds to infinity or to zero
};

struct ParsedDouble {
  const char* end = nullptr;  // just past the number
  ParseStatus status = ParseStatus::kInvalid;
};

// Each writes into [first, last) without a terminating zero and returns the end of the text,
// or nullptr when it does not fit. The value is finite.
// "d.ddde+xx" with `precision` digits after the point (std::chars_format::scientific).
char* FormatScientific(char* first, char* last, double value, int precision);
// "ddd.ddd" with `decimals` digits after the point (std::chars_format::fixed).
char* FormatFixed(char* first, char* last, double value, int decimals);
// The shortest text that reads back as the same value, plain or with an exponent, whichever
// is shorter (plain on a tie), as to_chars without a format gives.
char* FormatShortest(char* first, char* last, double value);

// A decimal number at `first`: digits, an optional point and digits, and, when
// `allowExponent`, an optional exponent (std::chars_format::general or ::fixed). No sign, no
// spaces, no hexadecimal, no infinity or NaN words.
ParsedDouble ParseDecimal(const char* first, const char* last, double& value, bool allowExponent);

// The C library versions themselves, so they can be checked against the standard library's
// where both exist.
namespace c_library {
char* FormatScientific(char* first, char* last, double value, int precision);
char* FormatFixed(char* first, char* last, double value, int decimals);
char* FormatShortest(char* first, char* last, double value);
ParsedDouble ParseDecimal(const char* first, const char* last, double& value, bool allowExponent);
}  // namespace c_library

}  // namespace zrb::values

#include "util/text_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace tallyhawk {
namespace {

std::string PrintF(const char* format, int precision, double value) {
  int size = std::snprintf(nullptr, 0, format, precision, value);
  std::string text(static_cast<size_t>(size), '\0');
  std::snprintf(text.data(), text.size() + 1, format, precision, value);
  return text;
}

// Adds one unit in the last digit of a decimal text such as "-12.99".
void IncrementLastDigit(std::string& text) {
  for (size_t i = text.size(); i-- > 0;) {
    char& c = text[i];
    if (c == '.') continue;
    if (c < '0' || c > '9') {  // the sign: every digit carried over
      text.insert(i + 1, 1, '1');
      return;
    }
    if (c != '9') {
      ++c;
      return;
    }
    c = '0';
  }
  text.insert(0, 1, '1');
}

// Correctly rounded fixed notation (exact ties are the caller's business).
std::string ToFixedChars(double value, int decimals) {
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                              std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return PrintF("%.*f", decimals, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string FormatUnsigned(uint64_t value) { return std::to_string(value); }

std::string FormatFixed(double value, int decimals) {
  // A value exactly halfway between two results has at most decimals + 1
  // binary fraction digits, so with decimals + 1 decimal digits it prints
  // exactly. Every other value is rounded correctly by printf.
  double scaled = std::ldexp(value, decimals + 1);
  if (std::isfinite(value) && scaled == std::trunc(scaled)) {
    std::string exact = ToFixedChars(value, decimals + 1);
    if (exact.back() == '5') {
      exact.pop_back();
      if (exact.back() == '.') exact.pop_back();
      IncrementLastDigit(exact);
      return exact;
    }
  }
  return ToFixedChars(value, decimals);
}

std::string FormatGeneral(double value) {
  constexpr int kDigits = 6;
  if (value == 0 || !std::isfinite(value))
    return PrintF("%.*g", kDigits, value);
  // Every double has at most 767 significant decimal digits, so this prints
  // its exact value; rounding is then done on the digits.
  std::string exact = PrintF("%.*e", 800, value);
  size_t e_pos = exact.find('e');
  int exponent = std::stoi(exact.substr(e_pos + 1));
  bool negative = exact[0] == '-';
  // "d.ddd...": drop the point after the first digit.
  std::string digits =
      exact.substr(negative ? 1 : 0, e_pos - (negative ? 1 : 0));
  digits.erase(1, 1);
  bool round_up = digits.size() > kDigits && digits[kDigits] >= '5';
  digits.resize(kDigits);
  if (round_up) {
    IncrementLastDigit(digits);
    if (digits.size() > kDigits) {  // 999999.5 became 1000000
      digits.pop_back();
      ++exponent;
    }
  }
  std::string text;
  if (exponent < -4 || exponent >= kDigits) {
    text = digits.substr(0, 1) + "." + digits.substr(1);
  } else if (exponent >= 0) {
    text = digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
  } else {
    text = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  }
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (exponent < -4 || exponent >= kDigits) {
    std::string number = std::to_string(exponent < 0 ? -exponent : exponent);
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    text += (exponent < 0 ? "e-" : "e+") + number;
  }
  return negative ? "-" + text : text;
}

std::string DateText(const LocalTime& time) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed",
                                      "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr",
                                        "May", "Jun", "Jul", "Aug",
                                        "Sep", "Oct", "Nov", "Dec"};
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %d\n",
                kDays[(time.weekday % 7 + 7) % 7],
                kMonths[(time.month % 12 + 12) % 12], time.day, time.hour,
                time.minute, time.second, time.year);
  return text;
}

}  // namespace tallyhawk

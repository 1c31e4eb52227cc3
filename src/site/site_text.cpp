#include "site/site_text.h"

#include <charconv>

#include "util/text_format.h"

namespace tallyhawk {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The code points that an HTML page may not hold as text.
bool IsControl(uint32_t code_point) {
  if (code_point == '\t' || code_point == '\n') return false;
  return code_point < 0x20 || (code_point >= 0x7F && code_point < 0xA0);
}

void AppendCodePoint(std::string& out, uint32_t code_point) {
  if (IsControl(code_point)) {
    out.append(kReplacement);
  } else if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

// The code point of the UTF-8 sequence at the start of `text`, and its
// length; length 0 when no well-formed sequence starts there (overlong
// forms, surrogates and values above U+10FFFF included).
uint32_t DecodeUtf8(std::string_view text, size_t* length) {
  const auto byte = [&](size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  *length = 0;
  const unsigned char lead = byte(0);
  if (lead < 0x80) return *length = 1, lead;
  size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (size == 0 || lead > 0xF4 || text.size() < size) return 0;
  uint32_t code_point = lead & (0x7F >> size);
  for (size_t i = 1; i < size; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code_point = (code_point << 6) | (byte(i) & 0x3F);
  }
  constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code_point < kSmallest[size] || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point < 0xE000)) {
    return 0;
  }
  *length = size;
  return code_point;
}

bool IsUnreserved(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
}

std::string PercentEncoded(std::string_view text, bool keep_slash) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (IsUnreserved(c) || (keep_slash && c == '/')) {
      out.push_back(c);
    } else {
      const auto byte = static_cast<unsigned char>(c);
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0xF]);
    }
  }
  return out;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size() + latin1.size() / 4);
  for (char c : latin1) AppendCodePoint(out, static_cast<unsigned char>(c));
  return out;
}

std::string SettingToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    size_t length = 0;
    const uint32_t code_point = DecodeUtf8(text.substr(at), &length);
    if (length == 0) return Latin1ToUtf8(text);
    AppendCodePoint(out, code_point);
    at += length;
  }
  return out;
}

std::string BelowRoot(std::string_view path, std::string_view root) {
  if (!path.starts_with(root)) return "";
  std::string below(path.substr(root.size()));
  for (char& c : below) {
    if (c == '\\') c = '/';
  }
  return below;
}

std::string PageHref(std::string_view below_root, int depth) {
  std::string href;
  for (int i = 0; i < depth; ++i) href += "../";
  return href + PercentEncoded(below_root, true);
}

std::string FragmentHref(std::string_view fragment) {
  return PercentEncoded(fragment, false);
}

std::string StyleSheetHref(std::string_view style_sheet, int depth) {
  const bool relative = !style_sheet.empty() && style_sheet[0] != '/' &&
                        style_sheet[0] != '\\' &&
                        style_sheet.find(':') == std::string_view::npos;
  if (!relative) return std::string(style_sheet);
  std::string href;
  for (int i = 0; i < depth; ++i) href += "../";
  return href.append(style_sheet);
}

std::string PageFileName(uint32_t id) { return FormatUnsigned(id) + ".html"; }

bool ParsePageFileName(std::string_view name, uint32_t* id) {
  constexpr std::string_view kExtension = ".html";
  if (!name.ends_with(kExtension)) return false;
  const std::string_view digits =
      name.substr(0, name.size() - kExtension.size());
  // Exactly the digits FormatUnsigned writes: no sign, no leading zero.
  if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) return false;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), *id);
  return error == std::errc() && end == digits.data() + digits.size();
}

}  // namespace tallyhawk

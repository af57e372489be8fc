#include "text/TextCodec.h"

#include <array>
#include <cstdint>

namespace tessaro::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at bytes[i]; returns the code point and advances
// i, or returns nullopt (i unchanged) for an invalid sequence.
std::optional<char32_t> NextCodePoint(std::string_view bytes, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1Fu, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0Fu, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07u, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (i + length > bytes.size()) return std::nullopt;
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char c = byte(i + k);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3Fu);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  i += length;
  return cp;
}

void AppendCodePoint(std::wstring& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

[[maybe_unused]] bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
[[maybe_unused]] bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// 0x80..0x9F of Windows-1252; 0 marks the five undefined bytes.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    if (!NextCodePoint(bytes, i)) return false;
  }
  return true;
}

std::optional<std::wstring> DecodeUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto cp = NextCodePoint(bytes, i);
    if (!cp) return std::nullopt;
    AppendCodePoint(out, *cp);
  }
  return out;
}

namespace {

// Valid UTF-8 as usual; each byte that starts no valid sequence becomes what
// `invalid` makes of it.
template <typename Invalid>
std::wstring DecodeLeniently(std::string_view bytes, Invalid invalid) {
  std::wstring out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    if (const auto cp = NextCodePoint(bytes, i)) {
      AppendCodePoint(out, *cp);
    } else {
      AppendCodePoint(out, invalid(static_cast<unsigned char>(bytes[i])));
      ++i;
    }
  }
  return out;
}

}  // namespace

std::wstring DecodeUtf8Lossy(std::string_view bytes) {
  return DecodeLeniently(bytes, [](unsigned char) { return kReplacement; });
}

std::string EncodeUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto cp = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (IsHighSurrogate(cp) && i + 1 < text.size() &&
          IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
        ++i;
      }
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
    AppendUtf8(out, cp);
  }
  return out;
}

namespace {

constexpr char32_t kEscapeBase = 0xDC00;

bool IsEscapedByte(char32_t c) { return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF; }

}  // namespace

std::wstring DecodeFileName(std::string_view bytes) {
  // Invalid sequences start at a byte >= 0x80: ASCII always decodes.
  return DecodeLeniently(
      bytes, [](unsigned char byte) { return static_cast<char32_t>(kEscapeBase + byte); });
}

std::string EncodeFileName(std::wstring_view name) {
  std::string out;
  out.reserve(name.size());
  std::size_t plain = 0;  // start of the run not yet encoded
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<char32_t>(name[i]);
    if (!IsEscapedByte(c)) continue;
    out += EncodeUtf8(name.substr(plain, i - plain));
    out.push_back(static_cast<char>(c - kEscapeBase));
    plain = i + 1;
  }
  out += EncodeUtf8(name.substr(plain));
  return out;
}

std::wstring DisplayFileName(std::wstring_view name) {
  std::wstring out(name);
  for (auto& c : out) {
    if (IsEscapedByte(static_cast<char32_t>(c))) c = static_cast<wchar_t>(kReplacement);
  }
  return out;
}

std::wstring DecodeWindows1252(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80] != 0) {
      out.push_back(static_cast<wchar_t>(kCp1252High[b - 0x80]));
    } else {
      out.push_back(static_cast<wchar_t>(b));
    }
  }
  return out;
}

std::string EscapeBytes(std::string_view bytes, Verbatim verbatim) {
  static constexpr char kHex[] = "0123456789abcdef";
  const bool asciiOnly = verbatim == Verbatim::kPrintableAscii;
  std::string shown;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      shown += "\\n";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == '\\' && asciiOnly) {
      shown += "\\\\";
    } else if (byte < 0x20 || byte == 0x7f || (byte > 0x7f && asciiOnly)) {
      shown += "\\x";
      shown += kHex[byte >> 4U];
      shown += kHex[byte & 0xfU];
    } else {
      shown += c;
    }
  }
  return shown;
}

std::size_t CodePointCount(std::wstring_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if constexpr (sizeof(wchar_t) == 2) {
      if (IsHighSurrogate(static_cast<char32_t>(text[i])) && i + 1 < text.size() &&
          IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
        ++i;
      }
    }
    ++count;
  }
  return count;
}

std::wstring DecodeUtf16Le(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size() / 2 + 1);
  const auto unitAt = [bytes](std::size_t i) {
    return static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) |
           (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8U);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const unsigned unit = unitAt(i);
    if constexpr (sizeof(wchar_t) > 2) {
      if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
        const unsigned low = unitAt(i + 2);
        if (low >= 0xDC00 && low < 0xE000) {
          out += static_cast<wchar_t>(0x10000U + ((unit - 0xD800U) << 10U) + (low - 0xDC00U));
          i += 2;
          continue;
        }
      }
    }
    out += static_cast<wchar_t>(unit);
  }
  if (i < bytes.size()) out += L'\xFFFD';  // odd trailing byte
  return out;
}

std::string EncodeUtf16Le(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  const auto put = [&bytes](unsigned unit) {
    bytes += static_cast<char>(unit & 0xFFU);
    bytes += static_cast<char>(unit >> 8U);
  };
  for (const wchar_t c : text) {
    const auto u = static_cast<unsigned long>(c);
    if (u > 0x10FFFF) {
      put(0xFFFD);
    } else if (u > 0xFFFF) {
      put(static_cast<unsigned>(0xD800UL + ((u - 0x10000UL) >> 10U)));
      put(static_cast<unsigned>(0xDC00UL + ((u - 0x10000UL) & 0x3FFUL)));
    } else {
      put(static_cast<unsigned>(u));
    }
  }
  return bytes;
}

}  // namespace tessaro::text

#include "ui/qt_text.h"

namespace kestrum::ui {

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    int follow = 0;
    char32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      follow = 1;
      code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      follow = 2;
      code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      follow = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<size_t>(follow) >= n) return false;  // cut short
    for (int k = 1; k <= follow; ++k) {
      const auto f = static_cast<unsigned char>(bytes[i + k]);
      if ((f & 0xC0) != 0x80) return false;
      code = (code << 6) | (f & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[follow] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += static_cast<size_t>(follow) + 1;
  }
  return true;
}

QString ToQ(std::string_view bytes) {
  const auto size = static_cast<qsizetype>(bytes.size());
  if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes.data(), size);
  return QString::fromLatin1(bytes.data(), size);
}

std::string ToStd(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

}  // namespace kestrum::ui

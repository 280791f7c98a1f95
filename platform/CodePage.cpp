#include "platform/CodePage.h"

#include <QList>
#include <array>
#include <unordered_map>

namespace {

// 0x80..0x9F and the six Turkish letters differ from Latin-1. Bytes that the
// code page leaves unassigned pass through as the C1 control of the same value,
// as the platform's own conversion does, so no byte is lost on a round trip.
constexpr std::array<char16_t, 32> kHigh80 = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F,
                                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178};

constexpr char16_t ByteToChar(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) return kHigh80[b - 0x80];
  switch (b) {
    case 0xD0:
      return 0x011E;  // Ğ
    case 0xDD:
      return 0x0130;  // İ
    case 0xDE:
      return 0x015E;  // Ş
    case 0xF0:
      return 0x011F;  // ğ
    case 0xFD:
      return 0x0131;  // ı
    case 0xFE:
      return 0x015F;  // ş
    default:
      return b;
  }
}

const std::unordered_map<char32_t, char>& CharToByte() {
  static const auto table = [] {
    std::unordered_map<char32_t, char> map;
    for (int b = 0; b < 256; ++b) map.emplace(ByteToChar(static_cast<unsigned char>(b)), static_cast<char>(b));
    return map;
  }();
  return table;
}

}  // namespace

QByteArray ToAnsi(const QString& text) {
  const auto& table = CharToByte();
  QByteArray out;
  out.reserve(text.size());
  for (uint cp : text.toUcs4()) {
    auto it = table.find(cp);
    out.append(it == table.end() ? '?' : it->second);
  }
  return out;
}

QString FromAnsi(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char b : bytes) out.append(QChar(ByteToChar(static_cast<unsigned char>(b))));
  return out;
}

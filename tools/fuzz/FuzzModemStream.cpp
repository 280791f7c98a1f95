// The byte stream of a caller-ID modem, cut into reads at places the input
// chooses, against the same bytes read at once: the same messages, notes
// and errors in the same order, and no call from a message whose check
// fails.
//
// The first byte is how many cut points follow (each a byte: the length of
// one read, 0 meaning 256); the rest is the stream.

#include "FuzzSupport.h"
#include "device/ModemLine.h"

namespace {

QStringList Events(const QByteArray& stream, const std::vector<int>& reads) {
  QStringList out;
  TModemLine::TEvents events;
  events.message = [&out](const QString& raw, const std::optional<TCallerIdReport>& report, TFrameCheck check) {
    if (report && check != TFrameCheck::fcGood) FuzzFailure(QStringLiteral("a call from '%1'").arg(raw));
    if (report && LacksNumber(*report)) FuzzFailure(QStringLiteral("a call without number from '%1'").arg(raw));
    out << QStringLiteral("message %1 [%2] %3").arg(raw, report ? FieldsText(*report) : QString(), CheckText(check));
  };
  events.note = [&out](const QString& raw, const QString& note) { out << QStringLiteral("note %1 %2").arg(raw, note); };
  events.error = [&out](const QString& error) { out << QStringLiteral("error ") + error; };
  TModemLine line(1, QStringLiteral("unopened"), {}, std::move(events));
  // RING ends a formatted report that would otherwise wait for its quiet time.
  const QByteArray all = stream + "\r\nRING\r\n";
  qsizetype at = 0;
  for (size_t i = 0; at < all.size(); ++i) {
    const qsizetype n = i < reads.size() ? reads[i] : all.size() - at;
    line.Receive(all.mid(at, n));
    at += n;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzApplication(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return -1;
  FuzzInput in(data, size);
  std::vector<int> reads(in.Byte() % 32);
  for (int& n : reads) {
    const uint8_t b = in.Byte();
    n = b ? b : 256;
  }
  QByteArray stream;
  while (!in.Empty()) stream += char(in.Byte());
  const QStringList whole = Events(stream, {});
  const QStringList chunked = Events(stream, reads);
  if (chunked != whole)
    FuzzFailure(QStringLiteral("read at once:\n  %1\nread in pieces:\n  %2")
                    .arg(whole.join(QStringLiteral("\n  ")), chunked.join(QStringLiteral("\n  "))));
  return 0;
}

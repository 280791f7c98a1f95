#include "device/SelfTest.h"

#include <QDateTime>

#include "device/AudioZarvo.h"
#include "device/DeviceControl.h"

namespace {

struct TCondition {
  double levelDbm0;
  std::optional<double> snrDb;
  bool withheld;
};

// A loud clean burst, a weak noisy one, and a withheld number.
constexpr TCondition kConditions[] = {{-13, std::nullopt, false}, {-35, 10.0, false}, {-20, std::nullopt, true}};

QString ConditionText(const TCondition& c) {
  QString text = QStringLiteral("%1 dBm0").arg(c.levelDbm0);
  if (c.snrDb) text += QStringLiteral(", SNR %1 dB").arg(*c.snrDb);
  if (c.withheld) text += QStringLiteral(", withheld");
  return text;
}

QString SentText(const TBurstRequest& s) {
  QStringList parts{s.number.isEmpty() ? QStringLiteral("(%1)").arg(s.numberAbsent) : s.number};
  if (s.kind != TSignalKind::skDtmf) parts << s.name << s.dateTime;
  return parts.join(QStringLiteral(", "));
}

bool Matches(const TBurstRequest& sent, const QStringList& call) {
  // call: device, line, number, date-time, other text ("V.23; ad: …; gizli numara").
  const QString other = call[4];
  const QString number = sent.number.isEmpty() ? TDeviceControl::AbsentNumberText(sent.numberAbsent) : sent.number;
  if (call[2] != number || !other.startsWith(SignalKindName(sent.kind))) return false;
  if (sent.number.isEmpty() && !other.contains(AbsenceText(sent.numberAbsent))) return false;
  if (sent.kind == TSignalKind::skDtmf) return true;
  // "MMDDHHMM" comes back as "DD.MM.yyyy HH:MM:00".
  const QString& d = sent.dateTime;
  const QString day = QStringLiteral("%1.%2.").arg(d.mid(2, 2), d.left(2));
  const QString time = QStringLiteral(" %1:%2:00").arg(d.mid(4, 2), d.mid(6, 2));
  return other.contains(QStringLiteral("ad: %1").arg(sent.name)) && call[3].startsWith(day) && call[3].endsWith(time);
}

}  // namespace

std::vector<TSelfTestRow> RunSelfTest() {
  const QString now = QDateTime::currentDateTime().toString(QStringLiteral("MMddHHmm"));
  std::vector<TSelfTestRow> rows;
  for (TSignalKind kind : {TSignalKind::skBell202, TSignalKind::skV23, TSignalKind::skDtmf}) {
    for (const TCondition& c : kConditions) {
      TSelfTestRow row;
      row.sent.kind = kind;
      row.sent.number = c.withheld ? QString() : QStringLiteral("05321234567");
      row.sent.name = QStringLiteral("CIHAZ TEST");
      row.sent.dateTime = now;
      row.sent.levelDbm0 = c.levelDbm0;
      row.sent.snrDb = c.snrDb;
      row.condition = ConditionText(c);
      TLineAudio audio;
      audio.samples = GenerateBurst(row.sent);
      const QList<QStringList> calls = CallsInRecording(audio);
      QStringList decoded;
      for (const QStringList& call : calls)
        decoded << QStringLiteral("%1, %2, %3")
                       .arg(call[2].isEmpty() ? QStringLiteral("(none)") : call[2], call[3], call[4]);
      row.decoded = decoded.isEmpty() ? QStringLiteral("(nothing)") : decoded.join(QStringLiteral(" + "));
      row.passed = calls.size() == 1 && Matches(row.sent, calls[0]);
      rows.push_back(row);
    }
  }
  return rows;
}

QStringList SelfTestTable(const std::vector<TSelfTestRow>& rows) {
  const QString format = QStringLiteral("%1  %2  %3  %4  %5");
  QStringList lines{format.arg(QStringLiteral("Standard"), -8)
                        .arg(QStringLiteral("Condition"), -26)
                        .arg(QStringLiteral("Sent"), -38)
                        .arg(QStringLiteral("Decoded"), -70)
                        .arg(QStringLiteral("Result"))};
  for (const TSelfTestRow& r : rows)
    lines << format.arg(SignalKindName(r.sent.kind), -8)
                 .arg(r.condition, -26)
                 .arg(SentText(r.sent), -38)
                 .arg(r.decoded, -70)
                 .arg(r.passed ? QStringLiteral("ok") : QStringLiteral("FAILED"));
  return lines;
}

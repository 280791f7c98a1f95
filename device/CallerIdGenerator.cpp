#include "device/CallerIdGenerator.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "device/DeviceError.h"
#include "device/SpanDsp.h"

namespace {

constexpr int kMaxBurstSamples = 8 * TLineDecoder::kSampleRate;
constexpr int kMaxTextLength = 40;  // keeps the whole message under 256 bytes

class TMessage {
 public:
  TMessage(adsi_tx_state_t* tx, int type) : tx_(tx) {
    length_ = adsi_add_field(tx_, bytes_, -1, uint8_t(type), nullptr, 0);
  }
  void Add(int type, const QByteArray& value) {
    length_ = adsi_add_field(tx_, bytes_, length_, uint8_t(type), reinterpret_cast<const uint8_t*>(value.constData()),
                             int(value.size()));
  }
  void Send() { adsi_tx_put_message(tx_, bytes_, length_); }

 private:
  adsi_tx_state_t* tx_;
  uint8_t bytes_[256] = {};
  int length_ = 0;
};

void Check(bool ok, const QString& message) {
  if (!ok) throw EDeviceError(message);
}

void CheckSpec(const TBurstSpec& spec) {
  static const QRegularExpression digits(QStringLiteral("^\\d*$"));
  static const QRegularExpression fskNumber(QStringLiteral("^[0-9+*#]*$"));
  static const QRegularExpression dateTime(QStringLiteral("^(\\d{8})?$"));
  const bool dtmf = spec.kind == TSignalKind::skDtmf;
  Check(spec.number.size() <= kMaxTextLength && spec.name.size() <= kMaxTextLength,
        QStringLiteral("number and name may have at most %1 characters").arg(kMaxTextLength));
  Check((dtmf ? digits : fskNumber).match(spec.number).hasMatch(),
        QStringLiteral("'%1' cannot be sent as a %2 number").arg(spec.number, SignalKindName(spec.kind)));
  Check(spec.numberAbsent == u'P' || spec.numberAbsent == u'O', QStringLiteral("the reason must be P or O"));
  Check(dateTime.match(spec.dateTime).hasMatch(), QStringLiteral("the date must be MMDDHHMM"));
  Check(spec.name.toLatin1() == spec.name.toUtf8(), QStringLiteral("the name must be plain ASCII"));
}

void AddFskMessage(adsi_tx_state_t* tx, const TBurstSpec& spec) {
  const QByteArray number =
      spec.number.isEmpty() ? QByteArray(1, char(spec.numberAbsent.toLatin1())) : spec.number.toLatin1();
  if (spec.singleData) {
    TMessage m(tx, CLASS_SDMF_CALLERID);
    m.Add(0, spec.dateTime.isEmpty() ? QByteArray("00000000") : spec.dateTime.toLatin1());
    m.Add(0, number);
    m.Send();
    return;
  }
  TMessage m(tx, CLIP_MDMF_CALLERID);
  if (!spec.dateTime.isEmpty()) m.Add(CLIP_DATETIME, spec.dateTime.toLatin1());
  m.Add(spec.number.isEmpty() ? CLIP_ABSENCE1 : CLIP_CALLER_NUMBER, number);
  if (!spec.name.isEmpty()) m.Add(CLIP_CALLER_NAME, spec.name.toLatin1());
  m.Send();
}

// "A<number>C", or "B10C" (withheld) / "B00C" (unavailable).
void AddDtmfMessage(adsi_tx_state_t* tx, const TBurstSpec& spec) {
  TMessage m(tx, CLIP_DTMF_C_TERMINATED);
  if (spec.number.isEmpty())
    m.Add(CLIP_DTMF_C_ABSENCE, spec.numberAbsent == u'P' ? QByteArray("10") : QByteArray("00"));
  else
    m.Add(CLIP_DTMF_C_CALLER_NUMBER, spec.number.toLatin1());
  m.Send();
}

int Standard(TSignalKind kind) {
  switch (kind) {
    case TSignalKind::skBell202:
      return ADSI_STANDARD_CLASS;
    case TSignalKind::skV23:
      return ADSI_STANDARD_CLIP;
    case TSignalKind::skDtmf:
      return ADSI_STANDARD_CLIP_DTMF;
  }
  return ADSI_STANDARD_NONE;
}

std::vector<int16_t> Transmit(const TBurstSpec& spec) {
  TSpanPtr<adsi_tx_state_t, adsi_tx_free> tx(adsi_tx_init(nullptr, Standard(spec.kind)));
  if (spec.kind == TSignalKind::skDtmf)
    AddDtmfMessage(tx.get(), spec);
  else
    AddFskMessage(tx.get(), spec);
  std::vector<int16_t> burst(kMaxBurstSamples);
  burst.resize(size_t(adsi_tx(tx.get(), burst.data(), int(burst.size()))));
  return burst;
}

int16_t Saturate(double v) { return int16_t(std::clamp(std::lround(v), -32768L, 32767L)); }

}  // namespace

double SoundingLevelDbm0(const std::vector<int16_t>& samples) {
  double squares = 0;
  int64_t sounding = 0;
  for (int16_t s : samples) {
    squares += double(s) * s;
    sounding += s != 0;
  }
  return PowerDbm0(squares, sounding);
}

std::vector<int16_t> GenerateBurst(const TBurstSpec& spec) {
  CheckSpec(spec);
  std::vector<int16_t> burst = Transmit(spec);
  const double level = SoundingLevelDbm0(burst);
  const double gain = spec.levelDbm0 ? std::pow(10.0, (*spec.levelDbm0 - level) / 20) : 1.0;
  const size_t lead = size_t(spec.leadMs) * TLineDecoder::kSampleRate / 1000;
  const size_t tail = size_t(spec.tailMs) * TLineDecoder::kSampleRate / 1000;
  std::vector<int16_t> out(lead + burst.size() + tail, 0);
  for (size_t i = 0; i < burst.size(); ++i) out[lead + i] = Saturate(burst[i] * gain);
  if (spec.snrDb) {
    const float noiseDbm0 = float(spec.levelDbm0.value_or(level) - *spec.snrDb);
    TSpanPtr<awgn_state_t, awgn_free> noise(awgn_init_dbm0(nullptr, spec.noiseSeed, noiseDbm0));
    for (int16_t& s : out) s = Saturate(double(s) + awgn(noise.get()));
  }
  return out;
}

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

void CheckRequest(const TBurstRequest& request) {
  // Whole texts only: "$" would also match before a final line feed.
  static const QRegularExpression digits(QRegularExpression::anchoredPattern(QStringLiteral("\\d*")));
  static const QRegularExpression fskNumber(QRegularExpression::anchoredPattern(QStringLiteral("[0-9+*#]*")));
  static const QRegularExpression dateTime(QRegularExpression::anchoredPattern(QStringLiteral("(\\d{8})?")));
  const bool dtmf = request.kind == TSignalKind::skDtmf;
  Check(request.number.size() <= kMaxTextLength && request.name.size() <= kMaxTextLength,
        QStringLiteral("number and name may have at most %1 characters").arg(kMaxTextLength));
  Check((dtmf ? digits : fskNumber).match(request.number).hasMatch(),
        QStringLiteral("'%1' cannot be sent as a %2 number").arg(request.number, SignalKindName(request.kind)));
  Check(request.numberAbsent == u'P' || request.numberAbsent == u'O', QStringLiteral("the reason must be P or O"));
  Check(dateTime.match(request.dateTime).hasMatch(), QStringLiteral("the date must be MMDDHHMM"));
  Check(request.name.toLatin1() == request.name.toUtf8(), QStringLiteral("the name must be plain ASCII"));
}

void AddFskMessage(adsi_tx_state_t* tx, const TBurstRequest& request) {
  const QByteArray number =
      request.number.isEmpty() ? QByteArray(1, char(request.numberAbsent.toLatin1())) : request.number.toLatin1();
  if (request.singleData) {
    TMessage m(tx, CLASS_SDMF_CALLERID);
    m.Add(0, request.dateTime.isEmpty() ? QByteArray("00000000") : request.dateTime.toLatin1());
    m.Add(0, number);
    m.Send();
    return;
  }
  TMessage m(tx, CLIP_MDMF_CALLERID);
  if (!request.dateTime.isEmpty()) m.Add(CLIP_DATETIME, request.dateTime.toLatin1());
  m.Add(request.number.isEmpty() ? CLIP_ABSENCE1 : CLIP_CALLER_NUMBER, number);
  if (!request.name.isEmpty()) m.Add(CLIP_CALLER_NAME, request.name.toLatin1());
  m.Send();
}

// "A<number>C", or "B10C" (withheld) / "B00C" (unavailable).
void AddDtmfMessage(adsi_tx_state_t* tx, const TBurstRequest& request) {
  TMessage m(tx, CLIP_DTMF_C_TERMINATED);
  if (request.number.isEmpty())
    m.Add(CLIP_DTMF_C_ABSENCE, request.numberAbsent == u'P' ? QByteArray("10") : QByteArray("00"));
  else
    m.Add(CLIP_DTMF_C_CALLER_NUMBER, request.number.toLatin1());
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

std::vector<int16_t> Transmit(const TBurstRequest& request) {
  TSpanPtr<adsi_tx_state_t, adsi_tx_free> tx(adsi_tx_init(nullptr, Standard(request.kind)));
  if (request.kind == TSignalKind::skDtmf)
    AddDtmfMessage(tx.get(), request);
  else
    AddFskMessage(tx.get(), request);
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

std::vector<int16_t> GenerateBurst(const TBurstRequest& request) {
  CheckRequest(request);
  std::vector<int16_t> burst = Transmit(request);
  const double level = SoundingLevelDbm0(burst);
  const double gain = request.levelDbm0 ? std::pow(10.0, (*request.levelDbm0 - level) / 20) : 1.0;
  const size_t lead = size_t(request.leadMs) * TLineDecoder::kSampleRate / 1000;
  const size_t tail = size_t(request.tailMs) * TLineDecoder::kSampleRate / 1000;
  std::vector<int16_t> out(lead + burst.size() + tail, 0);
  for (size_t i = 0; i < burst.size(); ++i) out[lead + i] = Saturate(burst[i] * gain);
  if (request.snrDb) {
    const float noiseDbm0 = float(request.levelDbm0.value_or(level) - *request.snrDb);
    TSpanPtr<awgn_state_t, awgn_free> noise(awgn_init_dbm0(nullptr, request.noiseSeed, noiseDbm0));
    for (int16_t& s : out) s = Saturate(double(s) + awgn(noise.get()));
  }
  return out;
}

#include "device/LineDecoder.h"

#include <algorithm>
#include <cmath>

#include "device/SpanDsp.h"

namespace {

constexpr int kSliceSamples = 160;     // 20 ms: how finely events are placed in time
constexpr int kFskStepSamples = 20;    // the FSK receivers' step: a bit is heard at most this late
constexpr int kSameBurst = 4000;       // half a second: copies of one burst end this close
constexpr int kHistorySamples = 240;   // 36 bits of mark
constexpr float kFskCutoffDbm0 = -50;  // below the weakest burst we want to hear
constexpr int kDtmfThresholdDbm0 = -45;
constexpr int kMarkBits = 40;           // continuous ones before the first character
constexpr int kDtmfGapSamples = 12000;  // 1.5 s without a digit ends a DTMF message

// Ring bursts: loud for 0.8 to 3 seconds and carrying no caller-ID data.
constexpr double kRingDbm0 = -20;
constexpr int kRingMinWindows = 4;
constexpr int kRingMaxWindows = 15;

static_assert(TLineDecoder::kLevelWindow % kSliceSamples == 0, "a slice never straddles two level windows");

// A full-scale sine is +3.14 dBm0.
const double kZeroDbm0MeanSquare = 32767.0 * 32767.0 / 2 / std::pow(10.0, DBM0_MAX_SINE_POWER / 10);

double ToneEnergy(const std::vector<int16_t>& samples, float frequency) {
  goertzel_descriptor_t descriptor;
  make_goertzel_descriptor(&descriptor, frequency, int(samples.size()));
  goertzel_state_t state;
  goertzel_init(&state, &descriptor);
  goertzel_update(&state, samples.data(), int(samples.size()));
  return goertzel_result(&state);
}

}  // namespace

QString SignalKindName(TSignalKind kind) {
  switch (kind) {
    case TSignalKind::skBell202:
      return QStringLiteral("Bell 202");
    case TSignalKind::skV23:
      return QStringLiteral("V.23");
    case TSignalKind::skDtmf:
      return QStringLiteral("DTMF");
  }
  return {};
}

int MeterLevel(double dbm0) { return std::clamp(int(std::lround((dbm0 + 60) / 2)), 0, 30); }

double PowerDbm0(double sumOfSquares, int64_t count) {
  if (count <= 0 || sumOfSquares <= 0) return -99;
  return std::max(-99.0, 10 * std::log10(sumOfSquares / double(count) / kZeroDbm0MeanSquare));
}

// One FSK receiver and the framing of its bits into a data message:
// channel seizure, at least kMarkBits of mark, then start-stop characters
// until the length byte says the message is whole.
class TLineDecoder::TFskReceiver {
 public:
  TFskReceiver(TLineDecoder& owner, int preset) : owner_(owner) {
    rx_.reset(fsk_rx_init(nullptr, &preset_fsk_specs[preset], FSK_FRAME_MODE_SYNC, &TFskReceiver::PutBit, this));
    fsk_rx_signal_cutoff(rx_.get(), kFskCutoffDbm0);
  }

  void Process(const int16_t* samples, int count) { fsk_rx(rx_.get(), samples, count); }

  // Tells the standard by the mark just heard; asked at the end of a step,
  // so that the answer does not depend on how the samples were chunked.
  void SettleKind() {
    if (std::exchange(kindPending_, false)) kind_ = owner_.MarkToneKind();
  }

 private:
  static void PutBit(void* self, int bit) { static_cast<TFskReceiver*>(self)->Bit(bit); }

  void Bit(int bit) {
    if (bit < 0) {
      if (bit == SIG_STATUS_CARRIER_DOWN) Abandon();
      return;
    }
    if (bitIndex_ < 0) {
      WaitForStart(bit);
    } else if (bitIndex_ < 8) {
      byte_ |= bit << bitIndex_++;
    } else {
      bitIndex_ = -1;
      bit ? Character() : Abandon();  // a missing stop bit breaks the message
    }
  }

  void WaitForStart(int bit) {
    if (bit) {
      if (!marked_ && ++ones_ >= kMarkBits) {
        marked_ = true;
        kindPending_ = true;
      }
      return;
    }
    ones_ = 0;
    if (!marked_) return;  // still the seizure's alternations
    bitIndex_ = 0;
    byte_ = 0;
  }

  void Character() {
    // A noise spike in the mark reads as a character; a message starts with its type.
    if (message_.isEmpty() && !IsMessageType(quint8(byte_))) return;
    message_.append(char(byte_));
    owner_.dataInWindow_ = true;
    if (message_.size() >= 2 && message_.size() == quint8(message_[1]) + 3) {
      owner_.OnFskFrame(kind_, message_);
      Reset();
    }
  }

  // The carrier or the framing went: what came so far is a broken message.
  void Abandon() {
    if (!message_.isEmpty()) owner_.OnFskFrame(kind_, message_);
    Reset();
  }

  void Reset() {
    message_.clear();
    marked_ = false;
    kindPending_ = false;
    ones_ = 0;
    bitIndex_ = -1;
  }

  TLineDecoder& owner_;
  TSpanPtr<fsk_rx_state_t, fsk_rx_free> rx_;
  QByteArray message_;
  bool marked_ = false;
  bool kindPending_ = false;
  int ones_ = 0;
  int bitIndex_ = -1;  // -1 between characters
  int byte_ = 0;
  TSignalKind kind_ = TSignalKind::skBell202;
};

struct TLineDecoder::TDtmf {
  explicit TDtmf(TLineDecoder& owner) {
    rx.reset(dtmf_rx_init(nullptr, &TDtmf::Digits, &owner));
    dtmf_rx_parms(rx.get(), -1, -1, -1, kDtmfThresholdDbm0);
  }
  static void Digits(void* owner, const char* digits, int len) {
    for (int i = 0; i < len; ++i) static_cast<TLineDecoder*>(owner)->OnDtmfDigit(digits[i]);
  }
  TSpanPtr<dtmf_rx_state_t, dtmf_rx_free> rx;
  QString message;
  int64_t lastDigitAt = 0;
};

TLineDecoder::TLineDecoder()
    : bell_(std::make_unique<TFskReceiver>(*this, FSK_BELL202)),
      v23_(std::make_unique<TFskReceiver>(*this, FSK_V23CH1)),
      dtmf_(std::make_unique<TDtmf>(*this)),
      history_(kHistorySamples, 0) {}

TLineDecoder::~TLineDecoder() = default;

// Slices start at fixed sample positions, not where the caller's chunk
// starts: the same samples give the same frames however they are chunked.
void TLineDecoder::Process(const int16_t* samples, int count) {
  while (count > 0) {
    const int intoSlice = int(position_ % kSliceSamples);
    const int n = std::min(count, kSliceSamples - intoSlice);
    ProcessSlice(samples, n);
    samples += n;
    count -= n;
  }
}

void TLineDecoder::ProcessSlice(const int16_t* samples, int count) {
  for (int i = 0; i < count; ++i) windowSquares_ += double(samples[i]) * samples[i];
  // In short steps, so that the mark check hears the line up to the bit that asks.
  const int64_t sliceEnd = position_ + count;
  for (const int16_t* step = samples; position_ < sliceEnd;) {
    const int n = std::min(int(sliceEnd - position_), kFskStepSamples - int(position_ % kFskStepSamples));
    Remember(step, n);
    position_ += n;
    bell_->Process(step, n);
    v23_->Process(step, n);
    step += n;
    if (position_ % kFskStepSamples == 0) {
      bell_->SettleKind();
      v23_->SettleKind();
    }
  }
  dtmf_rx(dtmf_->rx.get(), samples, count);
  windowFill_ += count;
  if (position_ % kSliceSamples == 0) {
    if (!dtmf_->message.isEmpty() && position_ - dtmf_->lastDigitAt > kDtmfGapSamples) FinishDtmfMessage(true);
    SettleHeldBadFrame();
  }
  if (windowFill_ == kLevelWindow) EndLevelWindow();
}

// Where something heard now is placed: the end of the step of this many
// samples it falls in, the same however the caller's chunks cut the step.
int64_t TLineDecoder::HeardAt(int step) const { return (position_ + step - 1) / step * step; }

void TLineDecoder::Remember(const int16_t* samples, int count) {
  for (int i = 0; i < count; ++i) {
    history_[historyEnd_] = samples[i];
    historyEnd_ = (historyEnd_ + 1) % history_.size();
  }
}

// The mark before a message is a steady tone: 1200 Hz in Bell 202, 1300 Hz
// in V.23. Asked while it sounds, so the last samples heard are mark.
TSignalKind TLineDecoder::MarkToneKind() const {
  std::vector<int16_t> recent(history_.size());
  for (size_t i = 0; i < recent.size(); ++i) recent[i] = history_[(historyEnd_ + i) % history_.size()];
  return ToneEnergy(recent, 1200) >= ToneEnergy(recent, 1300) ? TSignalKind::skBell202 : TSignalKind::skV23;
}

void TLineDecoder::OnFskFrame(TSignalKind kind, const QByteArray& bytes) {
  burstCarriedData_ = true;
  TReceivedFrame frame;
  frame.kind = kind;
  frame.bytes = bytes;
  frame.atSample = HeardAt(kFskStepSamples);
  TFrameReading reading = ReadFrame(bytes);
  frame.check = reading.check;
  frame.report = std::move(reading.report);
  const bool nearGood = lastGood_ && frame.atSample - lastGood_->atSample < kSameBurst;
  if (frame.check != TFrameCheck::fcGood) {
    if (!nearGood && !heldBad_) heldBad_ = frame;
    return;
  }
  if (nearGood && lastGood_->bytes == bytes) return;  // the other receiver's copy
  if (heldBad_ && frame.atSample - heldBad_->atSample < kSameBurst) heldBad_.reset();
  lastGood_ = frame;
  Emit(frame);
}

void TLineDecoder::SettleHeldBadFrame() {
  if (!heldBad_ || position_ - heldBad_->atSample < kSameBurst) return;
  Emit(*heldBad_);
  heldBad_.reset();
}

void TLineDecoder::OnDtmfDigit(char digit) {
  dataInWindow_ = true;
  const bool startMarker = digit == 'A' || digit == 'B' || digit == 'D';
  if (dtmf_->message.isEmpty() && !startMarker) return;  // dialled digits, not caller ID
  dtmf_->message += QLatin1Char(digit);
  dtmf_->lastDigitAt = HeardAt(kSliceSamples);
  if (digit == 'C' || digit == '#') FinishDtmfMessage(false);
  if (dtmf_->message.size() >= kMaxDtmfLength) FinishDtmfMessage(true);  // no end in sight: broken
}

void TLineDecoder::FinishDtmfMessage(bool broken) {
  burstCarriedData_ = true;
  TReceivedFrame frame;
  frame.kind = TSignalKind::skDtmf;
  frame.bytes = dtmf_->message.toLatin1();
  frame.atSample = HeardAt(kSliceSamples);
  frame.report = broken ? std::nullopt : DecodeDtmf(dtmf_->message);
  frame.check = frame.report ? TFrameCheck::fcGood : TFrameCheck::fcBadLength;
  dtmf_->message.clear();
  Emit(frame);
}

void TLineDecoder::EndLevelWindow() {
  lastLevelDbm0_ = PowerDbm0(windowSquares_, kLevelWindow);
  if (lastLevelDbm0_ >= kRingDbm0) {
    ++burstWindows_;
    burstDbm0Sum_ += lastLevelDbm0_;
    burstCarriedData_ = burstCarriedData_ || dataInWindow_;
  } else {
    if (burstWindows_ >= kRingMinWindows && burstWindows_ <= kRingMaxWindows && !burstCarriedData_) {
      TReceivedFrame ring;
      ring.what = TReceivedFrame::rfRing;
      ring.atSample = position_;
      ring.levelDbm0 = burstDbm0Sum_ / burstWindows_;
      ring.durationMs = burstWindows_ * 1000 * kLevelWindow / kSampleRate;
      Emit(ring);
    }
    burstWindows_ = 0;
    burstDbm0Sum_ = 0;
    burstCarriedData_ = false;
  }
  windowSquares_ = 0;
  windowFill_ = 0;
  dataInWindow_ = false;
}

void TLineDecoder::Emit(TReceivedFrame frame) { frames_.push_back(std::move(frame)); }

// A damaged frame waits to see whether the other receiver hears the burst
// well; what was heard after it waits with it, so that frames leave in the
// order heard.
std::vector<TReceivedFrame> TLineDecoder::TakeFrames() {
  auto heardBefore = [](const TReceivedFrame& a, const TReceivedFrame& b) { return a.atSample < b.atSample; };
  std::stable_sort(frames_.begin(), frames_.end(), heardBefore);
  const auto ready =
      heldBad_ ? std::lower_bound(frames_.begin(), frames_.end(), *heldBad_, heardBefore) : frames_.end();
  std::vector<TReceivedFrame> out(std::make_move_iterator(frames_.begin()), std::make_move_iterator(ready));
  frames_.erase(frames_.begin(), ready);
  return out;
}

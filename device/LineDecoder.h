#pragma once
// Listens to one telephone line sampled at 8 kHz: decodes caller-ID sent as
// Bell 202 FSK, ETSI V.23 FSK or DTMF (spandsp's receivers), checks each
// message, measures the line level and counts ring bursts from the energy.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "device/CallerIdMessage.h"

enum class TSignalKind { skBell202, skV23, skDtmf };
QString SignalKindName(TSignalKind kind);

// A message as the line carried it, good or not, or a ring burst.
struct TReceivedFrame {
  enum TWhat { rfMessage, rfRing };
  TWhat what = rfMessage;
  TSignalKind kind = TSignalKind::skBell202;
  QByteArray bytes;  // the data message, or the DTMF digits as text
  TFrameCheck check = TFrameCheck::fcGood;
  std::optional<TCallerIdReport> report;  // set for good messages
  int64_t atSample = 0;                   // where on the line it ended
  double levelDbm0 = 0;                   // rings: the burst's mean level
  int durationMs = 0;                     // rings: how long the burst lasted

  bool operator==(const TReceivedFrame&) const = default;
};

// Meter scale: 0 at -60 dBm0 and below, one step per 2 dB, 30 at 0 dBm0 and above.
int MeterLevel(double dbm0);
// The mean power of samples in dBm0 (sine at full scale = +3.14 dBm0);
// -99 for silence.
double PowerDbm0(double sumOfSquares, int64_t count);

class TLineDecoder {
 public:
  static constexpr int kSampleRate = 8000;
  static constexpr int kLevelWindow = kSampleRate / 5;  // five level readings a second

  TLineDecoder();
  ~TLineDecoder();
  TLineDecoder(const TLineDecoder&) = delete;
  TLineDecoder& operator=(const TLineDecoder&) = delete;

  void Process(const int16_t* samples, int count);
  // Messages and rings completed since the last call, in the order heard.
  std::vector<TReceivedFrame> TakeFrames();
  // The level of the last whole level window, in dBm0.
  double LevelDbm0() const { return lastLevelDbm0_; }
  int64_t SamplesHeard() const { return position_; }

 private:
  class TFskReceiver;
  struct TDtmf;

  void ProcessSlice(const int16_t* samples, int count);
  void OnFskFrame(TSignalKind kind, const QByteArray& bytes);
  void OnDtmfDigit(char digit);
  void FinishDtmfMessage(bool broken);
  void SettleHeldBadFrame();
  void EndLevelWindow();
  void Emit(TReceivedFrame frame);
  TSignalKind MarkToneKind() const;
  void Remember(const int16_t* samples, int count);
  int64_t HeardAt(int step) const;

  std::unique_ptr<TFskReceiver> bell_;
  std::unique_ptr<TFskReceiver> v23_;
  std::unique_ptr<TDtmf> dtmf_;
  std::vector<TReceivedFrame> frames_;
  int64_t position_ = 0;

  // The two FSK receivers both hear either standard: one burst may come as
  // a good frame from one and a damaged one from the other.
  std::optional<TReceivedFrame> lastGood_;
  std::optional<TReceivedFrame> heldBad_;

  // The last samples heard, to tell the FSK standards apart by their mark.
  std::vector<int16_t> history_;
  size_t historyEnd_ = 0;

  // Level window and ring bursts.
  double windowSquares_ = 0;
  int windowFill_ = 0;
  double lastLevelDbm0_ = -99;
  bool dataInWindow_ = false;
  int burstWindows_ = 0;
  double burstDbm0Sum_ = 0;
  bool burstCarriedData_ = false;
};

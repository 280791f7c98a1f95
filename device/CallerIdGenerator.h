#pragma once
// Caller-ID bursts as an exchange sends them, made with spandsp's
// transmitters: for the generator program, the self-test and the tests.

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/LineDecoder.h"

struct TBurstRequest {
  TSignalKind kind = TSignalKind::skV23;
  QString number;  // empty: withheld, for the reason below
  QChar numberAbsent = u'P';
  QString name;                     // FSK only; empty: none sent
  QString dateTime;                 // "MMDDHHMM", FSK only; empty: none sent
  bool singleData = false;          // the single data message format (date and number only)
  std::optional<double> levelDbm0;  // the burst's level; unset: the transmitter's own
  std::optional<double> snrDb;      // white noise over the whole band, this far below the burst
  int noiseSeed = 1;
  int leadMs = 300;  // quiet line before the burst
  int tailMs = 700;  // and after it
};

// Mono samples at 8 kHz. Raises EDeviceError for a number or name the
// standard cannot carry.
std::vector<int16_t> GenerateBurst(const TBurstRequest& request);

// The level of the signal's sounding part (zero samples left out), dBm0.
double SoundingLevelDbm0(const std::vector<int16_t>& samples);

#pragma once
// Where a line-audio device gets its samples: 8 kHz, 16 bits, one channel
// per line, interleaved frames.

#include <QElapsedTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "device/WavFile.h"

class TSampleSource {
 public:
  virtual ~TSampleSource() = default;
  virtual int Channels() const = 0;
  // Copies up to maxFrames frames that are ready now and answers how many;
  // raises EDeviceError when the device has gone.
  virtual int Read(int16_t* frames, int maxFrames) = 0;
};

// Samples held in memory, all ready at once: generated audio for the
// self-test and the tests. More can be appended while it is read.
class TMemorySource : public TSampleSource {
 public:
  explicit TMemorySource(TLineAudio audio) : audio_(std::move(audio)) {}
  int Channels() const override { return audio_.channels; }
  int Read(int16_t* frames, int maxFrames) override;
  void Append(const std::vector<int16_t>& frames);
  int64_t FramesLeft() const { return audio_.Frames() - readFrames_; }

 private:
  TLineAudio audio_;
  int64_t readFrames_ = 0;
};

// A recording replayed at the pace it was recorded, then silence: the line
// as it sounded, for demonstrations. The clock answers milliseconds since
// the first read.
class TPacedSource : public TSampleSource {
 public:
  using TClock = std::function<int64_t()>;
  TPacedSource(TLineAudio audio, TClock clock = {});
  int Channels() const override { return audio_.channels; }
  int Read(int16_t* frames, int maxFrames) override;

 private:
  TLineAudio audio_;
  TClock clock_;
  QElapsedTimer elapsed_;
  int64_t delivered_ = 0;
};

#include "device/SampleSource.h"

#include <algorithm>
#include <cstring>

namespace {

// Copies frames [from, from + count) of audio, silence past its end.
void CopyFrames(const TLineAudio& audio, int64_t from, int count, int16_t* out) {
  const int64_t available = std::clamp<int64_t>(audio.Frames() - from, 0, count);
  const size_t channels = size_t(audio.channels);
  if (available > 0) std::memcpy(out, audio.samples.data() + size_t(from) * channels, size_t(available) * channels * 2);
  std::fill(out + size_t(available) * channels, out + size_t(count) * channels, int16_t(0));
}

}  // namespace

int TMemorySource::Read(int16_t* frames, int maxFrames) {
  const int count = int(std::min<int64_t>(maxFrames, FramesLeft()));
  CopyFrames(audio_, readFrames_, count, frames);
  readFrames_ += count;
  return count;
}

void TMemorySource::Append(const std::vector<int16_t>& frames) {
  audio_.samples.insert(audio_.samples.end(), frames.begin(), frames.end());
}

TPacedSource::TPacedSource(TLineAudio audio, TClock clock) : audio_(std::move(audio)), clock_(std::move(clock)) {
  if (!clock_)
    clock_ = [this] {
      if (!elapsed_.isValid()) elapsed_.start();
      return elapsed_.elapsed();
    };
}

int TPacedSource::Read(int16_t* frames, int maxFrames) {
  const int64_t due = clock_() * audio_.sampleRate / 1000;
  const int count = int(std::clamp<int64_t>(due - delivered_, 0, maxFrames));
  CopyFrames(audio_, delivered_, count, frames);
  delivered_ += count;
  return count;
}

#pragma once
// Recorded lines as WAV files: 16-bit PCM at 8 kHz, one channel per line.

#include <QString>
#include <cstdint>
#include <vector>

struct TLineAudio {
  int channels = 1;
  int sampleRate = 8000;
  std::vector<int16_t> samples;  // interleaved frames

  int64_t Frames() const { return channels > 0 ? int64_t(samples.size()) / channels : 0; }
};

// Raises EDeviceError saying what is wrong: a missing file, not a regular
// file, larger than 256 MiB, not a WAV file, not 16-bit PCM at 8 kHz with 1
// to 4 channels, a data chunk that runs past the end of the file (a cut
// recording) or holds no samples. Reads the headers first and then only
// the data chunk.
TLineAudio ReadWav(const QString& path);
// Raises EDeviceError when the file cannot be written.
void WriteWav(const QString& path, const TLineAudio& audio);

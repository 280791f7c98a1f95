#include "platform/Sound.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#ifdef CIHAZ_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace Sound {

namespace {

constexpr uint32_t kMinFrequency = 37;
constexpr uint32_t kMaxFrequency = 32767;
constexpr unsigned kSampleRate = 44100;

TBeepHook& Hook() {
  static TBeepHook hook;
  return hook;
}

#ifdef CIHAZ_HAVE_ALSA
std::vector<int16_t> SineSamples(uint32_t frequency, uint32_t ms) {
  constexpr double kAmplitude = 0.3 * 32767;
  const size_t count = size_t(kSampleRate) * ms / 1000;
  std::vector<int16_t> samples(count);
  const double step = 2 * M_PI * frequency / kSampleRate;
  for (size_t i = 0; i < count; ++i) samples[i] = int16_t(kAmplitude * std::sin(step * double(i)));
  return samples;
}

// A missing sound device is normal (the tone becomes silence): keep ALSA's
// own complaints off standard error.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

// False when no device could play the tone.
bool PlayTone(uint32_t frequency, uint32_t ms) {
  static const bool quiet = (snd_lib_error_set_handler(QuietAlsa), true);
  (void)quiet;
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) return false;
  bool played =
      snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kSampleRate, 1, 100000) >= 0;
  if (played) {
    const std::vector<int16_t> samples = SineSamples(frequency, ms);
    size_t done = 0;
    while (played && done < samples.size()) {
      snd_pcm_sframes_t n = snd_pcm_writei(pcm, samples.data() + done, samples.size() - done);
      if (n < 0) n = snd_pcm_recover(pcm, int(n), 1);
      if (n < 0)
        played = false;
      else
        done += size_t(n);
    }
    if (played) snd_pcm_drain(pcm);
  }
  snd_pcm_close(pcm);
  return played;
}
#else
bool PlayTone(uint32_t, uint32_t) { return false; }
#endif

}  // namespace

bool Beep(uint32_t frequency, uint32_t ms) {
  if (frequency < kMinFrequency || frequency > kMaxFrequency) return false;
  if (Hook()) {
    Hook()(frequency, ms);
    return true;
  }
  if (!PlayTone(frequency, ms)) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  return true;
}

void SetBeepHook(TBeepHook hook) { Hook() = std::move(hook); }

}  // namespace Sound

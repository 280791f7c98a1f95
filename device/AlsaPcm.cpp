#include "device/AlsaPcm.h"

#include "device/DeviceError.h"

#ifdef CIHAZ_HAVE_ALSA
#include <alsa/asoundlib.h>

#include <cerrno>

namespace {

constexpr unsigned kRate = 8000;
constexpr unsigned kLatencyUs = 500000;  // room for half a second between reads

struct TPcmClose {
  void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using TPcmPtr = std::unique_ptr<snd_pcm_t, TPcmClose>;

// Errors are reported by the callers in one clear line: keep ALSA's own
// complaints off standard error.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

// Why a sound device does not answer, in the device window's words.
QString WhyText(const QString& pcm, int err) {
  if (err == -EBUSY) return QStringLiteral("Ses aygıtı %1 meşgul: başka bir program kullanıyor").arg(pcm);
  if (err == -ENOENT || err == -ENODEV) return QStringLiteral("Ses aygıtı %1 yok; takılı mı?").arg(pcm);
  return QStringLiteral("Ses aygıtı %1 açılamıyor (%2)").arg(pcm, QString::fromLocal8Bit(snd_strerror(err)));
}

[[noreturn]] void Fail(const QString& what, const QString& pcm, int err) {
  throw EDeviceError(QStringLiteral("%1 %2: %3").arg(what, pcm, QString::fromLocal8Bit(snd_strerror(err))),
                     WhyText(pcm, err));
}

TPcmPtr OpenPcm(const QString& pcm, snd_pcm_stream_t stream, int mode, int channels) {
  snd_lib_error_set_handler(QuietAlsa);
  snd_pcm_t* raw = nullptr;
  const QString what =
      stream == SND_PCM_STREAM_CAPTURE ? QStringLiteral("cannot capture from") : QStringLiteral("cannot play on");
  if (int err = snd_pcm_open(&raw, pcm.toLocal8Bit().constData(), stream, mode); err < 0) Fail(what, pcm, err);
  TPcmPtr handle(raw);
  if (int err = snd_pcm_set_params(raw, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, unsigned(channels), kRate,
                                   1, kLatencyUs);
      err < 0)
    Fail(what, pcm, err);
  return handle;
}

class TAlsaCapture : public TSampleSource {
 public:
  TAlsaCapture(const QString& pcm, int channels)
      : name_(pcm), channels_(channels), pcm_(OpenPcm(pcm, SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK, channels)) {
    if (int err = snd_pcm_start(pcm_.get()); err < 0) Fail(QStringLiteral("cannot start"), name_, err);
  }
  int Channels() const override { return channels_; }

  int Read(int16_t* frames, int maxFrames) override {
    snd_pcm_sframes_t n = snd_pcm_readi(pcm_.get(), frames, snd_pcm_uframes_t(maxFrames));
    if (n == -EAGAIN) return 0;
    // An overrun loses samples but the card goes on: start again.
    if (n == -EPIPE || n == -ESTRPIPE) n = snd_pcm_recover(pcm_.get(), int(n), 1) < 0 ? n : 0;
    if (n < 0) Fail(QStringLiteral("lost"), name_, int(n));
    return int(n);
  }

 private:
  QString name_;
  int channels_;
  TPcmPtr pcm_;
};

}  // namespace

std::unique_ptr<TSampleSource> OpenAlsaCapture(const QString& pcm, int channels) {
  return std::make_unique<TAlsaCapture>(pcm, channels);
}

void PlayAlsa(const QString& pcm, const std::vector<int16_t>& samples) {
  TPcmPtr handle = OpenPcm(pcm, SND_PCM_STREAM_PLAYBACK, 0, 1);
  for (size_t done = 0; done < samples.size();) {
    snd_pcm_sframes_t n = snd_pcm_writei(handle.get(), samples.data() + done, samples.size() - done);
    if (n < 0) n = snd_pcm_recover(handle.get(), int(n), 1);
    if (n < 0) Fail(QStringLiteral("cannot play on"), pcm, int(n));
    done += size_t(n);
  }
  snd_pcm_drain(handle.get());
}

QStringList AlsaCaptureDevices() {
  QStringList devices;
  void** hints = nullptr;
  if (snd_device_name_hint(-1, "pcm", &hints) < 0) return devices;
  for (void** h = hints; *h; ++h) {
    auto text = [&](const char* id) {
      char* value = snd_device_name_get_hint(*h, id);
      QString s = QString::fromLocal8Bit(value).simplified();
      free(value);
      return s;
    };
    const QString direction = text("IOID");
    if (direction.isEmpty() || direction == QLatin1String("Input"))
      devices << QStringLiteral("%1  %2").arg(text("NAME"), text("DESC"));
  }
  snd_device_name_free_hint(hints);
  return devices;
}

#else

std::unique_ptr<TSampleSource> OpenAlsaCapture(const QString& pcm, int) {
  throw EDeviceError(QStringLiteral("cannot capture from %1: built without ALSA").arg(pcm));
}

void PlayAlsa(const QString& pcm, const std::vector<int16_t>&) {
  throw EDeviceError(QStringLiteral("cannot play on %1: built without ALSA").arg(pcm));
}

QStringList AlsaCaptureDevices() { return {}; }

#endif

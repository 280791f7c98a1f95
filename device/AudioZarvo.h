#pragma once
// The device control over line audio: one telephone line per channel of a
// sound card (or of a recording), each decoded by its own TLineDecoder.
// Samples are fetched by a 50 ms timer on the user-interface thread; the
// level event comes after every fifth of a second of audio.

#include <QTimer>
#include <functional>
#include <limits>

#include "device/DeviceControl.h"
#include "device/LineDecoder.h"
#include "device/SampleSource.h"

class TAudioZarvo : public TDeviceControl {
  Q_OBJECT
 public:
  static constexpr int kFetchMs = 50;
  // Opens the source; raises EDeviceError when it cannot.
  using TOpener = std::function<std::unique_ptr<TSampleSource>()>;

  // Opens the source at once, so that a device that is not there is known
  // before the program starts. kind and reach are what the device's window
  // says the device is and how it is reached.
  TAudioZarvo(TOpener open, QString model, QString serial, QString kind = QStringLiteral("Ses girişi"),
              QString reach = {});
  ~TAudioZarvo() override;

  static constexpr int64_t kAll = std::numeric_limits<int64_t>::max();
  // Decodes what the source has ready, up to maxFrames: a second of audio
  // per timer tick, so that a source that never runs dry (ALSA's null
  // device) cannot hold the user-interface thread. Tests may ask for kAll.
  void Fetch(int64_t maxFrames = TLineDecoder::kSampleRate);
  // Stops the internal timer, leaving Fetch to the caller.
  void SetManualFetching(bool manual);

  int Lines() const { return int(decoders_.size()); }

  QString Model() const override { return model_; }
  QString Serial() const override { return serial_; }
  QString DeviceKind() const override { return kind_; }
  QString Reach() const override { return reach_; }
  int LineCount() const override { return Lines(); }
  QString Activity() const override;

 protected:
  bool Present() const override { return source_ != nullptr; }
  void Reconnect() override;
  QString Absence() const override { return absence_; }
  void LineCommand(TZarvoCommand command, const QString& argument) override;
  void OnStart() override;

 private:
  void Decode(const std::vector<int16_t>& frames, int count);
  void DeliverFrames(int line);
  void ReportLevels();
  void Lose(const QString& why);

  TOpener open_;
  std::unique_ptr<TSampleSource> source_;
  std::vector<std::unique_ptr<TLineDecoder>> decoders_;
  std::vector<int16_t> buffer_;
  std::vector<int> ringsSinceCall_;
  QString model_;
  QString serial_;
  QString kind_;
  QString reach_;
  QString absence_;
  QTimer timer_;
  bool manual_ = false;
  bool fetching_ = false;
};

// Runs a recording through a line-audio control from memory, all at once;
// answers the arguments of the caller-ID events it raised, in order.
QList<QStringList> CallsInRecording(const TLineAudio& audio);

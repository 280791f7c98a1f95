#include "device/AudioZarvo.h"

#include <QScopedValueRollback>

#include "device/DeviceError.h"
#include "platform/Application.h"

namespace {

constexpr int kFramesPerRead = 4096;

}  // namespace

TAudioZarvo::TAudioZarvo(TOpener open, QString model, QString serial, QString kind, QString reach)
    : open_(std::move(open)),
      source_(open_()),
      model_(std::move(model)),
      serial_(std::move(serial)),
      kind_(std::move(kind)),
      reach_(std::move(reach)) {
  decoders_.resize(size_t(source_->Channels()));
  for (auto& d : decoders_) d = std::make_unique<TLineDecoder>();
  ringsSinceCall_.assign(decoders_.size(), 0);
  timer_.setInterval(kFetchMs);
  connect(&timer_, &QTimer::timeout, this, [this] { Dispatch(nullptr, [this] { Fetch(); }); });
}

TAudioZarvo::~TAudioZarvo() = default;

void TAudioZarvo::OnStart() {
  if (!manual_) timer_.start();
}

void TAudioZarvo::SetManualFetching(bool manual) {
  manual_ = manual;
  if (manual)
    timer_.stop();
  else if (Started())
    timer_.start();
}

void TAudioZarvo::LineCommand(TZarvoCommand command, const QString& argument) {
  throw EDeviceError(QStringLiteral("'%1': bu cihaz hat komutlarını desteklemiyor (ses girişi)")
                         .arg(ZarvoCommandText(command, argument)));
}

QString TAudioZarvo::Activity() const {
  if (!source_) return QStringLiteral("ses girişi yok");
  QStringList lines;
  for (const auto& d : decoders_)
    lines << QStringLiteral("Hat %1 %2 dBm0").arg(lines.size() + 1).arg(std::max(-99.0, d->LevelDbm0()), 0, 'f', 0);
  return QStringLiteral("dinleniyor: ") + lines.join(QStringLiteral(", "));
}

void TAudioZarvo::Reconnect() {
  try {
    auto source = open_();
    if (source->Channels() != Lines())
      throw EDeviceError(QStringLiteral("%1 kanal bekleniyordu, %2 geldi").arg(Lines()).arg(source->Channels()));
    source_ = std::move(source);
    absence_.clear();
    LogFrame(0, model_, {}, QStringLiteral("cihaz yeniden bağlandı"), {});
  } catch (const EDeviceError& e) {
    absence_ = e.WhyOrMessage();  // still missing; the next poll tries again
  }
}

void TAudioZarvo::Lose(const QString& why) {
  source_.reset();
  absence_ = QStringLiteral("%1 bağlantısı koptu (%2)").arg(reach_.isEmpty() ? model_ : reach_, why);
  LogFrame(0, model_, {}, QStringLiteral("bağlantı koptu: %1").arg(why), {});
}

void TAudioZarvo::Fetch(int64_t maxFrames) {
  // A call's handler may run the event loop (a dialog): no second fetch inside it.
  if (!Started() || !source_ || fetching_) return;
  const QScopedValueRollback busy(fetching_, true);
  buffer_.resize(size_t(kFramesPerRead) * decoders_.size());
  for (int64_t fetched = 0; fetched < maxFrames;) {
    int count = 0;
    try {
      count = source_->Read(buffer_.data(), int(std::min<int64_t>(kFramesPerRead, maxFrames - fetched)));
    } catch (const EDeviceError& e) {
      Lose(e.Message());
      return;
    }
    if (count <= 0) return;
    fetched += count;
    Decode(buffer_, count);
  }
}

// Feeds count frames to the lines in steps that end on level-window
// boundaries, so that level reports and calls keep their order in time.
void TAudioZarvo::Decode(const std::vector<int16_t>& frames, int count) {
  const size_t channels = decoders_.size();
  std::vector<int16_t> line;
  for (int done = 0; done < count;) {
    const int64_t heard = decoders_[0]->SamplesHeard();
    const int step =
        int(std::min<int64_t>(count - done, TLineDecoder::kLevelWindow - heard % TLineDecoder::kLevelWindow));
    line.resize(size_t(step));
    for (size_t c = 0; c < channels; ++c) {
      for (int i = 0; i < step; ++i) line[size_t(i)] = frames[(size_t(done) + size_t(i)) * channels + c];
      decoders_[c]->Process(line.data(), step);
    }
    done += step;
    for (size_t c = 0; c < channels; ++c) DeliverFrames(int(c) + 1);
    if (decoders_[0]->SamplesHeard() % TLineDecoder::kLevelWindow == 0) ReportLevels();
  }
}

void TAudioZarvo::DeliverFrames(int line) {
  int& rings = ringsSinceCall_[size_t(line - 1)];
  for (const TReceivedFrame& f : decoders_[size_t(line - 1)]->TakeFrames()) {
    if (f.what == TReceivedFrame::rfRing) {
      ++rings;
      LogFrame(line, QStringLiteral("zil"), {},
               QStringLiteral("%1 ms, %2 dBm0").arg(f.durationMs).arg(f.levelDbm0, 0, 'f', 1), {});
      continue;
    }
    const QString source = SignalKindName(f.kind);
    const QString raw = f.kind == TSignalKind::skDtmf ? QString::fromLatin1(f.bytes) : HexText(f.bytes);
    const bool call = f.report && f.report->isCall;
    ReceiveMessage(line, serial_, call && rings ? QStringLiteral("%1; %2 zil").arg(source).arg(rings) : source, raw,
                   f.report, f.check);
    if (call) rings = 0;
  }
}

void TAudioZarvo::ReportLevels() {
  std::vector<int> levels;
  for (const auto& d : decoders_) levels.push_back(MeterLevel(d->LevelDbm0()));
  FireLevels(levels);
}

QList<QStringList> CallsInRecording(const TLineAudio& audio) {
  struct TCalls : IZarvoEvents {
    QList<QStringList> calls;
    void Invoke(int dispId, const QStringList& args) override {
      if (dispId == DISPID_OnCallerID) calls << args;
    }
  } events;
  TAudioZarvo control([&audio] { return std::make_unique<TMemorySource>(audio); }, QStringLiteral("recording"),
                      QStringLiteral("recording"));
  control.SetManualFetching(true);
  control.Advise(&events);
  control.Start();
  control.Fetch(TAudioZarvo::kAll);
  return events.calls;
}

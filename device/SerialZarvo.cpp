#include "device/SerialZarvo.h"

#include "device/DeviceError.h"
#include "platform/Application.h"

namespace {

const QString kSource = QStringLiteral("modem");

}  // namespace

TSerialZarvo::TSerialZarvo(const QStringList& ports, TModemLine::TTimings timings) {
  for (int i = 0; i < ports.size(); ++i) {
    const int line = i + 1;
    TModemLine::TEvents events;
    events.message = [this, line](const QString& raw, const std::optional<TCallerIdReport>& report, TFrameCheck check) {
      ReceiveMessage(line, lines_[size_t(line - 1)]->Serial(), kSource, raw, report, check);
    };
    events.note = [this, line](const QString& raw, const QString& note) { LogFrame(line, kSource, raw, note, {}); };
    events.error = [this](const QString& error) { ReportError(error); };
    lines_.push_back(std::make_unique<TModemLine>(line, ports[i], timings, std::move(events)));
    lines_.back()->Open();
  }
  levelTimer_.setInterval(kLevelIntervalMs);
  connect(&levelTimer_, &QTimer::timeout, this, [this] { Dispatch(nullptr, [this] { ReportLevels(); }); });
}

TSerialZarvo::~TSerialZarvo() = default;

void TSerialZarvo::OnStart() {
  for (auto& line : lines_) line->Initialise();
  levelTimer_.start();
}

bool TSerialZarvo::Present() const {
  return std::all_of(lines_.begin(), lines_.end(), [](const auto& line) { return line->Ready(); });
}

void TSerialZarvo::Reconnect() {
  for (auto& line : lines_) {
    if (line->Ready() || line->Initialising()) continue;
    if (!line->IsOpen()) {
      try {
        line->Open();
      } catch (const EDeviceError&) {
        continue;  // still missing, and the line knows why; the next poll tries again
      }
    }
    line->Initialise();
  }
}

QString TSerialZarvo::Absence() const {
  QStringList why;
  for (const auto& line : lines_)
    if (!line->Ready() && !line->Absence().isEmpty()) why << line->Absence();
  return why.join(QStringLiteral("; "));
}

QString TSerialZarvo::Reach() const {
  QStringList ports;
  for (const auto& line : lines_) ports << QStringLiteral("Hat %1: %2").arg(ports.size() + 1).arg(line->PortName());
  return ports.join(QStringLiteral(", "));
}

QString TSerialZarvo::Activity() const {
  QStringList lines;
  for (const auto& line : lines_) lines << QStringLiteral("Hat %1 %2").arg(lines.size() + 1).arg(line->Activity());
  return lines.join(QStringLiteral(", "));
}

QString TSerialZarvo::Model() const {
  QStringList models;
  for (const auto& line : lines_) models << line->Model();
  models.removeDuplicates();
  const QString model = models.join(QStringLiteral(" / "));
  return lines_.size() > 1 ? QStringLiteral("%1 (%2 hat)").arg(model).arg(lines_.size()) : model;
}

QString TSerialZarvo::Serial() const {
  QStringList serials;
  for (const auto& line : lines_) serials << line->Serial();
  return serials.join(QStringLiteral(", "));
}

void TSerialZarvo::LineCommand(TZarvoCommand command, const QString& argument) {
  TModemLine& line = *lines_.front();
  if (command == TZarvoCommand::zcLineOn)
    line.TakeLine();
  else if (command == TZarvoCommand::zcLineOff)
    line.ReleaseLine();
  else
    line.Dial(argument);
}

void TSerialZarvo::ReportLevels() {
  std::vector<int> levels;
  for (const auto& line : lines_) levels.push_back(line->Level());
  FireLevels(levels);
}

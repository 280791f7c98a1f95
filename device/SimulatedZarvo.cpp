#include "device/SimulatedZarvo.h"

#include <QDateTime>
#include <QPainter>
#include <QWidget>

#include "platform/Application.h"
#include "platform/Dialogs.h"

namespace {

constexpr int kRingSteps = 40;          // four seconds of ringing
constexpr int kCallerIdAfterSteps = 8;  // the number arrives after the first ring
constexpr int kMinCallGapSteps = 30;
constexpr int kMaxCallGapSteps = 80;

// Mobile prefixes and city codes that appear on Turkish lines.
constexpr std::array<int, 12> kMobilePrefixes = {530, 532, 533, 535, 541, 542, 543, 505, 506, 552, 553, 555};
constexpr std::array<int, 8> kCityCodes = {212, 216, 312, 232, 224, 242, 322, 262};

// The control's own face on the form: a small button-coloured box.
class TZarvoFace : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(height() - 6);
    f.setBold(true);
    p.setFont(f);
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Z"));
  }
};

}  // namespace

TSimulatedZarvo::TSimulatedZarvo(quint32 seed) : rng_(seed) {
  serial_ = QStringLiteral("ZRV4-%1").arg(rng_.bounded(100000, 1000000));
  timer_.setInterval(kStepMs);
  connect(&timer_, &QTimer::timeout, this, [this] { Dispatch(nullptr, [this] { Step(); }); });
}

TSimulatedZarvo::~TSimulatedZarvo() = default;

HRESULT TSimulatedZarvo::GetFormVisible(bool& Value) {
  Value = formVisible_;
  return S_OK;
}

HRESULT TSimulatedZarvo::SetFormVisible(bool Value) {
  // The control's own settings form; the device works the same either way.
  formVisible_ = Value;
  return S_OK;
}

HRESULT TSimulatedZarvo::ShowAbout() {
  MessageDlg(
      QStringLiteral("Zarvo Caller ID denetimi\r\nYerleşik 4 hatlı cihaz simülasyonu\r\nSeri no: %1").arg(serial_),
      mtInformation);
  return S_OK;
}

HRESULT TSimulatedZarvo::Start() {
  if (started_) return S_OK;
  started_ = true;
  ScheduleNextCall();
  if (!manual_) timer_.start();
  return S_OK;
}

QString TSimulatedZarvo::Model() const { return started_ ? QStringLiteral("KR4 USB (4 hat, simülasyon)") : QString(); }

HRESULT TSimulatedZarvo::Command(const QString& Cmd, QString& Result) {
  Result.clear();
  if (Cmd == QLatin1String("devicemodel")) {
    Result = Model();
  } else if (Cmd == QLatin1String("serial")) {
    if (started_) Result = serial_;
  } else if (Cmd == QLatin1String("LineStatus1")) {
    seizedLine_ = 1;
  } else if (Cmd == QLatin1String("LineStatus0")) {
    seizedLine_ = 0;
    dialStepsLeft_ = 0;
  } else if (Cmd.startsWith(QLatin1String("dial"))) {
    lastDialled_ = Cmd.mid(4);
    // Dialling only reaches the line while it is seized.
    if (seizedLine_) dialStepsLeft_ = int(lastDialled_.size());
  } else {
    return E_FAIL;
  }
  return S_OK;
}

void TSimulatedZarvo::Advise(IZarvoEvents* Sink) { sink_ = Sink; }

QWidget* TSimulatedZarvo::Window() {
  if (!window_) window_ = std::make_unique<TZarvoFace>();
  return window_.get();
}

void TSimulatedZarvo::SetManualStepping(bool manual) {
  manual_ = manual;
  if (manual)
    timer_.stop();
  else if (started_)
    timer_.start();
}

void TSimulatedZarvo::Fire(int dispId, const QStringList& args) {
  if (sink_) sink_->Invoke(dispId, args);
}

int TSimulatedZarvo::BaseLevel(int line) const {
  if (line == ring_.line && ring_.stepsLeft > 0) {
    // Ring bursts: two seconds of ringing voltage, one of pause.
    const bool burst = (kRingSteps - ring_.stepsLeft) % 30 < 20;
    return burst ? 24 : 3;
  }
  if (line == seizedLine_) return dialStepsLeft_ > 0 ? 18 : 12;
  return 1;
}

void TSimulatedZarvo::Step() {
  if (!started_) return;
  ++step_;
  if (ring_.stepsLeft > 0) {
    if (ring_.stepsLeft == ring_.cidAtStep) SendCallerID();
    if (--ring_.stepsLeft == 0) ring_.line = 0;
  } else if (--stepsToNextCall_ <= 0) {
    StartRinging();
  }
  if (dialStepsLeft_ > 0) --dialStepsLeft_;
  if (step_ % kLevelEverySteps == 0) ReportLevels();
}

void TSimulatedZarvo::ReportLevels() {
  QStringList levels;
  for (int line = 1; line <= kLines; ++line) {
    const int base = BaseLevel(line);
    const int noise = base > 2 ? int(rng_.bounded(5)) - 2 : -int(rng_.bounded(2));
    levels << QString::number(std::max(0, base + noise));
  }
  // The box has inputs for eight levels; the last four are always idle.
  for (int i = kLines; i < 8; ++i) levels << QStringLiteral("0");
  Fire(DISPID_OnSignalA, levels);
}

void TSimulatedZarvo::ScheduleNextCall() {
  stepsToNextCall_ = int(rng_.bounded(kMinCallGapSteps, kMaxCallGapSteps + 1));
}

void TSimulatedZarvo::StartRinging() {
  ring_.line = int(rng_.bounded(1, kLines + 1));
  // A seized line cannot ring; the call goes to the next free one.
  if (ring_.line == seizedLine_) ring_.line = ring_.line % kLines + 1;
  ring_.stepsLeft = kRingSteps;
  ring_.cidAtStep = kRingSteps - kCallerIdAfterSteps;
  ring_.number = RandomPhoneNumber();
  ScheduleNextCall();
}

void TSimulatedZarvo::SendCallerID() {
  const QString when = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
  Fire(DISPID_OnCallerID, {serial_, QString::number(ring_.line), ring_.number, when, QStringLiteral("CID")});
}

QString TSimulatedZarvo::RandomPhoneNumber() {
  auto digits = [this](int n) {
    QString s;
    for (int i = 0; i < n; ++i) s += QChar(u'0' + rng_.bounded(10));
    return s;
  };
  // About one caller in ten withholds the number.
  const quint32 kind = rng_.bounded(10);
  if (kind == 0) return QString();
  if (kind < 6)
    return QStringLiteral("0%1%2").arg(kMobilePrefixes[rng_.bounded(int(kMobilePrefixes.size()))]).arg(digits(7));
  return QStringLiteral("0%1%2").arg(kCityCodes[rng_.bounded(int(kCityCodes.size()))]).arg(digits(7));
}

void RegisterShippedZarvo(quint32 seed) {
  RegisterZarvoClass(CLASS_Zarvo, [seed] { return std::make_unique<TSimulatedZarvo>(seed); });
}

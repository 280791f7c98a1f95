#include "device/SimulatedZarvo.h"

#include "platform/Application.h"

namespace {

constexpr int kRingSteps = 40;          // four seconds of ringing
constexpr int kCallerIdAfterSteps = 8;  // the number arrives after the first ring
constexpr int kMinCallGapSteps = 30;
constexpr int kMaxCallGapSteps = 80;

// Mobile prefixes and city codes that appear on Turkish lines.
constexpr std::array<int, 12> kMobilePrefixes = {530, 532, 533, 535, 541, 542, 543, 505, 506, 552, 553, 555};
constexpr std::array<int, 8> kCityCodes = {212, 216, 312, 232, 224, 242, 322, 262};

}  // namespace

TSimulatedZarvo::TSimulatedZarvo(quint32 seed) : seed_(seed), rng_(seed) {
  serial_ = QStringLiteral("ZRV4-%1").arg(rng_.bounded(100000, 1000000));
  timer_.setInterval(kStepMs);
  connect(&timer_, &QTimer::timeout, this, [this] { Dispatch(nullptr, [this] { Step(); }); });
}

TSimulatedZarvo::~TSimulatedZarvo() = default;

void TSimulatedZarvo::OnStart() {
  ScheduleNextCall();
  if (!manual_) timer_.start();
}

QString TSimulatedZarvo::Model() const { return QStringLiteral("KR4 USB (4 hat, simülasyon)"); }

QString TSimulatedZarvo::Reach() const {
  return QStringLiteral("bilgisayarın içinde, tohum %1 (her çalıştırmada aynı aramalar)").arg(seed_);
}

QString TSimulatedZarvo::Activity() const {
  QStringList now;
  if (ring_.stepsLeft > 0) now << QStringLiteral("Hat %1 çalıyor").arg(ring_.line);
  if (seizedLine_)
    now << (dialStepsLeft_ > 0 ? QStringLiteral("Hat %1 alındı, %2 çevriliyor").arg(seizedLine_).arg(lastDialled_)
                               : QStringLiteral("Hat %1 alındı").arg(seizedLine_));
  return now.isEmpty() ? QStringLiteral("boşta") : now.join(QStringLiteral(", "));
}

void TSimulatedZarvo::LineCommand(TZarvoCommand command, const QString& argument) {
  if (command == TZarvoCommand::zcLineOn) {
    seizedLine_ = 1;
  } else if (command == TZarvoCommand::zcLineOff) {
    seizedLine_ = 0;
    dialStepsLeft_ = 0;
  } else {
    lastDialled_ = argument;
    // Dialling only reaches the line while it is seized.
    if (seizedLine_) dialStepsLeft_ = int(lastDialled_.size());
  }
}

void TSimulatedZarvo::SetManualStepping(bool manual) {
  manual_ = manual;
  if (manual)
    timer_.stop();
  else if (Started())
    timer_.start();
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
  if (!Started()) return;
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
  // The box has inputs for eight levels; the last four are always idle.
  std::vector<int> levels;
  for (int line = 1; line <= kLines; ++line) {
    const int base = BaseLevel(line);
    const int noise = base > 2 ? int(rng_.bounded(5)) - 2 : -int(rng_.bounded(2));
    levels.push_back(std::max(0, base + noise));
  }
  FireLevels(levels);
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
  ring_.caller = RandomCaller();
  ScheduleNextCall();
}

void TSimulatedZarvo::SendCallerID() {
  const TCallerIdReport& caller = ring_.caller;
  const QString raw = caller.numberAbsent.isNull() ? caller.number : QString(caller.numberAbsent);
  ReceiveMessage(ring_.line, serial_, QStringLiteral("CID"), raw, caller, TFrameCheck::fcGood);
}

TCallerIdReport TSimulatedZarvo::RandomCaller() {
  auto digits = [this](int n) {
    QString s;
    for (int i = 0; i < n; ++i) s += QChar(u'0' + rng_.bounded(10));
    return s;
  };
  TCallerIdReport caller;
  // About one caller in ten withholds the number, and one in ten has none to send.
  const quint32 kind = rng_.bounded(10);
  if (kind == 0)
    caller.numberAbsent = u'P';
  else if (kind == 1)
    caller.numberAbsent = u'O';
  else if (kind < 6)
    caller.number =
        QStringLiteral("0%1%2").arg(kMobilePrefixes[rng_.bounded(int(kMobilePrefixes.size()))]).arg(digits(7));
  else
    caller.number = QStringLiteral("0%1%2").arg(kCityCodes[rng_.bounded(int(kCityCodes.size()))]).arg(digits(7));
  return caller;
}

void RegisterShippedZarvo(quint32 seed) {
  RegisterZarvoClass(CLASS_Zarvo, [seed] { return std::make_unique<TSimulatedZarvo>(seed); });
}

#pragma once
// The shipped device control. Its device is a built-in simulated 4-line
// caller-ID box: reproducible from its seed, driven by one 100 ms step on the
// user-interface thread, so every event arrives there.

#include <QRandomGenerator>
#include <QTimer>
#include <array>

#include "device/DeviceControl.h"

class TSimulatedZarvo : public TDeviceControl {
  Q_OBJECT
 public:
  static constexpr int kLines = 4;
  static constexpr int kStepMs = 100;
  static constexpr int kLevelEverySteps = 2;  // five level reports a second

  explicit TSimulatedZarvo(quint32 seed);
  ~TSimulatedZarvo() override;

  // One step of simulated time; the internal timer calls it every kStepMs
  // once started, tests call it directly.
  void Step();
  // Stops the internal timer, leaving Step to the caller.
  void SetManualStepping(bool manual);

  QString Model() const override;
  QString Serial() const override { return serial_; }
  QString DeviceKind() const override { return QStringLiteral("Yerleşik simülasyon"); }
  QString Reach() const override;
  int LineCount() const override { return kLines; }
  QString Activity() const override;

  int SeizedLine() const { return seizedLine_; }
  const QString& LastDialled() const { return lastDialled_; }
  // Level the line would report now, before noise.
  int BaseLevel(int line) const;

 protected:
  bool Present() const override { return true; }
  void Reconnect() override {}
  void LineCommand(TZarvoCommand command, const QString& argument) override;
  void OnStart() override;

 private:
  struct Ring {
    int line = 0;  // 1..4, 0 when no line rings
    int stepsLeft = 0;
    int cidAtStep = 0;  // steps left when the caller ID is sent
    TCallerIdReport caller;
  };

  void ReportLevels();
  void ScheduleNextCall();
  void StartRinging();
  void SendCallerID();
  TCallerIdReport RandomCaller();

  quint32 seed_;
  QRandomGenerator rng_;
  QTimer timer_;
  QString serial_;
  bool manual_ = false;
  int step_ = 0;
  int stepsToNextCall_ = 0;
  Ring ring_;
  int seizedLine_ = 0;
  int dialStepsLeft_ = 0;
  QString lastDialled_;
};

// Registers the shipped control under CLASS_Zarvo; its simulated device is
// seeded with seed.
void RegisterShippedZarvo(quint32 seed = 926);

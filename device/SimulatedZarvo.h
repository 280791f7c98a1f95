#pragma once
// The shipped device control. Its device is a built-in simulated 4-line
// caller-ID box: reproducible from its seed, driven by one 100 ms step on the
// user-interface thread, so every event arrives there.

#include <QObject>
#include <QRandomGenerator>
#include <QTimer>
#include <array>

#include "app/zarvocallerid_TLB.h"

class TSimulatedZarvo : public QObject, public IZarvo {
  Q_OBJECT
 public:
  static constexpr int kLines = 4;
  static constexpr int kStepMs = 100;
  static constexpr int kLevelEverySteps = 2;  // five level reports a second

  explicit TSimulatedZarvo(quint32 seed);
  ~TSimulatedZarvo() override;

  HRESULT GetFormVisible(bool& Value) override;
  HRESULT SetFormVisible(bool Value) override;
  HRESULT ShowAbout() override;
  HRESULT Start() override;
  HRESULT Command(const QString& Cmd, QString& Result) override;
  void Advise(IZarvoEvents* Sink) override;
  QWidget* Window() override;

  // One step of simulated time; the internal timer calls it every kStepMs
  // once started, tests call it directly.
  void Step();
  // Stops the internal timer, leaving Step to the caller.
  void SetManualStepping(bool manual);

  QString Model() const;
  QString Serial() const { return serial_; }
  bool Started() const { return started_; }
  int SeizedLine() const { return seizedLine_; }
  const QString& LastDialled() const { return lastDialled_; }
  // Level the line would report now, before noise.
  int BaseLevel(int line) const;

 private:
  struct Ring {
    int line = 0;  // 1..4, 0 when no line rings
    int stepsLeft = 0;
    int cidAtStep = 0;  // steps left when the caller ID is sent
    QString number;
  };

  void ReportLevels();
  void ScheduleNextCall();
  void StartRinging();
  void SendCallerID();
  QString RandomPhoneNumber();
  void Fire(int dispId, const QStringList& args);

  QRandomGenerator rng_;
  QTimer timer_;
  std::unique_ptr<QWidget> window_;
  IZarvoEvents* sink_ = nullptr;
  QString serial_;
  bool formVisible_ = true;
  bool started_ = false;
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

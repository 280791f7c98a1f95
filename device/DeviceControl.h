#pragma once
// What the device controls for real devices share behind the contract: the
// answers to "devicemodel" and "serial" while the device is there, the
// reconnection on the status poll after a loss, the caller-ID and level
// events, errors for the application's report, the frame log and its window.
// Everything runs on the user-interface thread.

#include <QObject>
#include <memory>
#include <optional>
#include <vector>

#include "app/zarvocallerid_TLB.h"
#include "device/CallerIdMessage.h"
#include "device/FrameLog.h"

class TRealZarvo : public QObject, public IZarvo {
  Q_OBJECT
 public:
  static constexpr int kLines = 4;
  static constexpr int kLevelIntervalMs = 200;  // five level reports a second

  TRealZarvo();
  ~TRealZarvo() override;

  HRESULT GetFormVisible(bool& Value) override;
  HRESULT SetFormVisible(bool Value) override;
  HRESULT ShowAbout() override;
  HRESULT Start() override;
  HRESULT Command(const QString& Cmd, QString& Result) override;
  void Advise(IZarvoEvents* Sink) override;
  QWidget* Window() override;

  bool Started() const { return started_; }
  const TFrameLog& Log() const { return log_; }
  TFrameWindow* FrameWindow() const { return frameWindow_.get(); }

 protected:
  // True while every part of the device answers.
  virtual bool Present() const = 0;
  // The poll found the device missing: try to bring it back.
  virtual void Reconnect() = 0;
  virtual QString Model() const = 0;
  virtual QString Serial() const = 0;
  // "LineStatus1", "LineStatus0" or "dial…"; raises EDeviceError when the
  // device refuses.
  virtual void LineCommand(const QString& Cmd) = 0;
  virtual void OnStart() = 0;

  // Logs a message received on line (1-based) and acts on it: a call raises
  // OnCallerID, a damaged message (no report) one line of the error report.
  void ReceiveMessage(int line, const QString& deviceId, const QString& source, const QString& raw,
                      const std::optional<TCallerIdReport>& report, TFrameCheck check);
  // Raises OnSignalA; lines beyond those given read 0.
  void FireLevels(const std::vector<int>& levels);
  // One line of the application's error report; the work goes on.
  void ReportError(const QString& message);
  void LogFrame(int line, const QString& source, const QString& raw, const QString& fields, const QString& verdict);

 private:
  QString StateText() const;

  IZarvoEvents* sink_ = nullptr;
  bool formVisible_ = true;
  bool started_ = false;
  TFrameLog log_;
  std::unique_ptr<QWidget> face_;
  std::unique_ptr<TFrameWindow> frameWindow_;
};

// The caller-ID event's date-time text: the exchange's month, day, hour and
// minute in this year, or now when the message carried none.
QString CallDateTimeText(const QString& mmddhhmm, const QDateTime& now);
// The event's other text: source, name and why a number is missing.
QString CallOtherText(const TCallerIdReport& report, const QString& source);

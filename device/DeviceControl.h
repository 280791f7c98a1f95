#pragma once
// What every device control shares behind the contract, the simulated one
// included: the answers to the model and serial commands while the device
// is there, the reconnection on the status poll after a loss, the reason a
// device does not answer (once in the error report), the caller-ID and
// level events, errors for the application's report, the frame log, the
// test record of each device seen and the device's own window. Everything runs on the user-interface thread.

#include <QObject>
#include <memory>
#include <optional>
#include <vector>

#include "app/zarvocallerid_TLB.h"
#include "device/CallerIdMessage.h"
#include "device/FrameLog.h"
#include "device/TestRecorder.h"

class TDeviceWindow;

class TDeviceControl : public QObject, public IZarvo {
  Q_OBJECT
 public:
  static constexpr int kLevelIntervalMs = 200;  // five level reports a second

  TDeviceControl();
  ~TDeviceControl() override;

  HRESULT GetFormVisible(bool& Value) override;
  HRESULT SetFormVisible(bool Value) override;
  HRESULT ShowAbout() override;
  HRESULT Start() override;
  HRESULT Command(const QString& Cmd, QString& Result) override;
  void Advise(IZarvoEvents* Sink) override;
  QWidget* Window() override;

  bool Started() const { return started_; }
  const TFrameLog& Log() const { return log_; }
  // The session of the device seen now and the record file behind it.
  const TTestRecorder& Record() const { return record_; }
  // Made by the first ShowAbout or double click on the control's face.
  TDeviceWindow* DeviceWindow() const { return window_.get(); }

  // What the device says it is; meaningful while it is present.
  virtual QString Model() const = 0;
  virtual QString Serial() const = 0;
  // What the device's window tells about it.
  virtual QString DeviceKind() const = 0;  // "Seri modem" …
  virtual QString Reach() const = 0;       // how it is reached: ports, capture device, file
  virtual int LineCount() const = 0;
  virtual QString Activity() const = 0;  // what the device is doing now, in words
  // "Başlatılmadı", "Bağlı" or "Bağlantı bekleniyor" with the reason when known.
  QString StateText() const;
  bool Answering() const { return started_ && Present(); }
  const QString& LastError() const { return lastError_; }

  // The withheld and unavailable marks as the call list shows them.
  static QString AbsentNumberText(QChar reason);

 protected:
  // True while every part of the device answers.
  virtual bool Present() const = 0;
  // The poll found the device missing: try to bring it back.
  virtual void Reconnect() = 0;
  // Why the device does not answer, in Turkish; empty when not known.
  virtual QString Absence() const { return {}; }
  // A line command; raises EDeviceError when the device refuses.
  virtual void LineCommand(TZarvoCommand command, const QString& argument) = 0;
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
  // The window, when shown, reads the device again.
  void StateChanged();

 private:
  void AnswerModel(QString& Result);
  // The device answers: its session runs.
  void NoteDevice();
  // A line of the error report that is not itself recorded.
  void Announce(const QString& message);
  void RunLineCommand(TZarvoCommand command, const QString& Cmd, const QString& argument);

  IZarvoEvents* sink_ = nullptr;
  bool formVisible_ = true;
  bool started_ = false;
  TFrameLog log_;
  QString lastError_;
  QString reportedAbsence_;
  bool closing_ = false;
  TTestRecorder record_;
  std::unique_ptr<QWidget> face_;
  std::unique_ptr<TDeviceWindow> window_;
};

// The caller-ID event's date-time text: the exchange's month, day, hour and
// minute in this year, or now when the message carried none.
QString CallDateTimeText(const QString& mmddhhmm, const QDateTime& now);
// The event's other text: source, name and why a number is missing.
QString CallOtherText(const TCallerIdReport& report, const QString& source);

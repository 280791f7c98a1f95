#pragma once
// One caller-ID modem on one serial port, one telephone line: the AT
// dialogue that switches caller ID on and asks for model and serial number,
// the modem's reports (formatted "NMBR = " lines and unformatted
// hexadecimal messages), RING, and the hook and dial commands. Runs on the
// user-interface thread, driven by the port's signals and its own timers.

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "device/CallerIdMessage.h"

class QSerialPort;

class TModemLine : public QObject {
  Q_OBJECT
 public:
  struct TTimings {
    int answerMs = 2000;      // a modem that says nothing for this long is not there
    int dialMs = 30000;       // dialling answers when the last digit has gone
    int reportQuietMs = 300;  // a formatted report is whole after this pause
    int ringHoldMs = 6000;    // a line rings until this long after its last RING
  };
  // What the line tells its device control.
  struct TEvents {
    std::function<void(const QString& raw, const std::optional<TCallerIdReport>& report, TFrameCheck check)> message;
    std::function<void(const QString& raw, const QString& note)> note;
    std::function<void(const QString& error)> error;
  };

  // Meter readings of a modem, which has no level meter of its own.
  static constexpr int kIdleLevel = 1;
  static constexpr int kOffHookLevel = 12;
  static constexpr int kDiallingLevel = 18;
  static constexpr int kRingingLevel = 24;
  static constexpr int kMaxLineLength = 512;

  TModemLine(int line, QString portName, TTimings timings, TEvents events);
  ~TModemLine() override;

  // Raises EDeviceError saying why the port cannot be opened.
  void Open();
  bool IsOpen() const;
  // Runs the AT dialogue; Ready once the modem has answered it.
  void Initialise();
  bool Initialising() const { return initialising_; }
  bool Ready() const { return IsOpen() && identified_; }

  const QString& PortName() const { return portName_; }
  const QString& Model() const { return model_; }
  const QString& Serial() const { return serial_; }
  const QString& CallerIdCommand() const { return callerIdCommand_; }
  int Level() const;
  bool OffHook() const { return offHook_; }
  // Why the modem is not ready, in Turkish: the port cannot be opened, is
  // gone, or the modem does not answer; empty while it is or once it was.
  const QString& Absence() const { return absence_; }
  // What the line is doing now, in words ("boşta", "çalıyor" …).
  QString Activity() const;

  // Line control; each raises EDeviceError when the modem is not ready or
  // the number cannot be dialled, and reports a refusal as an error later.
  void TakeLine();
  void ReleaseLine();
  void Dial(const QString& number);

  // Takes bytes the port read: lines of at most kMaxLineLength bytes,
  // however they are cut into reads. Public so that a stream can be fed
  // without a port.
  void Receive(const QByteArray& bytes);

 private:
  struct TReply {
    bool ok = false;
    QString result;  // "OK", "ERROR", … or empty when nothing came
    QStringList info;
  };
  struct TCommand {
    QByteArray text;
    int timeoutMs;
    std::function<void(const TReply&)> done;
  };

  void Send(const QByteArray& text, std::function<void(const TReply&)> done, int timeoutMs = 0);
  void SendNext();
  void Finish(const QString& result, bool ok);
  void OnReadyRead();
  void DropLongLine(const QByteArray& line);
  void OnLine(const QString& line);
  bool TakeFormattedField(const QString& line);
  void FinishFormattedReport();
  bool TakeHexMessage(const QString& line);
  void OnRing();
  void Lose(const QString& why);
  bool Ringing() const;
  void RequireReady() const;
  void Refused(const TReply& reply, const QByteArray& command);
  void AskModel(const QByteArray& command, std::function<void()> otherwise);
  QString PortIdentifier() const;

  int line_;
  QString portName_;
  TTimings timings_;
  TEvents events_;
  std::unique_ptr<QSerialPort> port_;
  QByteArray input_;
  bool discarding_ = false;  // the rest of an overlong line

  std::deque<TCommand> queue_;
  std::optional<TCommand> current_;
  TReply reply_;
  QTimer answerTimer_;

  bool initialising_ = false;
  bool identified_ = false;
  QString model_;
  QString serial_;
  QString callerIdCommand_;
  QString absence_;

  struct TFormatted {
    QStringList lines;
    QStringList fields;  // field names seen
    QString date, time;
    TCallerIdReport report;
  } formatted_;
  QTimer reportTimer_;

  QElapsedTimer sinceRing_;
  bool offHook_ = false;
  bool dialling_ = false;
};

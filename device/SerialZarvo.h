#pragma once
// The device control over caller-ID modems: one modem per serial port, one
// telephone line per modem, up to four. The device is there while every
// modem answers; line commands go to the modem of line 1.

#include <QStringList>
#include <QTimer>

#include "device/DeviceControl.h"
#include "device/ModemLine.h"

class TSerialZarvo : public TDeviceControl {
  Q_OBJECT
 public:
  // Opens every port at once, so that a port that cannot be opened is
  // known before the program starts; raises EDeviceError.
  explicit TSerialZarvo(const QStringList& ports, TModemLine::TTimings timings = {});
  ~TSerialZarvo() override;

  int Lines() const { return int(lines_.size()); }
  const TModemLine& Line(int line) const { return *lines_.at(size_t(line - 1)); }

  QString Model() const override;
  QString Serial() const override;
  QString DeviceKind() const override { return QStringLiteral("Seri modem"); }
  QString Reach() const override;
  int LineCount() const override { return Lines(); }
  QString Activity() const override;

 protected:
  bool Present() const override;
  void Reconnect() override;
  QString Absence() const override;
  void LineCommand(TZarvoCommand command, const QString& argument) override;
  void OnStart() override;

 private:
  void ReportLevels();

  std::vector<std::unique_ptr<TModemLine>> lines_;
  QTimer levelTimer_;
};

#pragma once
// The device control over caller-ID modems: one modem per serial port, one
// telephone line per modem, up to four. The device is there while every
// modem answers; line commands go to the modem of line 1.

#include <QStringList>
#include <QTimer>

#include "device/ModemLine.h"
#include "device/RealZarvo.h"

class TSerialZarvo : public TRealZarvo {
  Q_OBJECT
 public:
  // Opens every port at once, so that a port that cannot be opened is
  // known before the program starts; raises EDeviceError.
  explicit TSerialZarvo(const QStringList& ports, TModemLine::TTimings timings = {});
  ~TSerialZarvo() override;

  int Lines() const { return int(lines_.size()); }
  const TModemLine& Line(int line) const { return *lines_.at(size_t(line - 1)); }

 protected:
  bool Present() const override;
  void Reconnect() override;
  QString Model() const override;
  QString Serial() const override;
  void LineCommand(const QString& Cmd) override;
  void OnStart() override;

 private:
  void ReportLevels();

  std::vector<std::unique_ptr<TModemLine>> lines_;
  QTimer levelTimer_;
};

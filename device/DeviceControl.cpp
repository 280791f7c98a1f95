#include "device/DeviceControl.h"

#include <QPainter>

#include "device/DeviceError.h"
#include "device/DeviceWindow.h"
#include "platform/Application.h"

namespace {

// The control's face on the form: the maker's "Z" and a dot that is green
// while the device answers. A double click opens the device's window.
class TDeviceFace : public QWidget {
 public:
  TDeviceFace(std::function<bool()> answering, std::function<void()> open)
      : answering_(std::move(answering)), open_(std::move(open)) {
    setToolTip(QStringLiteral("Cihaz penceresi için çift tıklayın"));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(height() - 8);
    f.setBold(true);
    p.setFont(f);
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Z"));
    p.setPen(Qt::NoPen);
    p.setBrush(answering_() ? QColor(0, 160, 0) : QColor(128, 128, 128));
    p.drawEllipse(width() - 7, height() - 7, 5, 5);
  }
  void mouseDoubleClickEvent(QMouseEvent*) override { Dispatch(nullptr, open_); }

 private:
  std::function<bool()> answering_;
  std::function<void()> open_;
};

const QString kCommandSource = QStringLiteral("komut");

}  // namespace

TDeviceControl::TDeviceControl() : record_([this](const QString& line) { Announce(line); }) {
  log_.OnChange = [this] { StateChanged(); };
  record_.OnSessionChange = [this] { StateChanged(); };
}

// The session ends with the record, after the device itself is gone: what
// it may report then reaches no window.
TDeviceControl::~TDeviceControl() {
  closing_ = true;
  window_.reset();
}

HRESULT TDeviceControl::GetFormVisible(bool& Value) {
  Value = formVisible_;
  return S_OK;
}

HRESULT TDeviceControl::SetFormVisible(bool Value) {
  formVisible_ = Value;
  return S_OK;
}

HRESULT TDeviceControl::ShowAbout() {
  if (!window_) window_ = std::make_unique<TDeviceWindow>(*this);
  window_->Refresh();
  window_->show();
  window_->raise();
  return S_OK;
}

HRESULT TDeviceControl::Start() {
  if (started_) return S_OK;
  started_ = true;
  record_.Open(RecordFile());
  OnStart();
  StateChanged();
  return S_OK;
}

HRESULT TDeviceControl::Command(const QString& Cmd, QString& Result) {
  Result.clear();
  try {
    QString argument;
    switch (const TZarvoCommand command = ParseZarvoCommand(Cmd, &argument)) {
      case TZarvoCommand::zcDeviceModel:
        AnswerModel(Result);
        break;
      case TZarvoCommand::zcSerial:
        if (Answering()) Result = Serial();
        break;
      case TZarvoCommand::zcLineOn:
      case TZarvoCommand::zcLineOff:
      case TZarvoCommand::zcDial:
        RunLineCommand(command, Cmd, argument);
        break;
      case TZarvoCommand::zcUnknown:
        throw EDeviceError(QStringLiteral("Bilinmeyen komut: '%1'").arg(Cmd));
    }
  } catch (const Exception& e) {
    SetZarvoErrorInfo(e.Message());
    return E_FAIL;
  }
  return S_OK;
}

// The poll's question: brings a lost device back, says once why it does
// not answer, and starts or ends the device's test session.
void TDeviceControl::AnswerModel(QString& Result) {
  if (started_ && !Present()) Reconnect();
  if (Answering()) {
    Result = Model();
    reportedAbsence_.clear();
    NoteDevice();
  } else if (started_) {
    record_.Gone();
    if (const QString why = Absence(); !why.isEmpty() && why != reportedAbsence_) {
      reportedAbsence_ = why;
      ReportError(why);
    }
  }
  if (face_) face_->update();
  StateChanged();
}

void TDeviceControl::RunLineCommand(TZarvoCommand command, const QString& Cmd, const QString& argument) {
  try {
    LineCommand(command, argument);
  } catch (const EDeviceError& e) {
    LogFrame(0, kCommandSource, Cmd, e.Message(), QStringLiteral("reddedildi"));
    record_.Command(Cmd, QStringLiteral("reddedildi: ") + e.Message());
    throw;
  }
  LogFrame(0, kCommandSource, Cmd, {}, QStringLiteral("gönderildi"));
  record_.Command(Cmd, QStringLiteral("gönderildi"));
}

void TDeviceControl::NoteDevice() { record_.Seen({Serial(), Model(), LineCount(), DeviceKind()}); }

void TDeviceControl::Advise(IZarvoEvents* Sink) { sink_ = Sink; }

QWidget* TDeviceControl::Window() {
  if (!face_) face_ = std::make_unique<TDeviceFace>([this] { return Answering(); }, [this] { ShowAbout(); });
  return face_.get();
}

QString TDeviceControl::AbsentNumberText(QChar reason) {
  return reason == u'P' ? QStringLiteral("Gizli numara") : QStringLiteral("Numara yok");
}

void TDeviceControl::ReceiveMessage(int line, const QString& deviceId, const QString& source, const QString& raw,
                                    const std::optional<TCallerIdReport>& report, TFrameCheck check) {
  LogFrame(line, source, raw, report ? FieldsText(*report) : QString(), CheckText(check));
  if (Answering()) NoteDevice();
  const bool call = report && report->isCall;
  const QString number = !call                           ? QString()
                         : report->numberAbsent.isNull() ? report->number
                                                         : AbsentNumberText(report->numberAbsent);
  if (call || !report) record_.Call(line, number, source, CheckText(check));
  if (!report) {
    ReportError(QStringLiteral("Hat %1: bozuk arayan numara mesajı (%2, %3)").arg(line).arg(source, CheckText(check)));
  } else if (call && sink_) {
    sink_->Invoke(DISPID_OnCallerID,
                  {deviceId, QString::number(line), number,
                   CallDateTimeText(report->dateTime, QDateTime::currentDateTime()), CallOtherText(*report, source)});
  }
}

void TDeviceControl::FireLevels(const std::vector<int>& levels) {
  record_.Levels(levels);
  if (!sink_) return;
  QStringList args;
  for (int i = 0; i < 8; ++i) args << QString::number(size_t(i) < levels.size() ? levels[size_t(i)] : 0);
  sink_->Invoke(DISPID_OnSignalA, args);
}

void TDeviceControl::ReportError(const QString& message) {
  Announce(message);
  record_.Error(message);
}

void TDeviceControl::Announce(const QString& message) {
  if (closing_) return;
  lastError_ = QStringLiteral("%1  %2").arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), message);
  StateChanged();
  if (Application) Application->HandleException(nullptr, EDeviceError(message));
}

void TDeviceControl::LogFrame(int line, const QString& source, const QString& raw, const QString& fields,
                              const QString& verdict) {
  log_.Add({QDateTime::currentDateTime(), line, source, raw, fields, verdict});
}

void TDeviceControl::StateChanged() {
  if (window_ && window_->isVisible()) window_->Refresh();
}

QString TDeviceControl::StateText() const {
  if (!started_) return QStringLiteral("Başlatılmadı");
  if (Present()) return QStringLiteral("Bağlı");
  const QString why = Absence();
  return why.isEmpty() ? QStringLiteral("Bağlantı bekleniyor") : QStringLiteral("Bağlantı bekleniyor: ") + why;
}

QString CallDateTimeText(const QString& mmddhhmm, const QDateTime& now) {
  const QDateTime sent =
      QDateTime::fromString(QString::number(now.date().year()) + mmddhhmm, QStringLiteral("yyyyMMddHHmm"));
  return (sent.isValid() ? sent : now).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QString CallOtherText(const TCallerIdReport& report, const QString& source) {
  QStringList parts{source};
  if (!report.name.isEmpty()) parts << QStringLiteral("ad: %1").arg(report.name);
  if (!report.numberAbsent.isNull()) parts << AbsenceText(report.numberAbsent);
  return parts.join(QStringLiteral("; "));
}

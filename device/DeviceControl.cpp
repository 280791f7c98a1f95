#include "device/RealZarvo.h"

#include <QPainter>

#include "device/DeviceError.h"
#include "platform/Application.h"

namespace {

// The control's face on the form: the maker's "Z" and a dot that is green
// while the device answers.
class TDeviceFace : public QWidget {
 public:
  explicit TDeviceFace(std::function<bool()> present) : present_(std::move(present)) {}

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
    p.setBrush(present_() ? QColor(0, 160, 0) : QColor(128, 128, 128));
    p.drawEllipse(width() - 7, height() - 7, 5, 5);
  }

 private:
  std::function<bool()> present_;
};

}  // namespace

TRealZarvo::TRealZarvo() {
  log_.OnChange = [this] {
    if (frameWindow_ && frameWindow_->isVisible()) frameWindow_->Refresh();
  };
}

TRealZarvo::~TRealZarvo() = default;

HRESULT TRealZarvo::GetFormVisible(bool& Value) {
  Value = formVisible_;
  return S_OK;
}

HRESULT TRealZarvo::SetFormVisible(bool Value) {
  formVisible_ = Value;
  return S_OK;
}

HRESULT TRealZarvo::ShowAbout() {
  if (!frameWindow_) frameWindow_ = std::make_unique<TFrameWindow>(log_, [this] { return StateText(); });
  frameWindow_->Refresh();
  frameWindow_->show();
  frameWindow_->raise();
  return S_OK;
}

HRESULT TRealZarvo::Start() {
  if (started_) return S_OK;
  started_ = true;
  OnStart();
  return S_OK;
}

HRESULT TRealZarvo::Command(const QString& Cmd, QString& Result) {
  Result.clear();
  try {
    if (Cmd == QLatin1String("devicemodel")) {
      if (started_ && !Present()) Reconnect();
      if (started_ && Present()) Result = Model();
      if (face_) face_->update();
    } else if (Cmd == QLatin1String("serial")) {
      if (started_ && Present()) Result = Serial();
    } else if (Cmd == QLatin1String("LineStatus1") || Cmd == QLatin1String("LineStatus0") ||
               Cmd.startsWith(QLatin1String("dial"))) {
      LineCommand(Cmd);
    } else {
      throw EDeviceError(QStringLiteral("Bilinmeyen komut: '%1'").arg(Cmd));
    }
  } catch (const Exception& e) {
    SetZarvoErrorInfo(e.Message());
    return E_FAIL;
  }
  return S_OK;
}

void TRealZarvo::Advise(IZarvoEvents* Sink) { sink_ = Sink; }

QWidget* TRealZarvo::Window() {
  if (!face_) face_ = std::make_unique<TDeviceFace>([this] { return started_ && Present(); });
  return face_.get();
}

void TRealZarvo::ReceiveMessage(int line, const QString& deviceId, const QString& source, const QString& raw,
                                const std::optional<TCallerIdReport>& report, TFrameCheck check) {
  LogFrame(line, source, raw, report ? FieldsText(*report) : QString(), CheckText(check));
  if (!report) {
    ReportError(QStringLiteral("Hat %1: bozuk arayan numara mesajı (%2, %3)").arg(line).arg(source, CheckText(check)));
  } else if (report->isCall && sink_) {
    sink_->Invoke(DISPID_OnCallerID,
                  {deviceId, QString::number(line), report->number,
                   CallDateTimeText(report->dateTime, QDateTime::currentDateTime()), CallOtherText(*report, source)});
  }
}

void TRealZarvo::FireLevels(const std::vector<int>& levels) {
  if (!sink_) return;
  QStringList args;
  for (int i = 0; i < 8; ++i) args << QString::number(size_t(i) < levels.size() ? levels[size_t(i)] : 0);
  sink_->Invoke(DISPID_OnSignalA, args);
}

void TRealZarvo::ReportError(const QString& message) {
  if (Application) Application->HandleException(nullptr, EDeviceError(message));
}

void TRealZarvo::LogFrame(int line, const QString& source, const QString& raw, const QString& fields,
                          const QString& verdict) {
  log_.Add({QDateTime::currentDateTime(), line, source, raw, fields, verdict});
}

QString TRealZarvo::StateText() const {
  if (!started_) return QStringLiteral("Başlatılmadı");
  if (!Present()) return QStringLiteral("Bağlantı bekleniyor");
  return QStringLiteral("%1, seri no: %2").arg(Model(), Serial());
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

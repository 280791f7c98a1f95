#include "app/zarvocallerid_TLB.h"

#include <QHash>
#include <QPainter>
#include <utility>

#include "platform/Application.h"
#include "platform/Exceptions.h"

namespace {

QHash<QUuid, TZarvoFactory>& Registry() {
  static QHash<QUuid, TZarvoFactory> registry;
  return registry;
}

QString& ErrorInfo() {
  static QString description;
  return description;
}

void OleCheck(HRESULT hr) {
  QString description = std::exchange(ErrorInfo(), QString());
  if (Succeeded(hr)) return;
  if (description.isEmpty())
    description = QStringLiteral("OLE error %1")
                      .arg(QString::number(quint32(hr), 16).toUpper().rightJustified(8, QLatin1Char('0')));
  throw EOleError(description);
}

// Stands in for a control that has no window of its own.
class TPlaceholderWindow : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().button());
  }
};

}  // namespace

QString ZarvoCommandText(TZarvoCommand command, const QString& argument) {
  for (const TZarvoCommandWord& w : kZarvoCommandWords)
    if (w.command == command) return QLatin1String(w.word) + (w.argument ? argument : QString());
  return argument;
}

TZarvoCommand ParseZarvoCommand(const QString& text, QString* argument) {
  for (const TZarvoCommandWord& w : kZarvoCommandWords) {
    const QLatin1String word(w.word);
    if (w.argument ? text.startsWith(word) : text == word) {
      if (argument) *argument = text.mid(word.size());
      return w.command;
    }
  }
  if (argument) *argument = text;
  return TZarvoCommand::zcUnknown;
}

void SetZarvoErrorInfo(const QString& Description) { ErrorInfo() = Description; }

void RegisterZarvoClass(const QUuid& Clsid, TZarvoFactory Factory) { Registry().insert(Clsid, std::move(Factory)); }

void UnregisterZarvoClass(const QUuid& Clsid) { Registry().remove(Clsid); }

std::unique_ptr<IZarvo> CreateZarvoObject(const QUuid& Clsid) {
  auto it = Registry().constFind(Clsid);
  std::unique_ptr<IZarvo> obj = it == Registry().constEnd() ? nullptr : (*it)();
  if (!obj) throw EOleError(QStringLiteral("Class not registered"));
  return obj;
}

TZarvo::TZarvo(TComponent* AOwner, QWidget* Parent) : TComponent(AOwner), intf_(CreateZarvoObject(CLASS_Zarvo)) {
  widget_ = intf_->Window();
  if (!widget_) widget_ = new TPlaceholderWindow;
  widget_->setParent(Parent);
  intf_->Advise(this);
}

TZarvo::~TZarvo() {
  intf_->Advise(nullptr);
  // The control's window belongs to the control, not to the form.
  if (widget_) widget_->setParent(nullptr);
  if (!intf_->Window()) delete widget_;
}

bool TZarvo::FormVisible() {
  bool v = false;
  OleCheck(intf_->GetFormVisible(v));
  return v;
}

void TZarvo::SetFormVisible(bool Value) { OleCheck(intf_->SetFormVisible(Value)); }
void TZarvo::Start() { OleCheck(intf_->Start()); }
void TZarvo::ShowAbout() { OleCheck(intf_->ShowAbout()); }

QString TZarvo::Command(const QString& Cmd) {
  QString result;
  OleCheck(intf_->Command(Cmd, result));
  return result;
}

void TZarvo::Invoke(int DispId, const QStringList& Args) {
  Dispatch(this, [&] {
    auto arg = [&](int i) { return Args.value(i); };
    if (DispId == DISPID_OnCallerID && OnCallerID)
      OnCallerID(this, arg(0), arg(1), arg(2), arg(3), arg(4));
    else if (DispId == DISPID_OnSignalA && OnSignalA)
      OnSignalA(this, arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), arg(6), arg(7));
  });
}

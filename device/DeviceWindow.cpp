#include "device/DeviceWindow.h"

#include <QFormLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "device/DeviceControl.h"
#include "grid/ColumnClasses.h"
#include "grid/GridView.h"

namespace {

const QStringList kStatusCaptions{QStringLiteral("Cihaz"),      QStringLiteral("Model"), QStringLiteral("Seri no"),
                                  QStringLiteral("Hat sayısı"), QStringLiteral("Durum"), QStringLiteral("Şu an"),
                                  QStringLiteral("Son hata")};
const QStringList kAboutCaptions{QStringLiteral("Sürüm"), QStringLiteral("Cihaz türü"), QStringLiteral("Bağlantı")};

struct TFrameColumn {
  const char* caption;
  int width;
};
constexpr TFrameColumn kFrameColumns[] = {
    {"Saat", 90}, {"Hat", 36}, {"Kaynak", 90}, {"Ham veri", 300}, {"Çözülen alanlar", 260}, {"Sonuç", 100}};

}  // namespace

TDeviceWindow::TDeviceWindow(const TDeviceControl& control)
    : control_(control), pages_(new QTabWidget(this)), frames_(new TGridView) {
  setWindowTitle(QStringLiteral("Zarvo Caller ID - ") + control.DeviceKind());
  resize(920, 400);
  frames_->SetOptions(goHeader | goGrid | goSelectFullRow | goAlwaysShowSelection);
  frames_->SetRowSize(18);
  frames_->SetHeaderSize(20);
  for (const TFrameColumn& c : kFrameColumns) {
    auto* column = new TTextualColumn;
    column->Header()->SetCaption(QString::fromUtf8(c.caption));
    column->SetWidth(c.width);
    // A column starts black on black: the window's colours, as the call list has them.
    column->SetColor(clWindow);
    column->Font()->SetName(QStringLiteral("MS Sans Serif"));
    column->Font()->SetHeight(-11);
    column->Font()->SetColor(clWindowText);
    frames_->Columns()->Add(column);
  }
  pages_->addTab(MakeFields(kStatusCaptions), QStringLiteral("Durum"));
  pages_->addTab(frames_, QStringLiteral("Çerçeveler"));
  pages_->addTab(MakeFields(kAboutCaptions), QStringLiteral("Hakkında"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  SetValue(QStringLiteral("Sürüm"), QStringLiteral("Zarvo Caller ID denetimi, Cihaz Test " CIHAZ_VERSION));
  SetValue(QStringLiteral("Cihaz türü"), control.DeviceKind());
  SetValue(QStringLiteral("Bağlantı"), control.Reach());
  Refresh();
}

TDeviceWindow::~TDeviceWindow() = default;

QWidget* TDeviceWindow::MakeFields(const QStringList& captions) {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  for (const QString& caption : captions) {
    auto* value = new QLabel;
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setWordWrap(true);
    form->addRow(caption + QLatin1Char(':'), value);
    values_.insert(caption, value);
  }
  return page;
}

void TDeviceWindow::SetValue(const QString& caption, const QString& value) { values_.value(caption)->setText(value); }

QString TDeviceWindow::Value(const QString& caption) const {
  const QLabel* label = values_.value(caption);
  return label ? label->text() : QString();
}

void TDeviceWindow::Refresh() {
  const bool answering = control_.Answering();
  SetValue(QStringLiteral("Cihaz"), control_.DeviceKind());
  SetValue(QStringLiteral("Model"), answering ? control_.Model() : QString());
  SetValue(QStringLiteral("Seri no"), answering ? control_.Serial() : QString());
  SetValue(QStringLiteral("Hat sayısı"), QString::number(control_.LineCount()));
  SetValue(QStringLiteral("Durum"), control_.StateText());
  SetValue(QStringLiteral("Şu an"), control_.Started() ? control_.Activity() : QString());
  SetValue(QStringLiteral("Son hata"), control_.LastError());
  RefreshFrames();
}

void TDeviceWindow::RefreshFrames() {
  const std::deque<TFrameLogEntry>& entries = control_.Log().Entries();
  frames_->BeginUpdate();
  frames_->ClearRows();
  frames_->AddRows(int(entries.size()));
  int row = 0;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it, ++row) {
    const QStringList texts{it->at.toString(QStringLiteral("HH:mm:ss.zzz")),
                            it->line ? QString::number(it->line) : QString(),
                            it->source,
                            it->raw,
                            it->fields,
                            it->verdict};
    for (int col = 0; col < texts.size(); ++col) frames_->Cell(col, row).SetAsText(texts[col]);
  }
  frames_->EndUpdate();
  frames_->Invalidate();
}

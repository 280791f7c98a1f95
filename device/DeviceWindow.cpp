#include "device/DeviceWindow.h"

#include <QFormLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "device/DeviceControl.h"
#include "device/HistoryPage.h"
#include "device/WindowGrid.h"
#include "grid/GridView.h"

namespace {

const QStringList kStatusCaptions{QStringLiteral("Cihaz"),      QStringLiteral("Model"),  QStringLiteral("Seri no"),
                                  QStringLiteral("Hat sayısı"), QStringLiteral("Durum"),  QStringLiteral("Şu an"),
                                  QStringLiteral("Son hata"),   QStringLiteral("Oturum"), QStringLiteral("Kayıt")};
const QStringList kAboutCaptions{QStringLiteral("Sürüm"), QStringLiteral("Cihaz türü"), QStringLiteral("Bağlantı")};

constexpr TColumnSetup kFrameColumns[] = {
    {"Saat", 90}, {"Hat", 36}, {"Kaynak", 90}, {"Ham veri", 300}, {"Çözülen alanlar", 260}, {"Sonuç", 100}};
constexpr TColumnSetup kLineColumns[] = {{"Hat", 36},       {"Çağrı", 60}, {"Bozuk", 60}, {"En düşük", 70},
                                         {"En yüksek", 70}, {"Son", 50},   {"Sonuç", 80}};

QString RecordText(const TRecordStore* store) {
  if (!store) return QStringLiteral("tutulmuyor");
  switch (store->Access()) {
    case TRecordStore::raWrite:
      return store->Path();
    case TRecordStore::raReadOnly:
      return store->Path() + QStringLiteral(" (yalnızca okunuyor)");
    case TRecordStore::raNone:
      break;
  }
  return store->Path() + QStringLiteral(" (kullanılamıyor)");
}

}  // namespace

TDeviceWindow::TDeviceWindow(const TDeviceControl& control)
    : control_(control),
      pages_(new QTabWidget(this)),
      frames_(MakeWindowGrid(kFrameColumns)),
      lines_(MakeWindowGrid(kLineColumns)),
      history_(new THistoryPage) {
  setWindowTitle(QStringLiteral("Zarvo Caller ID - ") + control.DeviceKind());
  resize(920, 520);
  pages_->addTab(MakeStatusPage(), QStringLiteral("Durum"));
  pages_->addTab(frames_, QStringLiteral("Çerçeveler"));
  pages_->addTab(history_, QStringLiteral("Kayıtlar"));
  pages_->addTab(MakeFields(kAboutCaptions), QStringLiteral("Hakkında"));
  QObject::connect(pages_, &QTabWidget::currentChanged, this, [this] { ReloadHistoryWhenShown(); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  SetValue(QStringLiteral("Sürüm"), QStringLiteral("Zarvo Caller ID denetimi, Cihaz Test " CIHAZ_VERSION));
  SetValue(QStringLiteral("Cihaz türü"), control.DeviceKind());
  SetValue(QStringLiteral("Bağlantı"), control.Reach());
  Refresh();
}

TDeviceWindow::~TDeviceWindow() = default;

QWidget* TDeviceWindow::MakeStatusPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(MakeFields(kStatusCaptions));
  layout->addWidget(lines_, 1);
  return page;
}

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
  SetValue(QStringLiteral("Kayıt"), RecordText(control_.Record().Store()));
  RefreshSession();
  RefreshFrames();
}

void TDeviceWindow::RefreshSession() {
  const TTestRecorder& record = control_.Record();
  SetValue(QStringLiteral("Oturum"), record.Running() ? QStringLiteral("%1 başladı · %2")
                                                            .arg(TRecordStore::TimeText(record.SessionStart()),
                                                                 VerdictText(record.Session()->Verdict(true)))
                                                      : QStringLiteral("yok"));
  RefreshLines();
  // The record opens when the device starts, which may follow the window.
  history_->SetStore(record.Store());
  history_->SetCurrentSerial(record.SessionSerial());
  if (record.SessionStart() != historyOf_) {
    historyOf_ = record.SessionStart();
    historyStale_ = true;
  }
  ReloadHistoryWhenShown();
}

void TDeviceWindow::RefreshLines() {
  const TTestSession* session = control_.Record().Session();
  const int count = session ? session->LineCount() : 0;
  lines_->BeginUpdate();
  if (lines_->RowCount() != count) {
    lines_->ClearRows();
    lines_->AddRows(count);
  }
  for (int line = 1; line <= count; ++line) {
    const TLineResult& r = session->Line(line);
    const auto level = [&r](int value) { return r.samples ? QString::number(value) : QStringLiteral("-"); };
    const QStringList texts{QString::number(line),
                            QString::number(r.calls),
                            QString::number(r.damaged),
                            level(r.lowest),
                            level(r.highest),
                            level(r.last),
                            VerdictText(session->LineVerdict(line, true))};
    for (int col = 0; col < texts.size(); ++col) lines_->Cell(col, line - 1).SetAsText(texts[col]);
  }
  lines_->EndUpdate();
  lines_->Invalidate();
}

// A hundred thousand sessions take a moment: read when the page is looked at.
void TDeviceWindow::ReloadHistoryWhenShown() {
  if (!historyStale_ || pages_->currentWidget() != history_) return;
  historyStale_ = false;
  history_->Reload();
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

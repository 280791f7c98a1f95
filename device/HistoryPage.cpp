#include "device/HistoryPage.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "device/RecordReports.h"
#include "device/WindowGrid.h"
#include "grid/ColumnClasses.h"
#include "grid/GridView.h"
#include "platform/ImageList.h"

namespace {

constexpr TColumnSetup kSessionColumns[THistoryPage::hcCount] = {{"Seri no", 110}, {"Model", 150},   {"Başlangıç", 130},
                                                                 {"Süre", 64},     {"Çağrılar", 80}, {"Hatlar", 60},
                                                                 {"Sonuç", 60},    {"Oturum", 60}};
constexpr TColumnSetup kCallColumns[] = {
    {"Hat", 36}, {"Numara", 160}, {"Saat", 160}, {"Standart", 90}, {"Denetim", 110}};

constexpr int kBox = 11;
constexpr int kGap = 2;

// A line's box in the picture of a session.
enum TLineBox { lbNoLine, lbPassed, lbFailed, lbNotYet };
static_assert(lbNotYet + 1 == THistoryPage::kLineStates);

QColor BoxColor(int box) {
  switch (box) {
    case lbPassed:
      return QColor(0, 160, 0);
    case lbFailed:
      return QColor(200, 0, 0);
    case lbNotYet:
      return QColor(160, 160, 160);
    default:
      return Qt::transparent;
  }
}

TLineBox LineBox(QChar letter) {
  switch (VerdictFromLetter(letter)) {
    case TVerdict::vdPassed:
      return lbPassed;
    case TVerdict::vdFailed:
      return lbFailed;
    case TVerdict::vdIncomplete:
      break;
  }
  return lbNotYet;
}

}  // namespace

THistoryPage::THistoryPage() : sessions_(MakeWindowGrid()), calls_(MakeWindowGrid(kCallColumns)) {
  MakePictures();
  MakeColumns();
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(sessions_);
  split->addWidget(calls_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  auto* csv = new QPushButton(QStringLiteral("CSV olarak kaydet"));
  auto* pdf = new QPushButton(QStringLiteral("Rapor (PDF)"));
  QObject::connect(csv, &QPushButton::clicked, this, [this] { AskCsv(); });
  QObject::connect(pdf, &QPushButton::clicked, this, [this] { AskReport(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(csv);
  buttons->addWidget(pdf);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split);
  layout->addLayout(buttons);
  sessions_->OnSelectCell = [this](TObject*, int, int) { ShowCallsOfChosen(); };
  sessions_->OnSortColumn = [this](TObject*, int, bool) { ShowCallsOfChosen(); };
  sessions_->OnCellColoring = [this](TObject*, int, int ARow, TColor& CellColor, TColor&, TCellState State) {
    // Asked for the blank rows below the last one too; the chosen row keeps its highlight.
    if (!currentSerial_.isEmpty() && !State.testFlag(csSelected) && ARow < sessions_->RowCount() &&
        sessions_->CellText(hcSerial, ARow) == currentSerial_)
      CellColor = kCurrentDeviceColor;
  };
}

// The cells point at the pictures: the grids go first.
THistoryPage::~THistoryPage() {
  delete sessions_;
  delete calls_;
}

void THistoryPage::MakePictures() {
  const int width = kMaxLines * (kBox + kGap);
  pictures_ = std::make_unique<TImageList>(nullptr, width, kBox);
  for (int picture = 0; picture < kPictures; ++picture) {
    QImage image(width, kBox, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (int line = 0, code = picture; line < kMaxLines; ++line, code /= kLineStates)
      p.fillRect(line * (kBox + kGap), 0, kBox, kBox, BoxColor(code % kLineStates));
    p.end();
    pictures_->Add(image);
  }
}

int THistoryPage::LinesPicture(const QString& letters) {
  int picture = 0;
  for (int line = std::min(int(letters.size()), kMaxLines) - 1; line >= 0; --line)
    picture = picture * kLineStates + LineBox(letters[line]);
  return picture;
}

void THistoryPage::MakeColumns() {
  auto* lines = new TImageColumn;
  lines->SetImages(pictures_.get());
  lines->SetSortType(stNumeric);
  for (int i = 0; i < hcCount; ++i) {
    TCustomColumn* column = i == hcLines ? static_cast<TCustomColumn*>(lines) : new TTextualColumn;
    AddWindowColumn(sessions_, column, kSessionColumns[i]);
  }
  TCustomColumn* serial = sessions_->Columns()->Items(hcSerial);
  serial->SetOptions(serial->Options() | coSearchColumn);
  // The session's number ties a row to its calls, whatever the order.
  sessions_->Columns()->Items(hcSession)->SetVisible(false);
}

void THistoryPage::SetCurrentSerial(const QString& serial) {
  if (serial == currentSerial_) return;
  currentSerial_ = serial;
  sessions_->Invalidate();
}

void THistoryPage::Reload() {
  const qint64 chosen = sessions_->Row() >= 0 ? SessionAt(sessions_->Row()) : -1;
  rows_ = store_ ? store_->Sessions({}, -1, TRecordStore::sdBrief) : std::vector<TSessionRow>();
  byId_.clear();
  byId_.reserve(qsizetype(rows_.size()));
  sessions_->BeginUpdate();
  sessions_->ClearRows();
  sessions_->AddRows(int(rows_.size()));
  int keep = rows_.empty() ? -1 : 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const TSessionRow& s = rows_[i];
    const int row = int(i);
    byId_.insert(s.id, i);
    sessions_->Cell(hcSerial, row).SetAsText(s.serial);
    sessions_->Cell(hcModel, row).SetAsText(s.model);
    sessions_->Cell(hcStarted, row).SetAsText(s.started);
    sessions_->Cell(hcDuration, row).SetAsText(DurationText(s.seconds));
    sessions_->Cell(hcCalls, row).SetAsText(s.lineCalls);
    sessions_->Cell(hcLines, row).SetAsInteger(LinesPicture(s.lineVerdicts));
    sessions_->Cell(hcVerdict, row).SetAsText(s.verdict);
    sessions_->Cell(hcSession, row).SetAsText(QString::number(s.id));
    if (s.id == chosen) keep = row;
  }
  for (int i = 0; i < hcCount; ++i) sessions_->Columns()->Items(i)->SetSorted(false);
  sessions_->EndUpdate();
  if (keep >= 0) sessions_->MoveToRow(keep);
  callsOf_ = -1;
  ShowCallsOfChosen();
  sessions_->Invalidate();
}

qint64 THistoryPage::SessionAt(int row) const {
  if (row < 0 || row >= sessions_->RowCount()) return -1;
  return sessions_->Cell(hcSession, row).AsText().toLongLong();
}

const TSessionRow* THistoryPage::ChosenSession() const {
  const auto it = byId_.constFind(SessionAt(sessions_->Row()));
  return it == byId_.cend() ? nullptr : &rows_[*it];
}

// Read in full, as the export writes what the list leaves out.
std::vector<TSessionRow> THistoryPage::ShownSessions() const {
  std::vector<TSessionRow> all = store_ ? store_->Sessions() : std::vector<TSessionRow>();
  QHash<qint64, size_t> byId;
  for (size_t i = 0; i < all.size(); ++i) byId.insert(all[i].id, i);
  std::vector<TSessionRow> shown;
  shown.reserve(size_t(sessions_->RowCount()));
  for (int row = 0; row < sessions_->RowCount(); ++row)
    if (const auto it = byId.constFind(SessionAt(row)); it != byId.cend()) shown.push_back(std::move(all[*it]));
  return shown;
}

void THistoryPage::ShowCallsOfChosen() {
  const TSessionRow* session = ChosenSession();
  const qint64 id = session ? session->id : -1;
  if (id == callsOf_) return;
  callsOf_ = id;
  const std::vector<TCallRow> calls = session && store_ ? store_->Calls(id) : std::vector<TCallRow>();
  calls_->BeginUpdate();
  calls_->ClearRows();
  calls_->AddRows(int(calls.size()));
  for (size_t i = 0; i < calls.size(); ++i) {
    const TCallRow& c = calls[i];
    const QStringList texts{QString::number(c.line), c.number, c.at, c.standard, c.check};
    for (int col = 0; col < texts.size(); ++col) calls_->Cell(col, int(i)).SetAsText(texts[col]);
  }
  calls_->EndUpdate();
  calls_->Invalidate();
}

void THistoryPage::ExportCsv(const QString& path) const {
  if (!store_) throw ERecordError(QStringLiteral("no record is kept"));
  ExportSessionsCsv(path, *store_, ShownSessions());
}

void THistoryPage::WriteReport(const QString& path) const {
  const TSessionRow* chosen = ChosenSession();
  const std::optional<TSessionRow> session = store_ && chosen ? store_->Session(chosen->id) : std::nullopt;
  if (!session) throw ERecordError(QStringLiteral("no session is chosen"));
  WriteSessionReport(path, *store_, *session);
}

void THistoryPage::AskCsv() {
  const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("CSV olarak kaydet"),
                                                    QStringLiteral("kayitlar.csv"), QStringLiteral("CSV (*.csv)"));
  if (path.isEmpty()) return;
  try {
    ExportCsv(path);
  } catch (const ERecordError& e) {
    QMessageBox::warning(this, QStringLiteral("CSV olarak kaydet"),
                         QStringLiteral("Dosya yazılamadı: %1").arg(e.Message()));
  }
}

void THistoryPage::AskReport() {
  const TSessionRow* session = ChosenSession();
  if (!session) return;
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Rapor (PDF)"),
                                   QStringLiteral("rapor-%1.pdf").arg(session->serial), QStringLiteral("PDF (*.pdf)"));
  if (path.isEmpty()) return;
  try {
    WriteReport(path);
  } catch (const ERecordError& e) {
    QMessageBox::warning(this, QStringLiteral("Rapor (PDF)"), QStringLiteral("Dosya yazılamadı: %1").arg(e.Message()));
  }
}

#include "GridDemoWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QStatusBar>
#include <cmath>

#include "grid/CellClasses.h"
#include "grid/CellEditors.h"
#include "grid/ColumnClasses.h"
#include "platform/Application.h"
#include "platform/FormatFloat.h"
#include "platform/SysUtils.h"
#include "platform/Themes.h"

namespace {

// ---- generated data -------------------------------------------------------------

// A well-mixed 32-bit value of (row, salt): every field of a row has its own
// salt, so the fields do not move in step.
uint32_t Pick(int row, uint32_t salt) {
  uint32_t x = uint32_t(row) * 0x9E3779B9u + salt * 0x85EBCA6Bu;
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

const QStringList kFirstNames = {
    QStringLiteral("Ayşe"),  QStringLiteral("Çağrı"), QStringLiteral("Gülşen"), QStringLiteral("İsmail"),
    QStringLiteral("Ömer"),  QStringLiteral("Şükrü"), QStringLiteral("Ümit"),   QStringLiteral("Işıl"),
    QStringLiteral("Doğan"), QStringLiteral("Büşra"), QStringLiteral("Özge"),   QStringLiteral("İlkay"),
    QStringLiteral("Gönül"),
};
const QStringList kLastNames = {
    QStringLiteral("Öztürk"), QStringLiteral("Çelik"), QStringLiteral("Şahin"),    QStringLiteral("Yıldız"),
    QStringLiteral("Doğru"),  QStringLiteral("Güneş"), QStringLiteral("Işık"),     QStringLiteral("Ünal"),
    QStringLiteral("Aydın"),  QStringLiteral("Kılıç"), QStringLiteral("Çağlayan"), QStringLiteral("Erdoğan"),
};
const QStringList kNotes = {
    QStringLiteral("<b>Öncelikli</b> müşteri"),
    QStringLiteral("<font color=#C00000>Ödeme gecikti</font>"),
    QStringLiteral("<i>Sözleşme</i> <u>yenilenecek</u>"),
    QStringLiteral("Arandı, <b>geri dönüş</b> bekleniyor"),
    QStringLiteral("<font color=#008000>Tamamlandı</font>"),
    QStringLiteral("Şubeye yönlendirildi"),
};

const QString& Item(const QStringList& list, uint32_t pick) { return list[int(pick % uint32_t(list.size()))]; }

// ---- pictures, drawn so the program needs no picture files ----------------------------

QImage Star(int size, bool filled) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  QPolygonF star;
  const double c = (size - 1) / 2.0;
  for (int i = 0; i < 10; ++i) {
    const double r = (i % 2 ? 0.4 : 1.0) * c, a = M_PI / 5 * i - M_PI / 2;
    star << QPointF(c + r * std::cos(a), c + r * std::sin(a));
  }
  p.setPen(QColor(180, 120, 0));
  p.setBrush(filled ? QColor(255, 200, 0) : QColor(Qt::white));
  p.drawPolygon(star);
  return image;
}

QImage StatusIcon(QColor color) {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(color.darker(150));
  p.setBrush(color);
  p.drawEllipse(2, 2, 11, 11);
  return image;
}

QImage Picture(int kind) {
  QImage image(32, 20, QImage::Format_RGB32);
  QPainter p(&image);
  switch (kind) {
    case 0:  // sun
      image.fill(QColor(135, 206, 250));
      p.setBrush(QColor(255, 210, 0));
      p.setPen(Qt::NoPen);
      p.drawEllipse(10, 4, 12, 12);
      break;
    case 1:  // moon
      image.fill(QColor(20, 30, 80));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(240, 240, 200));
      p.drawEllipse(9, 3, 13, 13);
      p.setBrush(QColor(20, 30, 80));
      p.drawEllipse(13, 1, 13, 13);
      break;
    case 2:  // sea
      image.fill(QColor(0, 105, 148));
      p.fillRect(0, 0, 32, 8, QColor(135, 206, 250));
      break;
    default:  // field
      image.fill(QColor(135, 206, 250));
      p.fillRect(0, 12, 32, 8, QColor(60, 160, 60));
      break;
  }
  return image;
}

// ---- columns whose kind has no editor of its own --------------------------------
//
// The demo gives each of them the editor that suits its value, so every
// column with a value can be edited in place.

// Number editors that open with their text selected, in the input row too,
// so that typing replaces the 0 that stands there.
template <class Editor>
class TSelectingEditor : public Editor {
 public:
  void StartEdit() override {
    Editor::StartEdit();
    Editor::SelectAll();
  }
};

class TEditableNumericColumn : public TNumericColumn {
 public:
  QString EditorClass() const override { return QStringLiteral("TDemoSpinEditor"); }
};

// The progress as a plain number, no sign, no fraction.
class TEditableProgressColumn : public TProgressColumn {
 public:
  QString EditorClass() const override { return QStringLiteral("TDemoNumericEditor"); }
  bool AcceptsKey(QChar key) const override { return key.isDigit() && key.unicode() < 128; }
  void PrepareEditor() override {
    auto* editor = qobject_cast<TNumericEditor*>(Editor());
    if (!editor) return;
    editor->SetOptions({});
    editor->SetMin(0);
    editor->SetMax(Max());
  }
};

// The number of stars, spun between none and all of them.
class TEditableRateColumn : public TRateColumn {
 public:
  QString EditorClass() const override { return QStringLiteral("TDemoSpinEditor"); }
  bool AcceptsKey(QChar key) const override { return key >= u'0' && key <= u'5'; }
  void PrepareEditor() override {
    auto* editor = qobject_cast<TSpinEditor*>(Editor());
    if (!editor) return;
    editor->SetOptions({});
    editor->SetMin(0);
    editor->SetMax(Max());
    editor->SetIncrement(1);
  }
};

// Shows the status names with their icons and gives the cell the index of
// the chosen one; a text that is not a name goes to the cell as typed, where
// the integer cell rejects it with a conversion error.
class TStatusEditor : public TComboBoxEditor {
 public:
  QString GetAsText() override {
    const QString text = TComboBoxEditor::GetAsText();
    const int index = Items().indexOf(text);
    return index >= 0 ? QString::number(index) : text;
  }
  void SetAsText(const QString& s) override {
    bool number = false;
    const int index = s.toInt(&number);
    TComboBoxEditor::SetAsText(number && index >= 0 && index < Items().size() ? Items().at(index) : s);
  }
};

class TEditableComboBoxColumn : public TComboBoxColumn {
 public:
  QString EditorClass() const override { return QStringLiteral("TDemoListEditor"); }
};

// Only the listed choices, with their images when there are any.
void PrepareList(QWidget* editor, const QStringList& items, TImageList* images) {
  auto* list = qobject_cast<TComboBoxEditor*>(editor);
  if (!list) return;
  list->SetItems(items);
  list->SetImages(images);
  list->SetShowImages(images != nullptr);
  list->SetStyle(dsDropDownList);
}

class TEditableImageColumn : public TImageColumn {
 public:
  QString EditorClass() const override { return QStringLiteral("TDemoStatusEditor"); }
  void PrepareEditor() override { PrepareList(Editor(), DemoStatusNames(), Images()); }
};

// The picture is chosen by name; the window puts the named picture in the cell.
class TEditableGraphicColumn : public TGraphicColumn {
 public:
  QString EditorClass() const override { return QStringLiteral("TDemoListEditor"); }
  void PrepareEditor() override { PrepareList(Editor(), DemoPictureNames(), nullptr); }
};

// The mark-up is edited as text.
class TEditableHtmlColumn : public THtmlColumn {
 public:
  QString EditorClass() const override { return QStringLiteral("TTextualEditor"); }
  bool AcceptsKey(QChar key) const override { return key.unicode() > 32; }
};

void RegisterDemoEditors() {
  static const bool registered = [] {
    RegisterCellEditors();
    RegisterEditorClass(QStringLiteral("TDemoListEditor"), [](TCustomColumn*) { return new TComboBoxEditor(); });
    RegisterEditorClass(QStringLiteral("TDemoStatusEditor"), [](TCustomColumn*) { return new TStatusEditor(); });
    RegisterEditorClass(QStringLiteral("TDemoSpinEditor"),
                        [](TCustomColumn*) { return new TSelectingEditor<TSpinEditor>(); });
    RegisterEditorClass(QStringLiteral("TDemoNumericEditor"),
                        [](TCustomColumn*) { return new TSelectingEditor<TNumericEditor>(); });
    return true;
  }();
  (void)registered;
}

// Whether the text converts into a cell of this value kind; the message of
// the conversion error when not.
QString ConversionError(TValueKind kind, const QString& text) {
  const TCellClass& cellClass = CellClassFor(kind);
  TCellList scratch;
  scratch.Class = &cellClass;
  scratch.Values = cellClass.NewValues();
  std::visit([](auto& values) { values.resize(1); }, scratch.Values);
  scratch.Colors.assign(1, clWindow);
  try {
    cellClass.SetAsText(scratch, 0, text);
  } catch (const Exception& e) {
    return e.Message();
  }
  return QString();
}

const QString kAmountMask = QStringLiteral("#,##0.00");

// The editors spin within their limits but take any typed number; a value
// the column cannot show is refused with a message.
QString RangeError(int col, const QString& caption, const QString& text) {
  double low = 0, high = 0;
  switch (col) {
    case dcCity:
      // The list decides; a typed letter is not a city.
      if (DemoCities().contains(text)) return QString();
      return QStringLiteral("\"%1\" listedeki şehirlerden biri olmalı, %2 olamaz").arg(caption, text);
    case dcProgress:
      high = 100;
      break;
    case dcRate:
      high = 5;
      break;
    case dcStatus:
      high = DemoStatusNames().size() - 1;
      break;
    default:
      return QString();
  }
  const std::optional<double> value = TryStrToFloat(text);
  if (!value || (*value >= low && *value <= high)) return QString();
  return QStringLiteral("\"%1\" %2 ile %3 arasında olmalı, %4 olamaz")
      .arg(caption, FloatToStr(low), FloatToStr(high), text);
}

}  // namespace

// ---- data -------------------------------------------------------------------------

const QStringList& DemoCities() {
  static const QStringList cities = {
      QStringLiteral("İstanbul"),  QStringLiteral("İzmir"),     QStringLiteral("Ankara"),
      QStringLiteral("Muğla"),     QStringLiteral("Çanakkale"), QStringLiteral("Şanlıurfa"),
      QStringLiteral("Eskişehir"), QStringLiteral("Gümüşhane"), QStringLiteral("Düzce"),
      QStringLiteral("Ağrı"),
  };
  return cities;
}

const QStringList& DemoStatusNames() {
  static const QStringList names = {QStringLiteral("Yeni"), QStringLiteral("Sürüyor"), QStringLiteral("Bitti"),
                                    QStringLiteral("İptal")};
  return names;
}

const QStringList& DemoPictureNames() {
  static const QStringList names = {QStringLiteral("Güneş"), QStringLiteral("Ay"), QStringLiteral("Deniz"),
                                    QStringLiteral("Çayır")};
  return names;
}

TDemoRow DemoRow(int index) {
  TDemoRow row;
  row.Name = Item(kFirstNames, Pick(index, 1)) + u' ' + Item(kLastNames, Pick(index, 2));
  row.City = Item(DemoCities(), Pick(index, 3));
  row.Amount = double(Pick(index, 4) % 10000000u) / 100;
  row.Date = EncodeDate(2026, 1, 1) + double(Pick(index, 5) % 365u);
  row.Approved = Pick(index, 6) % 3u != 0;
  row.Progress = double(Pick(index, 7) % 101u);
  row.Rate = int(Pick(index, 8) % 6u);
  row.Status = int(Pick(index, 9) % uint32_t(DemoStatusNames().size()));
  row.Picture = int(Pick(index, 10) % uint32_t(DemoPictureNames().size()));
  row.Note = Item(kNotes, Pick(index, 11));
  return row;
}

void FillDemoRows(TGridView* grid, int first, int count) {
  for (int r = first; r < first + count && r < grid->RowCount(); ++r) {
    const TDemoRow row = DemoRow(r);
    grid->Cell(dcName, r).SetAsText(row.Name);
    grid->Cell(dcCity, r).SetAsText(row.City);
    grid->Cell(dcAmount, r).SetAsFloat(row.Amount);
    grid->Cell(dcDate, r).SetAsDateTime(row.Date);
    grid->Cell(dcApproved, r).SetAsBoolean(row.Approved);
    grid->Cell(dcProgress, r).SetAsFloat(row.Progress);
    grid->Cell(dcRate, r).SetAsInteger(row.Rate);
    grid->Cell(dcStatus, r).SetAsInteger(row.Status);
    grid->Cell(dcPicture, r).SetAsText(DemoPictureNames()[row.Picture]);
    grid->Cell(dcNote, r).SetAsText(row.Note);
  }
}

// ---- the window ------------------------------------------------------------------

TGridDemoWindow::TGridDemoWindow(int rows, QWidget* parent) : QMainWindow(parent) {
  RegisterDemoEditors();
  setWindowTitle(QStringLiteral("Izgara Gösterimi"));
  MakePictures();
  grid_ = new TGridView(this);
  grid_->setObjectName(QStringLiteral("GridView"));
  grid_->Font()->SetName(QStringLiteral("MS Sans Serif"));
  grid_->Font()->SetHeight(-11);
  grid_->SetRowSize(20);
  grid_->SetHeaderSize(20);
  grid_->SetInputSize(20);
  grid_->SetOptions(goHeader | goInput | goFooter | goIndicator | goGrid | goMultiSelect | goSelectFullRow |
                    goCanHideColumn | goIndicateSortedColumn | goHighlightTextSelection | goAlwaysShowSelection);
  grid_->SetTabStop(true);
  setCentralWidget(grid_);
  MakeColumns();
  MakeMenus();
  ConnectGrid();

  rowsLabel_ = new QLabel(this);
  errorLabel_ = new QLabel(this);
  statusBar()->addWidget(rowsLabel_);
  statusBar()->addWidget(errorLabel_, 1);

  grid_->BeginUpdate();
  grid_->AddRows(std::max(0, rows));
  FillDemoRows(grid_, 0, grid_->RowCount());
  grid_->EndUpdate();
  // Rows added from now on start from the columns' default values.
  grid_->SetOptions(grid_->Options() | goUseDefaultValues);
  for (int r = 0; r < grid_->RowCount(); ++r)
    grid_->Cell(dcPicture, r).SetObject(&pictures_[size_t(DemoRow(r).Picture)]);
  RefreshFooters();
  ShowRowCount();
  grid_->Invalidate();
  resize(1120, 560);
}

TGridDemoWindow::~TGridDemoWindow() {
  if (Application) Application->OnException = nullptr;
  // The cells point at the pictures; the grid goes first.
  delete grid_;
}

void TGridDemoWindow::MakePictures() {
  statusImages_ = std::make_unique<TImageList>(nullptr, 16, 16);
  for (const QColor& color : {QColor(0, 120, 215), QColor(255, 170, 0), QColor(0, 160, 0), QColor(200, 0, 0)})
    statusImages_->Add(StatusIcon(color));
  for (size_t i = 0; i < pictures_.size(); ++i) pictures_[i].LoadFromImage(Picture(int(i)));
}

void TGridDemoWindow::MakeColumns() {
  struct TSetup {
    TCustomColumn* column;
    const char* caption;
    int width;
    TAlignment alignment;
  };
  auto* row = new TIncrementColumn;
  auto* name = new TTextualColumn;
  auto* city = new TEditableComboBoxColumn;
  auto* amount = new TEditableNumericColumn;
  auto* date = new TDateColumn;
  auto* approved = new TCheckBoxColumn;
  auto* progress = new TEditableProgressColumn;
  auto* rate = new TEditableRateColumn;
  auto* status = new TEditableImageColumn;
  auto* picture = new TEditableGraphicColumn;
  auto* note = new TEditableHtmlColumn;
  const TSetup setups[dcColumnCount] = {
      {row, "No", 44, taRightJustify},
      {name, "Ad Soyad", 140, taLeftJustify},
      {city, "Şehir", 100, taLeftJustify},
      {amount, "Tutar", 110, taRightJustify},
      {date, "Tarih", 86, taCenter},
      {approved, "Onay", 44, taCenter},
      {progress, "İlerleme", 100, taLeftJustify},
      {rate, "Puan", 76, taLeftJustify},
      {status, "Durum", 90, taCenter},
      {picture, "Resim", 76, taCenter},
      {note, "Not", 196, taLeftJustify},
  };
  for (const TSetup& s : setups) {
    TCustomColumn* c = s.column;
    c->Header()->SetCaption(QString::fromUtf8(s.caption));
    c->SetWidth(s.width);
    c->SetAlignment(s.alignment);
    c->SetColor(clWindow);
    c->Font()->SetName(QStringLiteral("MS Sans Serif"));
    c->Font()->SetHeight(-11);
    c->Font()->SetColor(clWindowText);
    c->SetOptions(c->Options() | coEditing | coShowTextFitHint);
    grid_->Columns()->Add(c);
  }
  // Row numbers are not values: nothing to type, edit or sort.
  row->SetOptions(row->Options() & ~TColumnOptions(coEditing | coCanInput | coCanSort));
  row->Footer()->SetCaption(QStringLiteral("Toplam"));
  name->SetInputCaption(QStringLiteral("(yeni kayıt)"));
  city->SetItems(DemoCities());
  city->SetStyle(cbsDropDownList);
  city->SetDefaultValue(DemoCities().front());
  amount->SetFormatMask(kAmountMask);
  amount->SetTextAfter(QStringLiteral(" TL"));
  amount->SetFormulaKind(fkSum);
  date->SetHideWhenEmpty(true);
  date->SetEmptyCaption(QStringLiteral("(yok)"));
  progress->SetProgressStyle(ColumnKinds::psGradient);
  progress->SetFormulaKind(fkAverage);
  TBitmap full, empty;
  full.LoadFromImage(Star(14, true));
  empty.LoadFromImage(Star(14, false));
  rate->SetTransparent(true);
  rate->SetGlyph(full);
  rate->SetEmptyGlyph(empty);
  rate->SetFormulaKind(fkAverage);
  status->SetImages(statusImages_.get());
  picture->SetMargin(2);
  note->SetWrapKind(wkEllipsis);
}

void TGridDemoWindow::MakeMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Dosya"));
  QAction* quit = file->addAction(QStringLiteral("Çı&kış"));
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("D&üzen"));
  QAction* remove = edit->addAction(QStringLiteral("Seçili satırları &sil"));
  connect(remove, &QAction::triggered, this, [this] { Dispatch(nullptr, [this] { AskAndDeleteSelectedRows(); }); });

  QMenu* view = menuBar()->addMenu(QStringLiteral("&Görünüm"));
  auto* looks = new QActionGroup(this);
  classicAction_ = view->addAction(QStringLiteral("&Klasik görünüm"));
  themedAction_ = view->addAction(QStringLiteral("&Temalı görünüm"));
  for (QAction* a : {classicAction_, themedAction_}) {
    a->setCheckable(true);
    looks->addAction(a);
  }
  (ThemesActive() ? themedAction_ : classicAction_)->setChecked(true);
  connect(classicAction_, &QAction::triggered, this, [this] { Dispatch(nullptr, [this] { SetThemed(false); }); });
  connect(themedAction_, &QAction::triggered, this, [this] { Dispatch(nullptr, [this] { SetThemed(true); }); });

  view->addSeparator();
  QMenu* lines = view->addMenu(QStringLiteral("&Izgara çizgileri"));
  auto* lineGroup = new QActionGroup(this);
  const char* const captions[] = {"&Normal", "Çerçe&veli", "&Yalnız yatay", "Çizgi&siz"};
  for (size_t i = 0; i < linesActions_.size(); ++i) {
    QAction* a = lines->addAction(QString::fromUtf8(captions[i]));
    a->setCheckable(true);
    lineGroup->addAction(a);
    connect(a, &QAction::triggered, this,
            [this, i] { Dispatch(nullptr, [this, i] { SetGridLines(TDemoGridLines(i)); }); });
    linesActions_[i] = a;
  }
  linesActions_[size_t(TDemoGridLines::Normal)]->setChecked(true);

  // A column hidden by dragging it off the header comes back from here.
  columnsMenu_ = view->addMenu(QStringLiteral("&Sütunlar"));
  connect(columnsMenu_, &QMenu::aboutToShow, this, [this] { FillColumnsMenu(); });
  FillColumnsMenu();
}

void TGridDemoWindow::FillColumnsMenu() {
  columnsMenu_->clear();
  TColumns* columns = grid_->Columns();
  for (int i = 0; i < columns->Count(); ++i) {
    TCustomColumn* column = columns->Items(i);
    QAction* a = columnsMenu_->addAction(column->Header()->Caption());
    a->setCheckable(true);
    a->setChecked(column->Visible());
    connect(a, &QAction::toggled, this, [this, i](bool shown) {
      Dispatch(nullptr, [this, i, shown] {
        if (i < grid_->Columns()->Count()) grid_->Columns()->Items(i)->SetVisible(shown);
      });
    });
  }
}

void TGridDemoWindow::ConnectGrid() {
  grid_->OnChange = [this](TObject*, int ACol, int ARow) { CellChanged(ACol, ARow); };
  grid_->OnInputAccept = [this](TObject*, bool& Accept) { InputAccept(Accept); };
  grid_->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { GridKeyDown(Key, Shift); };
  ConfirmDelete = [this](int count) {
    return QMessageBox::question(this, QStringLiteral("Satırları sil"),
                                 QStringLiteral("Seçili %1 satır silinsin mi?").arg(count)) == QMessageBox::Yes;
  };
  grid_->OnAfterEdit = [this](TObject*, int ACol, int, const QString& Value, bool& Accept) {
    const QString error = RangeError(ACol, grid_->Columns()->Items(ACol)->Header()->Caption(), Value);
    Accept = error.isEmpty();
    ShowError(error);
  };
  // An error while a cell or the input row is edited names its column.
  if (Application)
    Application->OnException = [this](TObject*, const Exception& E) {
      const int col = grid_->EditCol() >= 0 ? grid_->EditCol() : grid_->InputColumn();
      if (col < 0 || col >= grid_->Columns()->Count()) return ShowError(E.Message());
      ShowError(QStringLiteral("\"%1\": %2").arg(grid_->Columns()->Items(col)->Header()->Caption(), E.Message()));
    };
}

void TGridDemoWindow::SetThemed(bool themed) {
  SetThemesActive(themed);
  LookAction(themed)->setChecked(true);
  grid_->Invalidate();
}

void TGridDemoWindow::SetGridLines(TDemoGridLines lines) {
  const TGridOptions options = grid_->Options() & ~TGridOptions(goGrid);
  switch (lines) {
    case TDemoGridLines::Normal:
      grid_->SetGridLinesStyle(lsNormal);
      break;
    case TDemoGridLines::Framed:
      grid_->SetGridLinesStyle(lsFramed);
      break;
    case TDemoGridLines::HorizontalOnly:
      grid_->SetGridLinesStyle(lsHorizontalOnly);
      break;
    case TDemoGridLines::None:
      break;
  }
  grid_->SetOptions(lines == TDemoGridLines::None ? options : options | goGrid);
  GridLinesAction(lines)->setChecked(true);
}

void TGridDemoWindow::ShowError(const QString& message) {
  lastError_ = message;
  errorLabel_->setText(message.isEmpty() ? QString() : QStringLiteral("Hata: ") + message);
}

void TGridDemoWindow::ShowRowCount() {
  rowsLabel_->setText(FormatFloat(QStringLiteral("#,##0"), grid_->RowCount()) + QStringLiteral(" satır"));
}

// Footers as the formulas give them, shown with two decimals.
void TGridDemoWindow::RefreshFooters() {
  grid_->CalculateFooters();
  for (int c = 0; c < grid_->Columns()->Count(); ++c) {
    TCustomColumn* column = grid_->Columns()->Items(c);
    if (column->FormulaKind() == fkNone) continue;
    TColumnFooter* footer = column->Footer();
    if (const std::optional<double> value = TryStrToFloat(footer->Caption()))
      footer->SetCaption(FormatFloat(kAmountMask, *value));
  }
}

void TGridDemoWindow::CellChanged(int ACol, int ARow) {
  if (ACol == dcPicture && ARow >= 0 && ARow < grid_->RowCount()) {
    TCell cell = grid_->Cell(ACol, ARow);
    const int index = DemoPictureNames().indexOf(cell.AsText());
    cell.SetObject(index >= 0 ? &pictures_[size_t(index)] : nullptr);
  }
  if (grid_->Columns()->Items(ACol)->FormulaKind() != fkNone) RefreshFooters();
  ShowRowCount();
}

// Every value is checked before the row is added, so the message can name
// the column that fails; the ranges are the demo's own, unknown to the grid.
void TGridDemoWindow::InputAccept(bool& Accept) {
  for (int c = 0; c < grid_->Columns()->Count(); ++c) {
    TCustomColumn* column = grid_->Columns()->Items(c);
    if (column->ValueKind() == vkRowNumber || column->ValueKind() == vkGraphic) continue;
    const QString text = TCustomGridViewControl::InputValue(column);
    if (text.isEmpty()) continue;
    QString error = ConversionError(column->ValueKind(), text);
    if (error.isEmpty()) error = RangeError(c, column->Header()->Caption(), text);
    if (error.isEmpty()) continue;
    Accept = false;
    ShowError(QStringLiteral("Satır eklenmedi, \"%1\": %2").arg(column->Header()->Caption(), error));
    return;
  }
  ShowError(QString());
  ClearSortMark();
}

int TGridDemoWindow::DeleteSelectedRows() {
  const int deleted = grid_->DeleteSelectedRows();
  if (deleted == 0) return 0;
  RefreshFooters();
  ShowRowCount();
  return deleted;
}

int TGridDemoWindow::AskAndDeleteSelectedRows() {
  int selected = 0;
  for (int r = 0; r < grid_->RowCount(); ++r) selected += grid_->RowSelected(r);
  if (selected == 0 || (ConfirmDelete && !ConfirmDelete(selected))) return 0;
  return DeleteSelectedRows();
}

// Delete on the grid itself; an open editor keeps the key for its text.
void TGridDemoWindow::GridKeyDown(Word& Key, TShiftState Shift) {
  if (Key != VK_DELETE || Shift != TShiftState() || grid_->Editor()) return;
  Key = 0;
  AskAndDeleteSelectedRows();
}

void TGridDemoWindow::ClearSortMark() {
  for (int c = 0; c < grid_->Columns()->Count(); ++c)
    if (TCustomColumn* column = grid_->Columns()->Items(c); column->Sorted()) column->SetSorted(false);
}

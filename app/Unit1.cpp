#include "app/Unit1.h"

#include "app/AppIcon.h"
#include "platform/Application.h"
#include "platform/CodePage.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"
#include "platform/Timers.h"
#include "platform/WindowFrame.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QTextLayout>
#include <QTextBlock>

namespace {

const QString kConnected = QStringLiteral("Cihaz bağlı");
const QString kWaiting = QStringLiteral("Bağlantı bekleniyor");
// Two spaces after "cihaza" belong to the text.
const QString kNotice = QStringLiteral(
    "Cihaz ile ilgili başka program çalışıyorsa lütfen sonlandırınız.\n"
    "Aynı anda, 1 uygulama cihaza  bağlantı sağlayabilir.");

QFont FontOf(const QString& name, int pixelHeight, TFontStyles style = {}) {
  TFont f;
  f.SetName(name);
  f.SetHeight(-pixelHeight);
  f.SetStyle(style);
  return f.ToQFont();
}

// The form's default font: 8-point "MS Sans Serif".
QFont DefaultFont() { return TFont().ToQFont(); }

QLabel* MakeLabel(QWidget* parent, int x, int y, const QString& text, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  label->move(x, y);
  label->adjustSize();
  return label;
}

// Captions are 8-bit texts: what the code page cannot hold shows as '?'.
void SetCaption(QLabel* label, const QString& text) {
  label->setText(AnsiRoundTrip(text));
  label->adjustSize();
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent), components_(std::make_unique<TComponent>()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Cihaz Test"));
  setWindowIcon(ProgramIcon());
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setFont(DefaultFont());
  setFixedSize(ClientSizeOf(QSize(kOuterWidth, kOuterHeight)));
  move(ScreenCentredPosition(QSize(kOuterWidth, kOuterHeight)));

  PageControl1 = new QTabWidget(this);
  PageControl1->setGeometry(rect());
  TabSheet1 = new QWidget;
  TabSheet2 = new QWidget;
  TabSheet3 = new QWidget;
  TabSheet4 = new QWidget;
  PageControl1->addTab(TabSheet1, QStringLiteral("Test"));
  PageControl1->addTab(TabSheet2, QStringLiteral("Bağlantı Kılavuzu !"));
  PageControl1->addTab(TabSheet3, QStringLiteral("Ayar"));
  PageControl1->addTab(TabSheet4, QStringLiteral("?"));
  PageControl1->setTabVisible(2, false);

  CreateTestTab();

  // The device control comes last: without it the window cannot exist.
  Zarvo1 = new TZarvo(components_.get(), GroupBox2);
  Zarvo1->SetName(QStringLiteral("Zarvo1"));
  Zarvo1->Widget()->setGeometry(280, 80, 26, 26);

  Timer1 = new TTimer(components_.get());
  Timer1->SetInterval(500);
  Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });
  Timer2 = new TTimer(components_.get());
  Timer2->SetInterval(50);
  Timer2->SetOnTimer([this](TObject* s) { Timer2Timer(s); });

  Application->OnException = [this](TObject* s, const Exception& e) { ApplicationEvents1Exception(s, e); };
}

TForm1::~TForm1() {
  if (Application) Application->OnException = nullptr;
}

void TForm1::CreateTestTab() {
  const QSize page = PageControl1->widget(0)->size();
  GroupBox4 = new QGroupBox(TabSheet1);
  GroupBox4->setGeometry(0, 0, std::max(page.width(), 544), std::max(page.height(), 389));

  GridView1Place = new QWidget(GroupBox4);
  GridView1Place->setObjectName(QStringLiteral("GridView1"));
  GridView1Place->setGeometry(6, 8, 532, 170);

  Memo2 = new QTextEdit(GroupBox4);
  Memo2->setAcceptRichText(false);
  Memo2->setGeometry(6, 180, 532, 48);
  Memo2->setFont(FontOf(QStringLiteral("Verdana"), 11));
  Memo2->setReadOnly(true);
  Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo2->setLineWrapMode(QTextEdit::FixedPixelWidth);
  Memo2->setLineWrapColumnOrWidth(Memo2WrapWidth());
  tempMemo = new QPlainTextEdit(GroupBox4);
  tempMemo->hide();
  tempMemo->setPlainText(kNotice + QLatin1Char('\n'));
  // The box starts with the notice and an empty third line; the change
  // handler is connected only afterwards, as the box is being created.
  Memo2->setPlainText(kNotice + QStringLiteral("\n\n"));
  connect(Memo2, &QTextEdit::textChanged, this, [this] { Dispatch(nullptr, [this] { Memo2Change(nullptr); }); });

  CreateStatusGroup();

  tek = new QGroupBox(QStringLiteral("  Sinyaller   "), GroupBox4);
  tek->setFont(FontOf(QStringLiteral("Arial"), 11));
  tek->setGeometry(332, 232, 206, 142);
}

void TForm1::CreateStatusGroup() {
  GroupBox2 = new QGroupBox(QStringLiteral("     Cihaz Modeli - Bağlantı Durumu   "), GroupBox4);
  GroupBox2->setFont(FontOf(QStringLiteral("Arial"), 11));
  GroupBox2->setGeometry(6, 232, 319, 142);
  const QFont big = FontOf(QStringLiteral("Arial Narrow"), 24, fsItalic);
  const QFont small = FontOf(QStringLiteral("Arial Narrow"), 13, fsItalic);
  Label22 = MakeLabel(GroupBox2, 14, 19, QStringLiteral("Çağrı sayısı : "), big);
  Label5 = MakeLabel(GroupBox2, 153, 20, QStringLiteral("0"), big);
  Label9 = MakeLabel(GroupBox2, 14, 53, QStringLiteral("--"), big);
  Label24 = MakeLabel(GroupBox2, 14, 89, QStringLiteral("--"), small);
  Label25 = MakeLabel(GroupBox2, 14, 114, QStringLiteral("--"), small);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) Dispatch(nullptr, [this] { FormShow(nullptr); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (Application && Application->MainForm() == this) Application->Terminate();
}

void TForm1::FormShow(TObject*) {
  SetCounter(0);
  PageControl1->setCurrentWidget(TabSheet1);
  Zarvo1->SetFormVisible(false);
  Zarvo1->Start();
  // Automatic sizing: the page control fills the window, so the client
  // area already fits its contents.
  setFixedSize(childrenRect().united(rect()).size());
}

void TForm1::Timer1Timer(TObject*) {
  const QString model = AnsiRoundTrip(Zarvo1->Command(QStringLiteral("devicemodel")));
  if (!model.isEmpty()) {
    SetCaption(Label24, QStringLiteral("Cihaz modeli: ") + model);
    const QString serial = Zarvo1->Command(QStringLiteral("serial"));
    SetCaption(Label25, QStringLiteral("Seri no: ") + serial);
  } else {
    SetCaption(Label24, QString());
    SetCaption(Label25, QString());
  }
  if (Label9->text() == kConnected && model.isEmpty()) {
    // The device has gone: start over with an empty list.
    ResetCallList();
    SetMemo2Text(tempMemo->toPlainText());
    SetCounter(0);
  }
  SetCaption(Label9, model.isEmpty() ? kWaiting : kConnected);
}

void TForm1::Timer2Timer(TObject*) {
  Timer2->SetEnabled(false);
  Application->BringToFront();
}

void TForm1::ApplicationEvents1Exception(TObject*, const Exception& E) {
  AddMemo2Line(TimeToStr(Now()) + QLatin1Char(':') + E.Message());
}

void TForm1::SetCounter(int value) {
  callCounter_ = value;
  SetCaption(Label5, QString::number(value));
}

void TForm1::ResetCallList() {
  // The call list's rows are emptied here once the grid takes its place.
}

void TForm1::AddMemo2Line(const QString& line) {
  // A new last line: after the final line break, or after a line that has none.
  const QString text = Memo2->toPlainText();
  if (text.isEmpty() || text.endsWith(QLatin1Char('\n'))) SetMemo2Text(text + line + QLatin1Char('\n'));
  else SetMemo2Text(text + QLatin1Char('\n') + line);
}

void TForm1::SetMemo2Text(const QString& text) {
  Memo2->setPlainText(text);
  Memo2->verticalScrollBar()->setValue(Memo2->verticalScrollBar()->maximum());
}

int TForm1::Memo2WrapWidth() const {
  const int frame = Memo2->frameWidth();
  const int scrollBar = Memo2->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Memo2);
  const int margin = int(Memo2->document()->documentMargin());
  return Memo2->width() - 2 * frame - scrollBar - 2 * margin;
}

namespace {

// Lengths of the displayed rows of one line of text at the given width.
QList<int> RowLengths(const QString& line, const QFont& font, int width) {
  if (line.isEmpty()) return {0};
  QTextLayout layout(line, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QList<int> rows;
  layout.beginLayout();
  for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
    row.setLineWidth(width);
    rows << row.textLength();
  }
  layout.endLayout();
  return rows;
}

// The text's lines; a trailing line break ends the last line, it starts none.
QStringList LinesOf(const QString& text) {
  QStringList lines = text.split(QLatin1Char('\n'));
  if (text.endsWith(QLatin1Char('\n'))) lines.removeLast();
  return lines;
}

}  // namespace

QList<int> TForm1::Memo2RowEnds(const QString& text) const {
  QList<int> rowEnds;
  int offset = 0;
  for (const QString& line : LinesOf(text)) {
    const QList<int> rows = RowLengths(line, Memo2->font(), Memo2WrapWidth());
    for (int i = 0; i < rows.size(); ++i) {
      offset += rows[i];
      // A line's last row takes its line break with it.
      rowEnds << (i + 1 == rows.size() ? std::min(offset + 1, int(text.size())) : offset);
    }
    offset = rowEnds.last();
  }
  return rowEnds;
}

int TForm1::Memo2DisplayedRows() const { return int(Memo2RowEnds(Memo2->toPlainText()).size()); }

void TForm1::Memo2Change(TObject*) {
  // Deleting the first row changes the text again, and so on until two rows
  // are left. Greedy wrapping of what follows a deleted row is unchanged, so
  // the whole chain is one cut, worked out in one pass over the rows.
  if (inMemo2Change_) return;
  const QString text = Memo2->toPlainText();
  const QList<int> rowEnds = Memo2RowEnds(text);
  const int surplus = int(rowEnds.size()) - 2;
  if (surplus <= 0) return;
  inMemo2Change_ = true;
  SetMemo2Text(text.mid(rowEnds[surplus - 1]));
  inMemo2Change_ = false;
}

// The main window. Names are the form's own; which handler serves which control:
//   Zarvo1 (device) ...... OnCallerID → Zarvo1CallerID, OnSignalA → Zarvo1SignalA
//   Timer1, Timer2 ....... Timer1Timer (device model), Timer2Timer (to front)
//   Memo2 ................ Memo2Change
//   PopupMenu1 ........... Listeyisil1 → Listeyisil1Click, ki1 → ki1Click
//                          (shown on Label9, Label24, Label25)
//   question tab ......... Edit1 → Edit1Click, BitBtn1 → BitBtn1Click (and
//                          Enter in Edit1 or Edit2)
//   line controls ........ Button1..4 → Button1Click..Button4Click
//   help tab ............. Label21/Image2 → Label21Click, Label17/Image1 →
//                          Label17Click, Label16/Image3 → Label11Click,
//                          Label12/Image4 → Label12Click, Label19 →
//                          Label14Click, BitBtn3 → BitBtn2Click
//   settings tab ......... BitBtn2 → BitBtn2Click
// The cross-wired ones (Label16, Label19, BitBtn3) are the form's design:
// each shares the handler of the control doing the same job.

#include "app/Unit1.h"

#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QVBoxLayout>

#include "app/AppIcon.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "grid/GridView.h"
#include "platform/Application.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/Sound.h"
#include "platform/StdCtrls.h"
#include "platform/Streaming.h"
#include "platform/SysUtils.h"
#include "platform/Timers.h"
#include "platform/WindowFrame.h"
#include "tray/NotifyIcon.h"

namespace {

// The question tab's other answer: the model number opens the KR926 line
// controls.
const QString kKR926Answer = QStringLiteral("926");
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

// The frame takes the whole page, whatever size the tab control gives it.
void FillWith(QWidget* page, QWidget* frame) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(frame);
}

void SetTextColor(QWidget* label, TColor color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ToQColor(color));
  label->setPalette(palette);
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
  CreateHelpTab();
  CreateSettingsTab();
  CreateQuestionTab();

  // The device control comes last: without it the window cannot exist.
  Zarvo1 = new TZarvo(components_.get(), GroupBox2);
  Zarvo1->SetName(QStringLiteral("Zarvo1"));
  Zarvo1->Widget()->setGeometry(280, 80, 26, 26);
  Zarvo1->OnCallerID = [this](TObject* s, const QString& deviceID, const QString& line, const QString& number,
                              const QString& dateTime, const QString& otherText) {
    Zarvo1CallerID(s, deviceID, line, number, dateTime, otherText);
  };
  Zarvo1->OnSignalA = [this](TObject* s, const QString& l1, const QString& l2, const QString& l3, const QString& l4,
                             const QString& l5, const QString& l6, const QString& l7,
                             const QString& l8) { Zarvo1SignalA(s, l1, l2, l3, l4, l5, l6, l7, l8); };

  CreatePopupMenu();
  CreateTrayIcon();

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
  GroupBox4 = new QGroupBox(TabSheet1);
  FillWith(TabSheet1, GroupBox4);

  CreateCallList();

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

  CreateSignalGroup();
}

void TForm1::CreateSignalGroup() {
  tek = new QGroupBox(QStringLiteral("  Sinyaller   "), GroupBox4);
  tek->setFont(FontOf(QStringLiteral("Arial"), 11));
  tek->setGeometry(332, 232, 206, 142);
  // The platform's default font, 13 pixels high.
  const QFont captionFont = FontOf(TFont().Name(), 13);
  QLabel** captions[] = {&Label6, &Label7, &Label8, &Label15};
  QProgressBar** bars[] = {&ProgressBar1, &ProgressBar2, &ProgressBar3, &ProgressBar4};
  QLabel** values[] = {&Label1, &Label2, &Label3, &Label4};
  for (int i = 0; i < 4; ++i) {
    const int top = 40 + 24 * i;
    *captions[i] = MakeLabel(tek, 10, top - 2, QStringLiteral("Telefon %1").arg(i + 1), captionFont);
    auto* bar = new QProgressBar(tek);
    bar->setGeometry(71, top, 99, 13);
    bar->setRange(0, 30);
    bar->setValue(0);
    bar->setTextVisible(false);
    // Continuous, not in blocks.
    bar->setStyleSheet(
        QStringLiteral("QProgressBar { border: 1px solid gray; background: white; }"
                       "QProgressBar::chunk { background: #0a246a; }"));
    *bars[i] = bar;
    auto* value = new QLabel(QStringLiteral("-"), tek);
    value->setGeometry(174, top, 25, 13);
    *values[i] = value;
  }
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
  // The list goes with the counter, so that the two never disagree.
  ResetCallList();
  SetCounter(0);
  PageControl1->setCurrentWidget(TabSheet1);
  Zarvo1->SetFormVisible(false);
  Zarvo1->Start();
  // Automatic sizing: the page control fills the window, so the client
  // area already fits its contents.
  setFixedSize(childrenRect().united(rect()).size());
}

void TForm1::Timer1Timer(TObject*) {
  const QString model = AnsiRoundTrip(Zarvo1->Command(ZarvoCommandText(TZarvoCommand::zcDeviceModel)));
  if (!model.isEmpty()) {
    SetCaption(Label24, QStringLiteral("Cihaz modeli: ") + model);
    const QString serial = Zarvo1->Command(ZarvoCommandText(TZarvoCommand::zcSerial));
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

void TForm1::ResetCallList() { GridView1->ClearRows(); }

// ---- The call list -----------------------------------------------------------

namespace {

const QString kCallListForm = QStringLiteral(":/app/forms/GridView1.txt");

QString ReadResourceText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw EReadError(QStringLiteral("Cannot read %1").arg(path));
  return QString::fromUtf8(file.readAll());
}

// Locks the grid against repaints and change events for its lifetime; the
// lock is lifted however the block ends, so a failed write cannot leave the
// list frozen.
class TUpdateBracket {
 public:
  explicit TUpdateBracket(TGridView* grid) : grid_(grid) { grid_->BeginUpdate(); }
  ~TUpdateBracket() { grid_->EndUpdate(); }
  TUpdateBracket(const TUpdateBracket&) = delete;
  TUpdateBracket& operator=(const TUpdateBracket&) = delete;

 private:
  TGridView* grid_;
};

}  // namespace

void TForm1::CreateCallList() {
  GridView1 = new TGridView(GroupBox4);
  GridView1->setObjectName(QStringLiteral("GridView1"));
  ReadObjectText(GridView1, ReadResourceText(kCallListForm));
  GridView1->setGeometry(6, 8, 532, 170);
  GridView1->SetBorderStyle(bsSingle);
  GridView1->SetTabStop(true);
}

void TForm1::Zarvo1CallerID(TObject*, const QString& DeviceID, const QString& Line, const QString& PhoneNumber,
                            const QString&, const QString&) {
  const QString number = AnsiRoundTrip(PhoneNumber);
  if (GridView1->RowCount() >= kCallListRows) GridView1->DeleteRow(0);
  GridView1->AddRows(1);
  const int row = GridView1->RowCount() - 1;
  SetCounter(callCounter_ + 1);
  WriteCallRow(row, Line, number, DeviceID);
  Sound::Beep(1000, 100);
  TrayIcon1->ShowBalloon(QStringLiteral("Çağrı: ") + QString::number(callCounter_), number, biInformation, 10);
}

void TForm1::WriteCallRow(int row, const QString& line, const QString& number, const QString& deviceID) {
  TUpdateBracket bracket(GridView1);
  GridView1->Cell(ccLine, row).SetAsText(line);
  GridView1->Cell(ccNumber, row).SetAsText(number);
  GridView1->Cell(ccTime, row).SetAsText(TimeToStr(Clock()));
  GridView1->Cell(ccSerial, row).SetAsText(deviceID);
  GridView1->Cell(ccCounter, row).SetAsText(QString::number(callCounter_));
}

// ---- Popup menu and tray icon ----------------------------------------------

void TForm1::CreatePopupMenu() {
  PopupMenu1 = new TPopupMenu(components_.get());
  Listeyisil1 = PopupMenu1->Add(QStringLiteral("Listeyi sil"));
  Listeyisil1->OnClick = [this](TObject* s) { Listeyisil1Click(s); };
  ki1 = PopupMenu1->Add(QStringLiteral("Çıkış"));
  ki1->OnClick = [this](TObject* s) { ki1Click(s); };
  for (QLabel* label : {Label9, Label24, Label25}) {
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(label, &QWidget::customContextMenuRequested, this, [this, label](const QPoint& pos) {
      Dispatch(nullptr, [&] {
        const QPoint at = label->mapToGlobal(pos);
        PopupMenu1->SetPopupComponent(label);
        PopupMenu1->Popup(at.x(), at.y());
      });
    });
  }
}

void TForm1::CreateTrayIcon() {
  // Set up as its stored form would be read: values first, applied by Loaded.
  TrayIcon1 = new TNotifyIcon(this);
  TrayIcon1->SetName(QStringLiteral("TrayIcon1"));
  TrayIcon1->Include(csLoading);
  TrayIcon1->SetIcon(TIcon(ProgramIconImage(32)));
  TrayIcon1->SetIconIndex(0);
  TrayIcon1->SetCycleIcons(false);
  TrayIcon1->SetCycleInterval(400);
  TrayIcon1->SetPopupMenu(PopupMenu1);
  TrayIcon1->SetLeftPopup(false);
  TrayIcon1->SetWantEnterExitEvents(true);
  TrayIcon1->SetShowHint(true);
  TrayIcon1->SetHint(QString());
  TrayIcon1->SetEnabled(true);
  TrayIcon1->SetMinimizeToTray(false);
  TrayIcon1->SetDesignPreview(false);
  TrayIcon1->SetIconVisible(true);
  TrayIcon1->Loaded();
}

void TForm1::Listeyisil1Click(TObject*) {
  ResetCallList();
  SetMemo2Text(tempMemo->toPlainText());
  SetCounter(0);
}

void TForm1::ki1Click(TObject*) { close(); }

void TForm1::AddMemo2Line(const QString& line) {
  // A new last line: after the final line break, or after a line that has none.
  const QString text = Memo2->toPlainText();
  if (text.isEmpty() || text.endsWith(QLatin1Char('\n')))
    SetMemo2Text(text + line + QLatin1Char('\n'));
  else
    SetMemo2Text(text + QLatin1Char('\n') + line);
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

// ---- Line signals ----------------------------------------------------------

void TForm1::Zarvo1SignalA(TObject*, const QString& Level1, const QString& Level2, const QString& Level3,
                           const QString& Level4, const QString&, const QString&, const QString&, const QString&) {
  // All four are parsed before anything is shown, so a bad text leaves the
  // previous readings whole.
  const int levels[] = {StrToInt(AnsiRoundTrip(Level1)), StrToInt(AnsiRoundTrip(Level2)),
                        StrToInt(AnsiRoundTrip(Level3)), StrToInt(AnsiRoundTrip(Level4))};
  QProgressBar* bars[] = {ProgressBar1, ProgressBar2, ProgressBar3, ProgressBar4};
  QLabel* values[] = {Label1, Label2, Label3, Label4};
  for (int i = 0; i < 4; ++i) {
    bars[i]->setValue(std::clamp(levels[i], bars[i]->minimum(), bars[i]->maximum()));
    values[i]->setText(QString::number(levels[i]));
  }
}

// ---- The "?" tab: the question and the line-control group --------------------

void TForm1::CreateQuestionTab() {
  const QString sans = TFont().Name();
  Label11 = MakeLabel(TabSheet4, 284, 336, QStringLiteral("Soru : "), FontOf(sans, 7));
  Label14 = MakeLabel(TabSheet4, 317, 329, QString::number(kQuestionBase), FontOf(sans, 19));
  Label18 = MakeLabel(TabSheet4, 328, 326, QString::number(kQuestionExponent), FontOf(sans, 7));
  Label20 = MakeLabel(TabSheet4, 340, 334, QStringLiteral("="), DefaultFont());
  Edit1 = new TEdit(TabSheet4, QStringLiteral("??"));
  Edit1->setGeometry(356, 330, 41, 21);
  Edit1->OnClick = [this](TObject* s) { Edit1Click(s); };
  BitBtn1 = new TBitBtn(TabSheet4, QStringLiteral("Tamam"), bkOK);
  BitBtn1->setGeometry(404, 325, 97, 30);
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
  // The window's default button: Enter in the tab's edit fields presses it.
  BitBtn1->SetDefault(true);
  connect(Edit1, &QLineEdit::returnPressed, BitBtn1, &QPushButton::click);
  CreateLineControlGroup();
  connect(Edit2, &QLineEdit::returnPressed, BitBtn1, &QPushButton::click);
}

void TForm1::CreateLineControlGroup() {
  GroupBox3 = new QGroupBox(QStringLiteral("  Aşağıdaki özellikler, sadece  KR926 model ürünler için kullanılır   "),
                            TabSheet4);
  GroupBox3->setGeometry(0, 79, 536, 76);
  GroupBox3->hide();
  auto button = [this](int x, int width, const QString& caption, const QString& hint,
                       void (TForm1::*handler)(TObject*)) {
    auto* b = new TButton(GroupBox3, caption);
    b->setGeometry(x, 27, width, 28);
    b->setToolTip(hint);
    b->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    return b;
  };
  Button2 = button(8, 66, QStringLiteral("Hattı Kapat"), QStringLiteral("Çağrı beklenir"), &TForm1::Button2Click);
  Button1 = button(92, 66, QStringLiteral("Hattı Aç"), QStringLiteral("Hat meşgul"), &TForm1::Button1Click);
  Edit2 = new TEdit(GroupBox3, QStringLiteral("05.."));
  Edit2->setGeometry(192, 31, 105, 21);
  Button3 = button(300, 101, QStringLiteral("Bu numarayı çevir"), QString(), &TForm1::Button3Click);
  Button4 = button(418, 95, QStringLiteral("Sesli mesaj dinlet"), QString(), &TForm1::Button4Click);
  QWidget::setTabOrder(Button1, Button2);
  QWidget::setTabOrder(Button2, Button3);
  QWidget::setTabOrder(Button3, Button4);
  QWidget::setTabOrder(Button4, Edit2);
}

void TForm1::Edit1Click(TObject*) { Edit1->selectAll(); }

void TForm1::BitBtn1Click(TObject*) {
  int answer = 1;
  for (int i = 0; i < kQuestionExponent; ++i) answer *= kQuestionBase;
  const QString text = Edit1->text();
  if (text == QString::number(answer)) {
    Zarvo1->ShowAbout();
  } else if (text == kKR926Answer) {
    GroupBox3->show();
  } else {
    Edit1->setText(QStringLiteral("??"));
    PageControl1->setCurrentWidget(TabSheet1);
  }
}

void TForm1::Button1Click(TObject*) { Zarvo1->Command(ZarvoCommandText(TZarvoCommand::zcLineOn)); }
void TForm1::Button2Click(TObject*) { Zarvo1->Command(ZarvoCommandText(TZarvoCommand::zcLineOff)); }
void TForm1::Button3Click(TObject*) { Zarvo1->Command(ZarvoCommandText(TZarvoCommand::zcDial, Edit2->text())); }

void TForm1::Button4Click(TObject*) {
  // Two spaces before "eklenebilir"; the text ends with two line breaks.
  MessageDlg(QStringLiteral("Çağrı cevaplanır, veya numara çevrilir. Sonra sesli mesaj dinletilir.\r\n"
                            "İsterseniz bu özellik  eklenebilir ($)\r\n\r\n"),
             mtInformation);
}

// ---- Help topics -----------------------------------------------------------

TClickLabel* TForm1::CreateTopic(int x, int y, const QString& text, void (TForm1::*handler)(TObject*)) {
  auto* label = new TClickLabel(GroupBox1);
  label->setText(text);
  label->setFont(FontOf(QStringLiteral("Verdana"), 12));
  SetTextColor(label, clBlue);
  label->setCursor(Qt::PointingHandCursor);
  label->move(x, y);
  label->adjustSize();
  label->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
  return label;
}

TClickLabel* TForm1::CreateThumbnail(int x, int y, const QString& picture, void (TForm1::*handler)(TObject*)) {
  TBitmap bitmap;
  bitmap.LoadFromFile(picture);
  // Drawn transparent: the colour of the bottom-left pixel is not drawn.
  bitmap.SetTransparent(true);
  auto* image = new TClickLabel(GroupBox1);
  image->setPixmap(QPixmap::fromImage(bitmap.MaskedImage()));
  image->setGeometry(x, y, bitmap.Width(), bitmap.Height());
  image->setCursor(Qt::PointingHandCursor);
  image->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
  return image;
}

void TForm1::CreateHelpTab() {
  GroupBox1 = new QGroupBox(QStringLiteral("  Yardım Konuları  "), TabSheet2);
  FillWith(TabSheet2, GroupBox1);
  Label21 = CreateTopic(89, 43, QStringLiteral("Tek hatlı Cihaz Bağlantısı böyle yapılır >"), &TForm1::Label21Click);
  Image2 = CreateThumbnail(382, 16, DiagramPictures::DeviceThumbnail, &TForm1::Image2Click);
  Label17 = CreateTopic(89, 120, QStringLiteral("2 hatlı Cihaz Bağlantısı böyle yapılır >"), &TForm1::Label17Click);
  Image1 = CreateThumbnail(382, 95, DiagramPictures::DeviceThumbnail, &TForm1::Image1Click);
  Label16 = CreateTopic(89, 197, QStringLiteral("4 hatlı Cihaz Bağlantısı böyle yapılır >"), &TForm1::Label11Click);
  Image3 = CreateThumbnail(382, 175, DiagramPictures::DeviceThumbnail, &TForm1::Image3Click);
  Label12 = CreateTopic(89, 292, QStringLiteral("İnternet hattı, cihaza böyle bağlanır >"), &TForm1::Label12Click);
  Image4 = CreateThumbnail(382, 255, DiagramPictures::SplitterThumbnail, &TForm1::Image4Click);
  Label19 = CreateTopic(90, 345, QStringLiteral("Önemli açıklamalar"), &TForm1::Label14Click);
  QFont underlined = Label19->font();
  underlined.setUnderline(true);
  Label19->setFont(underlined);
  Label19->adjustSize();
  BitBtn3 = new TBitBtn(GroupBox1, QStringLiteral("Tamam"), bkOK);
  BitBtn3->setGeometry(382, 331, 97, 30);
  BitBtn3->OnClick = [this](TObject* s) { BitBtn2Click(s); };
}

void TForm1::CreateSettingsTab() {
  Label10 = MakeLabel(TabSheet3, 57, 78, QStringLiteral("Ayarlar otomatiktir. "), DefaultFont());
  SetTextColor(Label10, clBlue);
  BitBtn2 = new TBitBtn(TabSheet3, QStringLiteral("Tamam"), bkOK);
  BitBtn2->setGeometry(402, 323, 97, 30);
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
}

void TForm1::Label21Click(TObject*) { Form6->ShowModal(); }
void TForm1::Label17Click(TObject*) { Form2->ShowModal(); }
void TForm1::Label11Click(TObject*) { Form3->ShowModal(); }

void TForm1::Label12Click(TObject*) {
  MessageDlg(QStringLiteral("İnternet bağlantısı olan hat varsa, mutlaka ADSL splitter kullanılır.\r\n"
                            "ADSL Splitter, modemle birlikte verilen bir \"cihazdır\".\r\n"
                            "\r\n"
                            "İnternet telefon hattı, caller ID cihazına doğrudan bağlanmaz.\r\n"
                            "ADSL splitter \"telefon\" çıkışından cihaz girişine ve telefona bağlantı yapılır. \r\n"
                            "ADSL splitter, sadece internet bağlantısı olan hat için kullanılır."),
             mtInformation);
  splnedir->ShowModal();
  ADSlbag->ShowModal();
}

void TForm1::Label14Click(TObject*) {
  MessageDlg(
      QStringLiteral("Caller ID cihazları, santralin gönderdiği arayan numara bilgisini, bilgisayara aktarır. \r\n"
                     "Kabloya bağlı telefon makinesi üzerinde numara görünmüyorsa cihaz da numarayı gösteremez.\r\n"
                     " 444 1 444 nolu  Türk Telekom servisini aramak suretiyle telefon hattının numara gösterme "
                     "özelliği açtırılabilir."),
      mtInformation);
  MessageDlg(
      QStringLiteral("Telefon kapalı ve zil çalmıyorsa, sinyal göstergeleri en fazla 0..2 civarında olmalıdır. \r\n"
                     "Daha yüksek ise sorun var demektir. İnternet hattında, ADSL Siplitter kullanılmamış  veya "
                     "ters bağlı olabilir. \r\n"
                     "\r\n"
                     "Zil çalarken veya konuşma esnasında göstergelerin daha fazla yükselmesi,\r\n"
                     "telefon hattındaki elektriğin, cihaza ulaştığını gösterir. Normal bir durumdur.\r\n"
                     "Fakat mutlaka, \"Caller ID sinyali var\" anlamına GELMEZ "),
      mtWarning);
}

// Each picture opens what its row's label opens.
void TForm1::Image1Click(TObject* Sender) { Label17Click(Sender); }
void TForm1::Image2Click(TObject* Sender) { Label21Click(Sender); }
void TForm1::Image3Click(TObject* Sender) { Label11Click(Sender); }
void TForm1::Image4Click(TObject* Sender) { Label12Click(Sender); }

void TForm1::BitBtn2Click(TObject*) { PageControl1->setCurrentWidget(TabSheet1); }

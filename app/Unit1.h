#pragma once
// The main window: connection status, the call list, line signals, the
// line-control question and the help topics.

#include <QWidget>
#include <functional>
#include <memory>

#include "app/zarvocallerid_TLB.h"
#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/SysUtils.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class TButton;
class TBitBtn;
class TClickLabel;
class TEdit;
class TGridView;
class TMenuItem;
class TNotifyIcon;
class TPopupMenu;
class QPlainTextEdit;
class QTabWidget;
class QTextEdit;
class TTimer;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kOuterWidth = 560;
  static constexpr int kOuterHeight = 443;

  // Raises EOleError when the device control cannot be created.
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Handlers, public so that tests can drive them as the platform would.
  void FormShow(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void Timer2Timer(TObject* Sender);
  void Memo2Change(TObject* Sender);
  void ApplicationEvents1Exception(TObject* Sender, const Exception& E);
  void Zarvo1CallerID(TObject* ASender, const QString& DeviceID, const QString& Line, const QString& PhoneNumber,
                      const QString& DateTime, const QString& OtherText);
  void Zarvo1SignalA(TObject* ASender, const QString& Level1, const QString& Level2, const QString& Level3,
                     const QString& Level4, const QString& Level5, const QString& Level6, const QString& Level7,
                     const QString& Level8);
  void Edit1Click(TObject* Sender);
  void BitBtn1Click(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void Button3Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void Label21Click(TObject* Sender);
  void Label17Click(TObject* Sender);
  void Label11Click(TObject* Sender);
  void Label12Click(TObject* Sender);
  void Label14Click(TObject* Sender);
  void Image1Click(TObject* Sender);
  void Image2Click(TObject* Sender);
  void Image3Click(TObject* Sender);
  void Image4Click(TObject* Sender);
  void BitBtn2Click(TObject* Sender);
  void Listeyisil1Click(TObject* Sender);
  void ki1Click(TObject* Sender);

  // The question of the "?" tab: Label14 raised to Label18.
  static constexpr int kQuestionBase = 2;
  static constexpr int kQuestionExponent = 3;

  // The call list keeps this many of the newest calls.
  static constexpr int kCallListRows = 6;
  // Column indexes of the call list: the order the columns are stored in,
  // not the order they are shown in.
  enum TCallColumn : int { ccTime, ccSerial, ccCounter, ccLine, ccNumber };
  // Where a call's reception time comes from; pictures of the window pin it.
  std::function<TDateTime()> Clock = Now;

  int CallCounter() const { return callCounter_; }
  // Appends one line to the message box, as the platform's Lines.Add does.
  void AddMemo2Line(const QString& line);
  // Rows the message box shows for its text: wrapped lines count as several,
  // a trailing line break as none.
  int Memo2DisplayedRows() const;

  // The window's parts, named as the program knows them.
  TComponent* Components() const { return components_.get(); }
  TZarvo* Zarvo1 = nullptr;
  TTimer* Timer1 = nullptr;
  TTimer* Timer2 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet3 = nullptr;
  QWidget* TabSheet4 = nullptr;
  QGroupBox* GroupBox4 = nullptr;
  TGridView* GridView1 = nullptr;
  QTextEdit* Memo2 = nullptr;
  QPlainTextEdit* tempMemo = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QGroupBox* tek = nullptr;
  QLabel* Label22 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label24 = nullptr;
  QLabel* Label25 = nullptr;
  // Line signals: caption, bar and value label of each line.
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label15 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QProgressBar* ProgressBar2 = nullptr;
  QProgressBar* ProgressBar3 = nullptr;
  QProgressBar* ProgressBar4 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  // The "?" tab.
  QLabel* Label11 = nullptr;
  QLabel* Label14 = nullptr;
  QLabel* Label18 = nullptr;
  QLabel* Label20 = nullptr;
  TEdit* Edit1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button3 = nullptr;
  TButton* Button4 = nullptr;
  TEdit* Edit2 = nullptr;
  // The help tab and the hidden settings tab.
  QGroupBox* GroupBox1 = nullptr;
  TClickLabel* Label21 = nullptr;
  TClickLabel* Label17 = nullptr;
  TClickLabel* Label16 = nullptr;
  TClickLabel* Label12 = nullptr;
  TClickLabel* Label19 = nullptr;
  TClickLabel* Image1 = nullptr;
  TClickLabel* Image2 = nullptr;
  TClickLabel* Image3 = nullptr;
  TClickLabel* Image4 = nullptr;
  TBitBtn* BitBtn3 = nullptr;
  QLabel* Label10 = nullptr;
  TBitBtn* BitBtn2 = nullptr;
  // The menu of the status labels and the tray icon.
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Listeyisil1 = nullptr;
  TMenuItem* ki1 = nullptr;
  TNotifyIcon* TrayIcon1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateTestTab();
  void CreateStatusGroup();
  void CreateSignalGroup();
  void CreateCallList();
  void WriteCallRow(int row, const QString& line, const QString& number, const QString& deviceID);
  void CreateQuestionTab();
  void CreateLineControlGroup();
  void CreateHelpTab();
  void CreateSettingsTab();
  void CreatePopupMenu();
  void CreateTrayIcon();
  TClickLabel* CreateTopic(int x, int y, const QString& text, void (TForm1::*handler)(TObject*));
  TClickLabel* CreateThumbnail(int x, int y, const QString& picture, void (TForm1::*handler)(TObject*));
  void SetMemo2Text(const QString& text);
  int Memo2WrapWidth() const;
  // Text offset just after each displayed row of text.
  QList<int> Memo2RowEnds(const QString& text) const;
  void ResetCallList();
  void SetCounter(int value);

  std::unique_ptr<TComponent> components_;
  int callCounter_ = 0;
  bool inMemo2Change_ = false;
};

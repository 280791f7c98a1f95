#pragma once
// The main window: connection status, the call list, line signals, the
// line-control question and the help topics.

#include "app/zarvocallerid_TLB.h"
#include "platform/Classes.h"
#include "platform/Exceptions.h"

#include <QWidget>
#include <memory>

class QGroupBox;
class QLabel;
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
  QWidget* GridView1Place = nullptr;
  QTextEdit* Memo2 = nullptr;
  QPlainTextEdit* tempMemo = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QGroupBox* tek = nullptr;
  QLabel* Label22 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label24 = nullptr;
  QLabel* Label25 = nullptr;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void CreateTestTab();
  void CreateStatusGroup();
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

#pragma once
// The device control's own window, opened by ShowAbout and by a double
// click on the control's face: the device's state with its test session
// line by line, the raw frames and commands it saw, the recorded sessions,
// and what it is. Reads the control afresh on Refresh.

#include <QDateTime>
#include <QHash>
#include <QWidget>

class QLabel;
class QTabWidget;
class TDeviceControl;
class TGridView;
class THistoryPage;

class TDeviceWindow : public QWidget {
 public:
  explicit TDeviceWindow(const TDeviceControl& control);
  ~TDeviceWindow() override;

  void Refresh();

  QTabWidget* Pages() const { return pages_; }
  // The frame log, newest entry first.
  TGridView* Frames() const { return frames_; }
  // The running session line by line: calls, levels and verdict.
  TGridView* Lines() const { return lines_; }
  THistoryPage* History() const { return history_; }
  // The value shown beside a caption of the "Durum" or "Hakkında" page.
  QString Value(const QString& caption) const;

 private:
  QWidget* MakeFields(const QStringList& captions);
  QWidget* MakeStatusPage();
  void RefreshSession();
  void RefreshLines();
  void ReloadHistoryWhenShown();
  void SetValue(const QString& caption, const QString& value);
  void RefreshFrames();

  const TDeviceControl& control_;
  QTabWidget* pages_;
  TGridView* frames_;
  TGridView* lines_;
  THistoryPage* history_;
  QDateTime historyOf_;  // the start of the session the history was read with
  bool historyStale_ = true;
  QHash<QString, QLabel*> values_;
};

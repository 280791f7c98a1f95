#pragma once
// The device control's own window, opened by ShowAbout and by a double
// click on the control's face: the device's state, the raw frames and
// commands it saw, and what it is. Reads the control afresh on Refresh.

#include <QHash>
#include <QWidget>

class QLabel;
class QTabWidget;
class TDeviceControl;
class TGridView;

class TDeviceWindow : public QWidget {
 public:
  explicit TDeviceWindow(const TDeviceControl& control);
  ~TDeviceWindow() override;

  void Refresh();

  QTabWidget* Pages() const { return pages_; }
  // The frame log, newest entry first.
  TGridView* Frames() const { return frames_; }
  // The value shown beside a caption of the "Durum" or "Hakkında" page.
  QString Value(const QString& caption) const;

 private:
  QWidget* MakeFields(const QStringList& captions);
  void SetValue(const QString& caption, const QString& value);
  void RefreshFrames();

  const TDeviceControl& control_;
  QTabWidget* pages_;
  TGridView* frames_;
  QHash<QString, QLabel*> values_;
};

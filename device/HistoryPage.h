#pragma once
// The "Kayıtlar" page of a device's window: every recorded session, newest
// first, sortable by its headers and searchable by typing a serial, the
// sessions of the device seen now marked; the calls of the chosen session
// below; the shown sessions as CSV and the chosen one as a PDF report.

#include <QHash>
#include <QWidget>
#include <memory>
#include <vector>

#include "device/RecordStore.h"
#include "platform/Graphics.h"

class TGridView;
class TImageList;

class THistoryPage : public QWidget {
 public:
  enum THistoryColumn { hcSerial, hcModel, hcStarted, hcDuration, hcCalls, hcLines, hcVerdict, hcSession, hcCount };
  // Each line's verdict is a coloured box; the picture of a session is
  // chosen by its letters, four states a line, four lines at most.
  static constexpr int kLineStates = 4;
  static constexpr int kMaxLines = 4;
  static constexpr int kPictures = kLineStates * kLineStates * kLineStates * kLineStates;
  // The sessions of the device seen now, on a pale yellow.
  static constexpr TColor kCurrentDeviceColor = 0x00C0FFFF;

  THistoryPage();
  ~THistoryPage() override;

  void SetStore(const TRecordStore* store) { store_ = store; }
  // The serial whose sessions are marked; empty when none answers.
  void SetCurrentSerial(const QString& serial);
  // Reads the sessions again, keeping the chosen one when it is still there.
  void Reload();

  TGridView* Sessions() const { return sessions_; }
  TGridView* Calls() const { return calls_; }
  // The session on the current row as the list has it, or null.
  const TSessionRow* ChosenSession() const;
  // The sessions in the order shown, read in full.
  std::vector<TSessionRow> ShownSessions() const;
  // Both raise ERecordError when the file cannot be written.
  void ExportCsv(const QString& path) const;
  void WriteReport(const QString& path) const;

  // The picture index of a session's line verdict letters ("GKE").
  static int LinesPicture(const QString& letters);

 private:
  void MakeColumns();
  void MakePictures();
  void ShowCallsOfChosen();
  void AskCsv();
  void AskReport();
  qint64 SessionAt(int row) const;

  const TRecordStore* store_ = nullptr;
  QString currentSerial_;
  std::vector<TSessionRow> rows_;
  QHash<qint64, size_t> byId_;
  std::unique_ptr<TImageList> pictures_;
  TGridView* sessions_;
  TGridView* calls_;
  qint64 callsOf_ = -1;
};

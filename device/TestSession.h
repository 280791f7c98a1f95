#pragma once
// What one test of one device found, line by line, and the verdict it
// earns: a line passes when a call with a number (or a withheld or
// unavailable mark) came on it and its level moved; the device passes when
// every line passed. A damaged message on any line fails the test.

#include <QString>
#include <climits>
#include <vector>

struct TLineResult {
  int calls = 0;    // calls with a number or a reason for none
  int damaged = 0;  // messages that failed their check
  int lowest = INT_MAX;
  int highest = INT_MIN;
  int last = 0;
  int samples = 0;

  void Fold(int level);
  // The level rose or fell at least this much: the line was rung or seized.
  static constexpr int kLevelMove = 5;
  bool LevelMoved() const { return samples > 0 && highest - lowest >= kLevelMove; }
  bool Passed() const { return calls > 0 && damaged == 0 && LevelMoved(); }
};

enum class TVerdict { vdIncomplete, vdPassed, vdFailed };

// "EKSİK", "GEÇTİ", "KALDI".
QString VerdictText(TVerdict verdict);
// The letter a verdict is kept as in a line summary: "E", "G", "K".
QChar VerdictLetter(TVerdict verdict);
TVerdict VerdictFromLetter(QChar letter);
TVerdict VerdictFromText(const QString& text);

class TTestSession {
 public:
  explicit TTestSession(int lineCount);

  int LineCount() const { return int(lines_.size()); }
  // Lines are 1-based; others are ignored, as a device may say anything.
  const TLineResult& Line(int line) const;
  TLineResult& LineToChange(int line);
  bool HasLine(int line) const { return line >= 1 && line <= LineCount(); }
  // Levels of the lines in order; those beyond the device's lines are not its.
  void FoldLevels(const std::vector<int>& levels);

  // While running a line that has not passed yet is incomplete; once ended it failed.
  TVerdict LineVerdict(int line, bool running) const;
  TVerdict Verdict(bool running) const;

  // "3/0/1/2" and "GKEG": the calls and verdicts of the lines, as kept with
  // the session so that its history reads without its calls.
  QString CallsSummary() const;
  QString VerdictsSummary(bool running) const;

 private:
  std::vector<TLineResult> lines_;
};

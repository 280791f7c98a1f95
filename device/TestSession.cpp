#include "device/TestSession.h"

#include <QStringList>
#include <algorithm>

void TLineResult::Fold(int level) {
  lowest = std::min(lowest, level);
  highest = std::max(highest, level);
  last = level;
  ++samples;
}

QString VerdictText(TVerdict verdict) {
  switch (verdict) {
    case TVerdict::vdPassed:
      return QStringLiteral("GEÇTİ");
    case TVerdict::vdFailed:
      return QStringLiteral("KALDI");
    case TVerdict::vdIncomplete:
      break;
  }
  return QStringLiteral("EKSİK");
}

QChar VerdictLetter(TVerdict verdict) { return VerdictText(verdict).front(); }

TVerdict VerdictFromLetter(QChar letter) {
  if (letter == u'G') return TVerdict::vdPassed;
  if (letter == u'K') return TVerdict::vdFailed;
  return TVerdict::vdIncomplete;
}

TVerdict VerdictFromText(const QString& text) { return VerdictFromLetter(text.isEmpty() ? QChar() : text.front()); }

TTestSession::TTestSession(int lineCount) : lines_(size_t(std::max(lineCount, 0))) {}

const TLineResult& TTestSession::Line(int line) const { return lines_.at(size_t(line - 1)); }

TLineResult& TTestSession::LineToChange(int line) { return lines_.at(size_t(line - 1)); }

void TTestSession::FoldLevels(const std::vector<int>& levels) {
  const size_t n = std::min(levels.size(), lines_.size());
  for (size_t i = 0; i < n; ++i) lines_[i].Fold(levels[i]);
}

TVerdict TTestSession::LineVerdict(int line, bool running) const {
  const TLineResult& r = Line(line);
  if (r.damaged > 0) return TVerdict::vdFailed;
  if (r.Passed()) return TVerdict::vdPassed;
  return running ? TVerdict::vdIncomplete : TVerdict::vdFailed;
}

TVerdict TTestSession::Verdict(bool running) const {
  if (running) return TVerdict::vdIncomplete;
  const bool all =
      !lines_.empty() && std::all_of(lines_.begin(), lines_.end(), [](const TLineResult& r) { return r.Passed(); });
  return all ? TVerdict::vdPassed : TVerdict::vdFailed;
}

QString TTestSession::CallsSummary() const {
  QStringList calls;
  for (const TLineResult& r : lines_) calls << QString::number(r.calls);
  return calls.join(QLatin1Char('/'));
}

QString TTestSession::VerdictsSummary(bool running) const {
  QString letters;
  for (int line = 1; line <= LineCount(); ++line) letters += VerdictLetter(LineVerdict(line, running));
  return letters;
}

#include "device/RecordReports.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>

namespace {

const QStringList kSessionHeader{
    QStringLiteral("Oturum"),     QStringLiteral("Seri no"),       QStringLiteral("Model"),
    QStringLiteral("Cihaz türü"), QStringLiteral("Başlangıç"),     QStringLiteral("Bitiş"),
    QStringLiteral("Süre"),       QStringLiteral("Hat çağrıları"), QStringLiteral("Hat sonuçları"),
    QStringLiteral("Sonuç"),      QStringLiteral("Program sürümü")};
const QStringList kCallHeader{QStringLiteral("Oturum"), QStringLiteral("Seri no"), QStringLiteral("Hat"),
                              QStringLiteral("Numara"), QStringLiteral("Saat"),    QStringLiteral("Standart"),
                              QStringLiteral("Denetim")};

QSaveFile& Opened(QSaveFile& file) {
  if (!file.open(QIODevice::WriteOnly))
    throw ERecordError(QStringLiteral("%1 cannot be written: %2").arg(file.fileName(), file.errorString()));
  return file;
}

void Commit(QSaveFile& file) {
  if (!file.commit())
    throw ERecordError(QStringLiteral("%1 cannot be written: %2").arg(file.fileName(), file.errorString()));
}

}  // namespace

QString CsvField(const QString& text) {
  QString field = text;
  // "=1+2", "+90…", "@SUM(…)": a leading apostrophe keeps a spreadsheet from running them.
  if (!field.isEmpty() && QStringLiteral("=+-@\t\r").contains(field.front())) field.prepend(QLatin1Char('\''));
  if (field.contains(QLatin1Char('"')) || field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('\n')) ||
      field.contains(QLatin1Char('\r'))) {
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    field = QLatin1Char('"') + field + QLatin1Char('"');
  }
  return field;
}

void WriteCsv(const QString& path, const QList<QStringList>& rows) {
  QSaveFile file(path);
  Opened(file).write("\xEF\xBB\xBF");
  for (const QStringList& row : rows) {
    QStringList fields;
    fields.reserve(row.size());
    for (const QString& text : row) fields << CsvField(text);
    file.write(fields.join(QLatin1Char(',')).toUtf8() + "\r\n");
  }
  Commit(file);
}

QString CallsCsvPath(const QString& sessionsPath) {
  QString base = sessionsPath;
  if (base.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) base.chop(4);
  return base + QStringLiteral("-cagrilar.csv");
}

QString DurationText(qint64 seconds) {
  if (seconds < 0) return QStringLiteral("sürüyor");
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString LineVerdictsText(const QString& letters) {
  QStringList words;
  for (QChar letter : letters) words << VerdictText(VerdictFromLetter(letter));
  return words.join(QLatin1Char('/'));
}

void ExportSessionsCsv(const QString& path, const TRecordStore& store, const std::vector<TSessionRow>& sessions) {
  QList<QStringList> rows{kSessionHeader};
  QList<QStringList> calls{kCallHeader};
  for (const TSessionRow& s : sessions) {
    const QString id = QString::number(s.id);
    rows << QStringList{id,
                        s.serial,
                        s.model,
                        s.deviceKind,
                        s.started,
                        s.ended,
                        DurationText(s.seconds),
                        s.lineCalls,
                        LineVerdictsText(s.lineVerdicts),
                        s.verdict,
                        s.version};
    for (const TCallRow& c : store.Calls(s.id))
      calls << QStringList{id, s.serial, QString::number(c.line), c.number, c.at, c.standard, c.check};
  }
  WriteCsv(path, rows);
  WriteCsv(CallsCsvPath(path), calls);
}

namespace {

// Draws the report top-down on an A4 page in points.
class TReportPage {
 public:
  static constexpr int kMargin = 48;

  explicit TReportPage(QPdfWriter& writer) : painter_(&writer), width_(writer.width()), bottom_(writer.height()) {
    painter_.setRenderHint(QPainter::TextAntialiasing);
  }

  bool Active() const { return painter_.isActive(); }
  int Room() const { return bottom_ - kMargin - y_; }

  void Title(const QString& text) {
    SetFont(18, true);
    Line({text}, {0});
    y_ += 8;
  }
  void Heading(const QString& text) {
    y_ += 10;
    SetFont(12, true);
    Line({text}, {0});
  }
  void Field(const QString& caption, const QString& value) {
    SetFont(10, true);
    Text(kMargin, caption);
    SetFont(10, false);
    Line({value}, {130});
  }
  void Row(const QStringList& texts, const std::vector<int>& columns, bool bold = false) {
    SetFont(9, bold);
    Line(texts, columns);
  }

 private:
  void SetFont(int points, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(points);
    f.setBold(bold);
    painter_.setFont(f);
  }
  void Text(int x, const QString& text) {
    painter_.drawText(QRect(x, y_, width_ - kMargin - x, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  }
  void Line(const QStringList& texts, const std::vector<int>& columns) {
    for (qsizetype i = 0; i < texts.size() && size_t(i) < columns.size(); ++i)
      Text(kMargin + columns[size_t(i)], texts[i]);
    y_ += painter_.fontMetrics().height() + 3;
  }

  QPainter painter_;
  int width_;
  int bottom_;
  int y_ = kMargin;
};

}  // namespace

void WriteSessionReport(const QString& path, const TRecordStore& store, const TSessionRow& s) {
  const QString temporary = path + QStringLiteral(".yaziliyor");
  {
    QPdfWriter writer(temporary);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QStringLiteral("Test raporu %1").arg(s.serial));
    writer.setCreator(QStringLiteral("Cihaz Test " CIHAZ_VERSION));
    TReportPage page(writer);
    if (!page.Active()) throw ERecordError(QStringLiteral("%1 cannot be written").arg(path));
    page.Title(QStringLiteral("Cihaz Test · Test raporu"));
    page.Field(QStringLiteral("Cihaz türü"), s.deviceKind);
    page.Field(QStringLiteral("Model"), s.model);
    page.Field(QStringLiteral("Seri no"), s.serial);
    page.Field(QStringLiteral("Tarih"), s.started);
    page.Field(QStringLiteral("Süre"), DurationText(s.seconds));
    page.Field(QStringLiteral("Sonuç"), s.verdict);

    page.Heading(QStringLiteral("Hatlar"));
    const std::vector<int> lineColumns{0, 50, 110, 190, 270, 330};
    page.Row({QStringLiteral("Hat"), QStringLiteral("Çağrı"), QStringLiteral("En düşük"), QStringLiteral("En yüksek"),
              QStringLiteral("Son"), QStringLiteral("Sonuç")},
             lineColumns, true);
    const QStringList calls = s.lineCalls.split(QLatin1Char('/'));
    const std::vector<TLineRow> levels = store.Lines(s.id);
    for (int line = 1; line <= s.lineCount; ++line) {
      const auto level =
          std::find_if(levels.begin(), levels.end(), [line](const TLineRow& l) { return l.line == line; });
      const auto figure = [&](int TLineRow::*field) {
        return level == levels.end() ? QStringLiteral("-") : QString::number((*level).*field);
      };
      page.Row({QString::number(line), calls.value(line - 1), figure(&TLineRow::lowest), figure(&TLineRow::highest),
                figure(&TLineRow::last), VerdictText(VerdictFromText(s.lineVerdicts.mid(line - 1, 1)))},
               lineColumns);
    }

    page.Heading(QStringLiteral("Çağrılar"));
    const std::vector<int> callColumns{0, 40, 190, 330, 410};
    page.Row({QStringLiteral("Hat"), QStringLiteral("Numara"), QStringLiteral("Saat"), QStringLiteral("Standart"),
              QStringLiteral("Denetim")},
             callColumns, true);
    const std::vector<TCallRow> rows = store.Calls(s.id);
    constexpr int kFooterRoom = 60;
    for (size_t i = 0; i < rows.size(); ++i) {
      // One page: the calls that do not fit are counted.
      if (page.Room() < kFooterRoom + 14 && i + 1 < rows.size()) {
        page.Row({QStringLiteral("… ve %1 çağrı daha").arg(rows.size() - i)}, {0});
        break;
      }
      const TCallRow& c = rows[i];
      page.Row({QString::number(c.line), c.number, c.at, c.standard, c.check}, callColumns);
    }
    if (rows.empty()) page.Row({QStringLiteral("Çağrı yok")}, {0});

    page.Heading(QStringLiteral("Sonuç: %1").arg(s.verdict));
    page.Row({QStringLiteral("Cihaz Test %1 ile %2 tarihinde hazırlandı")
                  .arg(QStringLiteral(CIHAZ_VERSION),
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")))},
             {0});
  }
  QFile::remove(path);
  if (!QFile::rename(temporary, path)) {
    QFile::remove(temporary);
    throw ERecordError(QStringLiteral("%1 cannot be written").arg(path));
  }
}

#pragma once
// What the test record hands over: the sessions and their calls as CSV for
// a spreadsheet, and one session's one-page test report as PDF. Both raise
// ERecordError when the file cannot be written; nothing half-written stays.

#include <QStringList>
#include <vector>

#include "device/RecordStore.h"

// One CSV field: quoted when it must be (RFC 4180), and a text a
// spreadsheet would run as a formula is made to read as text.
QString CsvField(const QString& text);
// The rows as CSV in UTF-8 with a byte order mark, lines ending in CR LF.
void WriteCsv(const QString& path, const QList<QStringList>& rows);

// "kayitlar.csv" → "kayitlar-cagrilar.csv": where the calls of an export go.
QString CallsCsvPath(const QString& sessionsPath);
// One row per session, in the order given, then their calls in the second file.
void ExportSessionsCsv(const QString& path, const TRecordStore& store, const std::vector<TSessionRow>& sessions);

// "00:03:25"; "sürüyor" while the session runs.
QString DurationText(qint64 seconds);
// "GEÇTİ/KALDI/…" from a session's line verdict letters.
QString LineVerdictsText(const QString& letters);

// A one-page A4 test report of the session.
void WriteSessionReport(const QString& path, const TRecordStore& store, const TSessionRow& session);

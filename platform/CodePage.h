#pragma once
// 8-bit text in the Turkish Windows code page (Windows-1254).

#include <QByteArray>
#include <QString>

// Every character outside the code page becomes '?', one per code point.
QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);

// Wide text after a trip through the code page: what an 8-bit caption shows.
inline QString AnsiRoundTrip(const QString& text) { return FromAnsi(ToAnsi(text)); }

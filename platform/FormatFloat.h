#pragma once
// Formats a number by a pattern in the platform's notation:
//   0  a digit, always shown        #  a digit, shown when significant
//   .  the decimal separator        ,  thousands separators in the integer part
//   E+00, E-00, e+00, e-00          scientific notation with its exponent digits
//   "text" or 'text'                literal text; any other character is literal
// Up to three sections separated by ';' format positive, negative and zero
// values; a negative section supplies its own sign. Rounding is half away
// from zero on the 15 significant digits of the value.

#include <QString>

#include "platform/SysUtils.h"

QString FormatFloat(const QString& format, double value, const TFormatSettings& fs = FormatSettings);

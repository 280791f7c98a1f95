#include "grid/CellClasses.h"

#include <cmath>

#include "platform/Exceptions.h"

namespace {

template <typename T>
T& Value(TCellList& list, int row) {
  return std::get<std::vector<T>>(list.Values)[size_t(row)];
}
template <typename T>
const T& Value(const TCellList& list, int row) {
  return std::get<std::vector<T>>(list.Values)[size_t(row)];
}

QString BoolText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace

int RoundToInteger(double value) {
  const double rounded = std::nearbyint(value);  // the default mode rounds halves to even
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
    throw EConvertError(QStringLiteral("%1 is out of the integer range").arg(FloatToStr(value)));
  return int(rounded);
}

// ---- TBooleanCell ------------------------------------------------------------

bool TBooleanCell::AsBoolean(const TCellList& list, int row) const { return Value<uint8_t>(list, row) != 0; }
QString TBooleanCell::AsText(const TCellList& list, int row) const { return BoolText(AsBoolean(list, row)); }
void TBooleanCell::SetAsBoolean(TCellList& list, int row, bool value) const { Value<uint8_t>(list, row) = value; }
void TBooleanCell::SetAsDateTime(TCellList& list, int row, TDateTime) const { Value<uint8_t>(list, row) = false; }
void TBooleanCell::SetAsFloat(TCellList& list, int row, double value) const { Value<uint8_t>(list, row) = value > 0; }
void TBooleanCell::SetAsInteger(TCellList& list, int row, int value) const { Value<uint8_t>(list, row) = value > 0; }
void TBooleanCell::SetAsText(TCellList& list, int row, const QString& value) const {
  Value<uint8_t>(list, row) = value.toLower() == QLatin1String("true");
}

// ---- TRealCell and its two classes -------------------------------------------

TDateTime TRealCell::AsDateTime(const TCellList& list, int row) const { return Value<double>(list, row); }
double TRealCell::AsFloat(const TCellList& list, int row) const { return Value<double>(list, row); }
int TRealCell::AsInteger(const TCellList& list, int row) const { return RoundToInteger(Value<double>(list, row)); }
void TRealCell::SetAsDateTime(TCellList& list, int row, TDateTime value) const { Value<double>(list, row) = value; }
void TRealCell::SetAsFloat(TCellList& list, int row, double value) const { Value<double>(list, row) = value; }
void TRealCell::SetAsInteger(TCellList& list, int row, int value) const { Value<double>(list, row) = value; }

QString TDateTimeCell::AsText(const TCellList& list, int row) const { return DateTimeToStr(Value<double>(list, row)); }
void TDateTimeCell::SetAsBoolean(TCellList& list, int row, bool) const { Value<double>(list, row) = Today(); }
// "0" is the empty date the calendar's "None" gives.
void TDateTimeCell::SetAsText(TCellList& list, int row, const QString& value) const {
  Value<double>(list, row) = value == QLatin1String("0") ? 0.0 : StrToDateTime(value);
}

QString TFloatCell::AsText(const TCellList& list, int row) const { return FloatToStr(Value<double>(list, row)); }
void TFloatCell::SetAsBoolean(TCellList& list, int row, bool) const { Value<double>(list, row) = 0.0; }
void TFloatCell::SetAsText(TCellList& list, int row, const QString& value) const {
  Value<double>(list, row) = StrToFloat(value);
}

// ---- TIntegerCell ------------------------------------------------------------

double TIntegerCell::AsFloat(const TCellList& list, int row) const { return Value<int32_t>(list, row); }
int TIntegerCell::AsInteger(const TCellList& list, int row) const { return Value<int32_t>(list, row); }
QString TIntegerCell::AsText(const TCellList& list, int row) const { return IntToStr(Value<int32_t>(list, row)); }
void TIntegerCell::SetAsBoolean(TCellList& list, int row, bool) const { Value<int32_t>(list, row) = 0; }
void TIntegerCell::SetAsDateTime(TCellList& list, int row, TDateTime) const { Value<int32_t>(list, row) = 0; }
void TIntegerCell::SetAsFloat(TCellList& list, int row, double value) const {
  Value<int32_t>(list, row) = RoundToInteger(value);
}
void TIntegerCell::SetAsInteger(TCellList& list, int row, int value) const { Value<int32_t>(list, row) = value; }
void TIntegerCell::SetAsText(TCellList& list, int row, const QString& value) const {
  Value<int32_t>(list, row) = StrToInt(value);
}

// ---- TStringCell -------------------------------------------------------------

bool TStringCell::AsBoolean(const TCellList& list, int row) const {
  const QString& text = Value<QString>(list, row);
  if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
  if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
  if (const auto number = TryStrToFloat(text)) return *number != 0;
  throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
}

TDateTime TStringCell::AsDateTime(const TCellList& list, int row) const {
  return StrToDateTime(Value<QString>(list, row));
}
double TStringCell::AsFloat(const TCellList& list, int row) const { return StrToFloat(Value<QString>(list, row)); }
int TStringCell::AsInteger(const TCellList& list, int row) const { return StrToInt(Value<QString>(list, row)); }
QString TStringCell::AsText(const TCellList& list, int row) const { return Value<QString>(list, row); }
void TStringCell::SetAsBoolean(TCellList& list, int row, bool value) const {
  Value<QString>(list, row) = BoolText(value);
}
void TStringCell::SetAsDateTime(TCellList& list, int row, TDateTime value) const {
  Value<QString>(list, row) = DateTimeToStr(value);
}
void TStringCell::SetAsFloat(TCellList& list, int row, double value) const {
  Value<QString>(list, row) = FloatToStr(value);
}
void TStringCell::SetAsInteger(TCellList& list, int row, int value) const {
  Value<QString>(list, row) = IntToStr(value);
}
void TStringCell::SetAsText(TCellList& list, int row, const QString& value) const { Value<QString>(list, row) = value; }

const TCellClass& CellClassFor(TValueKind kind) {
  static const TBooleanCell booleanCell;
  static const TDateTimeCell dateTimeCell;
  static const TFloatCell floatCell;
  static const TIntegerCell integerCell;
  static const TStringCell stringCell;
  switch (kind) {
    case vkBoolean:
      return booleanCell;
    case vkDateTime:
      return dateTimeCell;
    case vkFloat:
      return floatCell;
    case vkInteger:
      return integerCell;
    default:
      return stringCell;
  }
}

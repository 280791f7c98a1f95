#pragma once
// The five cell classes: each keeps one kind of value and converts it to and
// from the other four in its own way. A class is stateless; it works on the
// value of one row of a column's cell list.

#include "grid/Cells.h"

class TCellClass {
 public:
  virtual ~TCellClass() = default;
  virtual const char* ClassName() const = 0;
  // An empty value vector of the class's kind.
  virtual TCellValues NewValues() const = 0;

  virtual bool AsBoolean(const TCellList& list, int row) const = 0;
  virtual TDateTime AsDateTime(const TCellList& list, int row) const = 0;
  virtual double AsFloat(const TCellList& list, int row) const = 0;
  virtual int AsInteger(const TCellList& list, int row) const = 0;
  virtual QString AsText(const TCellList& list, int row) const = 0;
  virtual void SetAsBoolean(TCellList& list, int row, bool value) const = 0;
  virtual void SetAsDateTime(TCellList& list, int row, TDateTime value) const = 0;
  virtual void SetAsFloat(TCellList& list, int row, double value) const = 0;
  virtual void SetAsInteger(TCellList& list, int row, int value) const = 0;
  virtual void SetAsText(TCellList& list, int row, const QString& value) const = 0;
};

class TBooleanCell : public TCellClass {
 public:
  const char* ClassName() const override { return "TBooleanCell"; }
  TCellValues NewValues() const override { return std::vector<uint8_t>(); }
  bool AsBoolean(const TCellList& list, int row) const override;
  TDateTime AsDateTime(const TCellList&, int) const override { return 0; }
  double AsFloat(const TCellList&, int) const override { return 0; }
  int AsInteger(const TCellList&, int) const override { return 0; }
  QString AsText(const TCellList& list, int row) const override;
  void SetAsBoolean(TCellList& list, int row, bool value) const override;
  void SetAsDateTime(TCellList& list, int row, TDateTime value) const override;
  void SetAsFloat(TCellList& list, int row, double value) const override;
  void SetAsInteger(TCellList& list, int row, int value) const override;
  void SetAsText(TCellList& list, int row, const QString& value) const override;
};

// Keeps a 64-bit float; the date-time and float classes differ only in how
// they read and write texts and Booleans.
class TRealCell : public TCellClass {
 public:
  TCellValues NewValues() const override { return std::vector<double>(); }
  bool AsBoolean(const TCellList&, int) const override { return false; }
  TDateTime AsDateTime(const TCellList& list, int row) const override;
  double AsFloat(const TCellList& list, int row) const override;
  int AsInteger(const TCellList& list, int row) const override;
  void SetAsDateTime(TCellList& list, int row, TDateTime value) const override;
  void SetAsFloat(TCellList& list, int row, double value) const override;
  void SetAsInteger(TCellList& list, int row, int value) const override;
};

class TDateTimeCell : public TRealCell {
 public:
  const char* ClassName() const override { return "TDateTimeCell"; }
  QString AsText(const TCellList& list, int row) const override;
  void SetAsBoolean(TCellList& list, int row, bool value) const override;
  void SetAsText(TCellList& list, int row, const QString& value) const override;
};

class TFloatCell : public TRealCell {
 public:
  const char* ClassName() const override { return "TFloatCell"; }
  QString AsText(const TCellList& list, int row) const override;
  void SetAsBoolean(TCellList& list, int row, bool value) const override;
  void SetAsText(TCellList& list, int row, const QString& value) const override;
};

class TIntegerCell : public TCellClass {
 public:
  const char* ClassName() const override { return "TIntegerCell"; }
  TCellValues NewValues() const override { return std::vector<int32_t>(); }
  bool AsBoolean(const TCellList&, int) const override { return false; }
  TDateTime AsDateTime(const TCellList&, int) const override { return 0; }
  double AsFloat(const TCellList& list, int row) const override;
  int AsInteger(const TCellList& list, int row) const override;
  QString AsText(const TCellList& list, int row) const override;
  void SetAsBoolean(TCellList& list, int row, bool value) const override;
  void SetAsDateTime(TCellList& list, int row, TDateTime value) const override;
  void SetAsFloat(TCellList& list, int row, double value) const override;
  void SetAsInteger(TCellList& list, int row, int value) const override;
  void SetAsText(TCellList& list, int row, const QString& value) const override;
};

class TStringCell : public TCellClass {
 public:
  const char* ClassName() const override { return "TStringCell"; }
  TCellValues NewValues() const override { return std::vector<QString>(); }
  bool AsBoolean(const TCellList& list, int row) const override;
  TDateTime AsDateTime(const TCellList& list, int row) const override;
  double AsFloat(const TCellList& list, int row) const override;
  int AsInteger(const TCellList& list, int row) const override;
  QString AsText(const TCellList& list, int row) const override;
  void SetAsBoolean(TCellList& list, int row, bool value) const override;
  void SetAsDateTime(TCellList& list, int row, TDateTime value) const override;
  void SetAsFloat(TCellList& list, int row, double value) const override;
  void SetAsInteger(TCellList& list, int row, int value) const override;
  void SetAsText(TCellList& list, int row, const QString& value) const override;
};

// The class whose cells a column of the given value kind holds.
const TCellClass& CellClassFor(TValueKind kind);

// Rounds to the nearest integer, halves to even; raises EConvertError when
// the value does not fit 32 bits.
int RoundToInteger(double value);

#include "grid/ColumnClasses.h"

#include <cmath>
#include <cstring>

#include "grid/CellEditors.h"
#include "grid/Displays.h"
#include "platform/FormatFloat.h"
#include "platform/SysUtils.h"

namespace {

struct KindCompanions {
  const char* column;
  TColumnCompanions companions;
};

// Which editor, display and play each column kind asks for; the units that
// define them register factories under these names.
constexpr KindCompanions kCompanions[] = {
    {"TTextualColumn", {"TTextualEditor", "TTextualColumnDisplay", ""}},
    {"TComboBoxColumn", {"TComboBoxEditor", "TTextualColumnDisplay", ""}},
    {"TNumericColumn", {"TSpinEditor", "TNumericColumnDisplay", ""}},
    {"TDateColumn", {"TDatePickerEditor", "TDateColumnDisplay", ""}},
    {"TCheckBoxColumn", {"TCheckBoxEditor", "TCheckBoxColumnDisplay", "TCheckBoxColumnPlay"}},
    {"THtmlColumn", {"", "THtmlColumnDisplay", ""}},
    {"TImageColumn", {"", "TImageColumnDisplay", ""}},
    {"TProgressColumn", {"", "TProgressColumnDisplay", ""}},
    {"TRateColumn", {"", "TRateColumnDisplay", ""}},
    {"TIncrementColumn", {"", "TIncrementColumnDisplay", ""}},
    {"TGraphicColumn", {"", "TGraphicColumnDisplay", ""}},
};

// What every kind sets after the base constructor, in this order.
void SetKindDefaults(TCustomColumn* column, const QString& defaultValue, TSortType sortType, TValueKind kind) {
  column->SetDefaultValue(defaultValue);
  column->SetSortType(sortType);
  column->SetValueKind(kind);
}

const QString kZero = QStringLiteral("0");

}  // namespace

TColumnCompanions CompanionsOf(const char* columnClass) {
  // The displays and editors must be known before the first column asks for one.
  RegisterColumnDisplays();
  RegisterCellEditors();
  for (const KindCompanions& k : kCompanions)
    if (std::strcmp(k.column, columnClass) == 0) return k.companions;
  return {};
}

// ---- TTextualColumn, TComboBoxColumn -----------------------------------------

TTextualColumn::TTextualColumn(const TColumnCompanions& companions) : TCustomColumn(companions) {
  SetKindDefaults(this, QString(), stAlphabetic, vkText);
}

void TTextualColumn::Assign(TPersistent* Source) {
  TCustomColumn::Assign(Source);
  if (auto* source = qobject_cast<TTextualColumn*>(Source)) {
    SetAutoExecute(source->AutoExecute());
    SetTextAfter(source->TextAfter());
    SetTextBefore(source->TextBefore());
  }
}

TComboBoxColumn::TComboBoxColumn() : TTextualColumn(CompanionsOf("TComboBoxColumn")) {}

void TComboBoxColumn::Assign(TPersistent* Source) {
  TTextualColumn::Assign(Source);
  if (auto* source = qobject_cast<TComboBoxColumn*>(Source)) {
    SetDropDownCount(source->DropDownCount());
    SetItems(source->Items());
    SetStyle(source->Style());
  }
}

void TComboBoxColumn::PrepareEditor() {
  auto* editor = qobject_cast<TComboBoxEditor*>(Editor());
  if (!editor) return;
  editor->SetItems(items_);
  editor->SetImages(images_);
  editor->SetShowImages(showImages_);
  editor->SetDropDownCount(dropDownCount_);
  editor->SetStyle(style_ == cbsDropDownList ? dsDropDownList : dsDropDown);
}

// ---- TNumericColumn ----------------------------------------------------------

TNumericColumn::TNumericColumn() : TCustomColumn(CompanionsOf("TNumericColumn")) {
  SetKindDefaults(this, kZero, stNumeric, vkFloat);
}

QString TNumericColumn::FormatText(const QString& text) const {
  if (formatMask_.isEmpty()) return text + textAfter_;
  return FormatFloat(formatMask_, StrToFloat(text)) + textAfter_;
}

bool TNumericColumn::AcceptsKey(QChar key) const {
  return key == QLatin1Char('+') || key == QLatin1Char('-') || (key >= QLatin1Char('0') && key <= QLatin1Char('9')) ||
         key == FormatSettings.DecimalSeparator;
}

void TNumericColumn::Assign(TPersistent* Source) {
  TCustomColumn::Assign(Source);
  if (auto* source = qobject_cast<TNumericColumn*>(Source)) {
    SetFormatMask(source->FormatMask());
    SetMax(source->Max());
    SetMin(source->Min());
    SetTextAfter(source->TextAfter());
  }
}

void TNumericColumn::PrepareEditor() {
  auto* editor = qobject_cast<TNumericEditor*>(Editor());
  if (!editor) return;
  editor->SetMin(min_);
  editor->SetMax(max_);
}

// ---- TDateColumn -------------------------------------------------------------

// New rows get the construction day's date, not the current one.
TDateColumn::TDateColumn() : TCustomColumn(CompanionsOf("TDateColumn")) {
  SetKindDefaults(this, DateTimeToStr(std::trunc(Now())), stDate, vkDateTime);
}

void TDateColumn::SetHideWhenEmpty(bool v) {
  hideWhenEmpty_ = v;
  InvalidateData();
}

bool TDateColumn::AcceptsKey(QChar key) const {
  return (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == FormatSettings.DateSeparator;
}

void TDateColumn::PrepareEditor() {
  if (auto* editor = qobject_cast<TDatePickerEditor*>(Editor())) editor->SetStyle(dsDropDown);
}

// ---- the kinds without properties of their own --------------------------------

TCheckBoxColumn::TCheckBoxColumn() : TCustomColumn(CompanionsOf("TCheckBoxColumn")) {
  SetKindDefaults(this, QString(), stNumeric, vkBoolean);
}

THtmlColumn::THtmlColumn() : TCustomColumn(CompanionsOf("THtmlColumn")) {
  SetKindDefaults(this, QString(), stAlphabetic, vkText);
}

TIncrementColumn::TIncrementColumn() : TCustomColumn(CompanionsOf("TIncrementColumn")) {
  SetKindDefaults(this, QString(), stAlphabetic, vkRowNumber);
}

// ---- TImageColumn ------------------------------------------------------------

TImageColumn::TImageColumn() : TCustomColumn(CompanionsOf("TImageColumn")) {
  SetKindDefaults(this, kZero, stNumeric, vkInteger);
}

void TImageColumn::SetMasked(bool v) {
  masked_ = v;
  InvalidateData();
}

void TImageColumn::Assign(TPersistent* Source) {
  TCustomColumn::Assign(Source);
  if (auto* source = qobject_cast<TImageColumn*>(Source)) {
    SetImages(source->Images());
    SetMasked(source->Masked());
    SetMasks(source->Masks());
  }
}

// ---- TProgressColumn ---------------------------------------------------------

TProgressColumn::TProgressColumn() : TCustomColumn(CompanionsOf("TProgressColumn")) {
  SetKindDefaults(this, kZero, stNumeric, vkFloat);
}

void TProgressColumn::SetHideWhenEmpty(bool v) {
  hideWhenEmpty_ = v;
  InvalidateData();
}

void TProgressColumn::SetProgressColor(TColor v) {
  progressColor_ = v;
  InvalidateData();
}

void TProgressColumn::SetProgressStyle(TProgressStyle v) {
  progressStyle_ = v;
  InvalidateData();
}

void TProgressColumn::Assign(TPersistent* Source) {
  TCustomColumn::Assign(Source);
  if (auto* source = qobject_cast<TProgressColumn*>(Source)) {
    SetBorderColor(source->BorderColor());
    SetMargin(source->Margin());
    SetMax(source->Max());
    SetProgressColor(source->ProgressColor());
    SetProgressStyle(source->ProgressStyle());
    SetShowText(source->ShowText());
  }
}

// ---- TRateColumn -------------------------------------------------------------

TRateColumn::TRateColumn() : TCustomColumn(CompanionsOf("TRateColumn")) {
  for (TBitmap* bitmap : {&glyph_, &glyphMask_, &emptyGlyph_, &emptyGlyphMask_}) WatchBitmap(*bitmap);
  SetKindDefaults(this, kZero, stNumeric, vkInteger);
}

void TRateColumn::WatchBitmap(TBitmap& bitmap) {
  bitmap.OnChange = [this, &bitmap](TObject*) { BitmapChanged(bitmap); };
}

// With Transparent set, a new symbol leaves out the colour of its
// bottom-left pixel.
void TRateColumn::BitmapChanged(TBitmap& bitmap) {
  if (adjusting_ || !transparent_ || bitmap.Empty()) return;
  adjusting_ = true;
  bitmap.SetTransparentColor(bitmap.Pixel(0, bitmap.Height() - 1));
  bitmap.SetTransparent(true);
  adjusting_ = false;
}

void TRateColumn::SetHideWhenEmpty(bool v) {
  hideWhenEmpty_ = v;
  InvalidateData();
}

void TRateColumn::SetMasked(bool v) {
  masked_ = v;
  InvalidateData();
}

void TRateColumn::SetMax(int v) {
  if (v == max_) return;
  max_ = v;
  InvalidateData();
}

void TRateColumn::SetTransparent(bool v) {
  transparent_ = v;
  InvalidateData();
}

void TRateColumn::Assign(TPersistent* Source) {
  TCustomColumn::Assign(Source);
  if (auto* source = qobject_cast<TRateColumn*>(Source)) {
    SetEmptyGlyph(*source->EmptyGlyph());
    SetEmptyGlyphMask(*source->EmptyGlyphMask());
    SetGlyph(*source->Glyph());
    SetGlyphMask(*source->GlyphMask());
    SetMasked(source->Masked());
    SetMax(source->Max());
    SetTransparent(source->Transparent());
  }
}

// ---- TGraphicColumn ----------------------------------------------------------

TGraphicColumn::TGraphicColumn() : TCustomColumn(CompanionsOf("TGraphicColumn")) {
  SetKindDefaults(this, QString(), stAlphabetic, vkGraphic);
}

// A changed frame or margin shows at once rather than at the next full repaint.
void TGraphicColumn::SetBorderWidth(int v) {
  borderWidth_ = v;
  InvalidateData();
}

void TGraphicColumn::SetMargin(int v) {
  margin_ = BoundedExtent(v);
  InvalidateData();
}

void TGraphicColumn::SetStrecht(bool v) {
  strecht_ = v;
  InvalidateData();
}

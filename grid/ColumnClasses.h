#pragma once
// The eleven column kinds. Each fixes its value kind (and so its cell class),
// its default sort type and default value, names its editor, display and
// play classes, and adds a few display properties of its own.

#include <QImage>
#include <QStringList>

#include "grid/Columns.h"
#include "platform/ImageList.h"

namespace ColumnKinds {
Q_NAMESPACE
enum TCompoBoxStyle : uint8_t { cbsDropDown, cbsDropDownList };
Q_ENUM_NS(TCompoBoxStyle)
enum TProgressStyle : uint8_t { psSolid, psGradient, psCylinder };
Q_ENUM_NS(TProgressStyle)
}  // namespace ColumnKinds
using ColumnKinds::TCompoBoxStyle;
using ColumnKinds::TProgressStyle;
using enum ColumnKinds::TCompoBoxStyle;
// The progress styles keep their namespace: psSolid is also a pen style.

// The editor, display and play class a column kind asks for, by kind name.
TColumnCompanions CompanionsOf(const char* columnClass);

class TTextualColumn : public TCustomColumn {
  Q_OBJECT
  Q_PROPERTY(bool AutoExecute READ AutoExecute WRITE SetAutoExecute)
  Q_PROPERTY(QString TextAfter READ TextAfter WRITE SetTextAfter)
  Q_PROPERTY(QString TextBefore READ TextBefore WRITE SetTextBefore)
 public:
  TTextualColumn() : TTextualColumn(CompanionsOf("TTextualColumn")) {}

  bool AutoExecute() const { return autoExecute_; }
  void SetAutoExecute(bool v) { autoExecute_ = v; }
  const QString& TextAfter() const { return textAfter_; }
  void SetTextAfter(const QString& v) { textAfter_ = v; }
  const QString& TextBefore() const { return textBefore_; }
  void SetTextBefore(const QString& v) { textBefore_ = v; }

  QString FormatText(const QString& text) const override { return textBefore_ + text + textAfter_; }
  // Blanks and control characters do not start editing.
  bool AcceptsKey(QChar key) const override { return key.unicode() > 32; }
  void Assign(TPersistent* Source) override;

 protected:
  explicit TTextualColumn(const TColumnCompanions& companions);

 private:
  bool autoExecute_ = false;
  QString textAfter_;
  QString textBefore_;
};

class TComboBoxColumn : public TTextualColumn {
  Q_OBJECT
  Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
  Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
  Q_PROPERTY(bool ShowImages READ ShowImages WRITE SetShowImages)
  Q_PROPERTY(ColumnKinds::TCompoBoxStyle Style READ Style WRITE SetStyle)
 public:
  TComboBoxColumn();

  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v) { dropDownCount_ = v; }
  const QStringList& Items() const { return items_; }
  void SetItems(const QStringList& v) { items_ = v; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v) { images_ = v; }
  bool ShowImages() const { return showImages_; }
  void SetShowImages(bool v) { showImages_ = v; }
  TCompoBoxStyle Style() const { return style_; }
  void SetStyle(TCompoBoxStyle v) { style_ = v; }

  void Assign(TPersistent* Source) override;
  // The choices, images, list length and list-only flag.
  void PrepareEditor() override;

 private:
  int dropDownCount_ = 8;
  QStringList items_;
  TImageList* images_ = nullptr;
  bool showImages_ = false;
  TCompoBoxStyle style_ = cbsDropDown;
};

class TNumericColumn : public TCustomColumn {
  Q_OBJECT
  Q_PROPERTY(QString FormatMask READ FormatMask WRITE SetFormatMask)
  Q_PROPERTY(int Max READ Max WRITE SetMax)
  Q_PROPERTY(int Min READ Min WRITE SetMin)
  Q_PROPERTY(QString TextAfter READ TextAfter WRITE SetTextAfter)
 public:
  TNumericColumn();

  const QString& FormatMask() const { return formatMask_; }
  void SetFormatMask(const QString& v) { formatMask_ = v; }
  int Max() const { return max_; }
  void SetMax(int v) { max_ = v; }
  int Min() const { return min_; }
  void SetMin(int v) { min_ = v; }
  const QString& TextAfter() const { return textAfter_; }
  void SetTextAfter(const QString& v) { textAfter_ = v; }

  // With a mask the text is read as a number and formatted by it.
  QString FormatText(const QString& text) const override;
  // Signs, digits and the decimal separator.
  bool AcceptsKey(QChar key) const override;
  void Assign(TPersistent* Source) override;
  // The range the editor spins in.
  void PrepareEditor() override;

 private:
  QString formatMask_;
  int max_ = 0;
  int min_ = 0;
  QString textAfter_;
};

class TDateColumn : public TCustomColumn {
  Q_OBJECT
  Q_PROPERTY(QString EmptyCaption READ EmptyCaption WRITE SetEmptyCaption)
  Q_PROPERTY(bool HideWhenEmpty READ HideWhenEmpty WRITE SetHideWhenEmpty)
 public:
  TDateColumn();

  const QString& EmptyCaption() const { return emptyCaption_; }
  void SetEmptyCaption(const QString& v) { emptyCaption_ = v; }
  bool HideWhenEmpty() const { return hideWhenEmpty_; }
  void SetHideWhenEmpty(bool v);

  // Digits and the date separator.
  bool AcceptsKey(QChar key) const override;
  // Dates are typed as well as picked.
  void PrepareEditor() override;

 private:
  QString emptyCaption_;
  bool hideWhenEmpty_ = false;
};

class TCheckBoxColumn : public TCustomColumn {
  Q_OBJECT
 public:
  TCheckBoxColumn();
};

class THtmlColumn : public TCustomColumn {
  Q_OBJECT
 public:
  THtmlColumn();

  // Mark-up put around each cell's text before it is rendered.
  const QString& MarkupBefore() const { return markupBefore_; }
  void SetMarkupBefore(const QString& v) { markupBefore_ = v; }
  const QString& MarkupAfter() const { return markupAfter_; }
  void SetMarkupAfter(const QString& v) { markupAfter_ = v; }

 private:
  QString markupBefore_;
  QString markupAfter_;
};

class TImageColumn : public TCustomColumn {
  Q_OBJECT
  Q_PROPERTY(bool Masked READ Masked WRITE SetMasked)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
 public:
  TImageColumn();

  // The cell's integer value indexes the pictures.
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v) { images_ = v; }
  TImageList* Masks() const { return masks_; }
  void SetMasks(TImageList* v) { masks_ = v; }
  bool Masked() const { return masked_; }
  void SetMasked(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }

  void Assign(TPersistent* Source) override;

 private:
  TImageList* images_ = nullptr;
  TImageList* masks_ = nullptr;
  bool masked_ = false;
  bool transparent_ = true;
};

class TProgressColumn : public TCustomColumn {
  Q_OBJECT
  Q_PROPERTY(int BorderColor READ BorderColor WRITE SetBorderColor)
  Q_PROPERTY(bool HideWhenEmpty READ HideWhenEmpty WRITE SetHideWhenEmpty)
  Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
  Q_PROPERTY(int Max READ Max WRITE SetMax)
  Q_PROPERTY(int ProgressColor READ ProgressColor WRITE SetProgressColor)
  Q_PROPERTY(ColumnKinds::TProgressStyle ProgressStyle READ ProgressStyle WRITE SetProgressStyle)
  Q_PROPERTY(bool ShowText READ ShowText WRITE SetShowText)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
 public:
  TProgressColumn();

  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v) { borderColor_ = v; }
  bool HideWhenEmpty() const { return hideWhenEmpty_; }
  void SetHideWhenEmpty(bool v);
  int Margin() const { return margin_; }
  void SetMargin(int v) { margin_ = BoundedExtent(v); }
  int Max() const { return max_; }
  void SetMax(int v) { max_ = v; }
  TColor ProgressColor() const { return progressColor_; }
  void SetProgressColor(TColor v);
  TProgressStyle ProgressStyle() const { return progressStyle_; }
  void SetProgressStyle(TProgressStyle v);
  bool ShowText() const { return showText_; }
  void SetShowText(bool v) { showText_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }

  void Assign(TPersistent* Source) override;

 private:
  TColor borderColor_ = RGB(128, 128, 128);
  bool hideWhenEmpty_ = false;
  int margin_ = 2;
  int max_ = 100;
  TColor progressColor_ = clHighlight;
  TProgressStyle progressStyle_ = ColumnKinds::psSolid;
  bool showText_ = false;
  bool transparent_ = false;
};

class TRateColumn : public TCustomColumn {
  Q_OBJECT
  Q_PROPERTY(QImage EmptyGlyph READ EmptyGlyphImage WRITE SetEmptyGlyphImage)
  Q_PROPERTY(QImage EmptyGlyphMask READ EmptyGlyphMaskImage WRITE SetEmptyGlyphMaskImage)
  Q_PROPERTY(QImage Glyph READ GlyphImage WRITE SetGlyphImage)
  Q_PROPERTY(QImage GlyphMask READ GlyphMaskImage WRITE SetGlyphMaskImage)
  Q_PROPERTY(bool HideWhenEmpty READ HideWhenEmpty WRITE SetHideWhenEmpty)
  Q_PROPERTY(bool Masked READ Masked WRITE SetMasked)
  Q_PROPERTY(int Max READ Max WRITE SetMax)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
 public:
  TRateColumn();

  TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(const TBitmap& v) { glyph_.Assign(v); }
  TBitmap* GlyphMask() { return &glyphMask_; }
  void SetGlyphMask(const TBitmap& v) { glyphMask_.Assign(v); }
  TBitmap* EmptyGlyph() { return &emptyGlyph_; }
  void SetEmptyGlyph(const TBitmap& v) { emptyGlyph_.Assign(v); }
  TBitmap* EmptyGlyphMask() { return &emptyGlyphMask_; }
  void SetEmptyGlyphMask(const TBitmap& v) { emptyGlyphMask_.Assign(v); }
  bool HideWhenEmpty() const { return hideWhenEmpty_; }
  void SetHideWhenEmpty(bool v);
  bool Masked() const { return masked_; }
  void SetMasked(bool v);
  // Number of symbols.
  int Max() const { return max_; }
  void SetMax(int v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

  void Assign(TPersistent* Source) override;

 private:
  void WatchBitmap(TBitmap& bitmap);
  void BitmapChanged(TBitmap& bitmap);
  QImage GlyphImage() const { return glyph_.Image(); }
  void SetGlyphImage(const QImage& v) { glyph_.LoadFromImage(v); }
  QImage GlyphMaskImage() const { return glyphMask_.Image(); }
  void SetGlyphMaskImage(const QImage& v) { glyphMask_.LoadFromImage(v); }
  QImage EmptyGlyphImage() const { return emptyGlyph_.Image(); }
  void SetEmptyGlyphImage(const QImage& v) { emptyGlyph_.LoadFromImage(v); }
  QImage EmptyGlyphMaskImage() const { return emptyGlyphMask_.Image(); }
  void SetEmptyGlyphMaskImage(const QImage& v) { emptyGlyphMask_.LoadFromImage(v); }

  TBitmap glyph_, glyphMask_, emptyGlyph_, emptyGlyphMask_;
  bool adjusting_ = false;
  bool hideWhenEmpty_ = false;
  bool masked_ = false;
  int max_ = 5;
  bool transparent_ = false;
};

// Shows each row's number, counted from 1.
class TIncrementColumn : public TCustomColumn {
  Q_OBJECT
 public:
  TIncrementColumn();
};

class TGraphicColumn : public TCustomColumn {
  Q_OBJECT
  Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
  Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
  Q_PROPERTY(bool Strecht READ Strecht WRITE SetStrecht)
 public:
  TGraphicColumn();

  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  bool Strecht() const { return strecht_; }
  void SetStrecht(bool v);

 private:
  int borderWidth_ = 1;
  int margin_ = 4;
  bool strecht_ = false;
};

#include "grid/Columns.h"

#include <QWidget>
#include <algorithm>
#include <limits>
#include <map>

#include "platform/Canvas.h"
#include "platform/Exceptions.h"

namespace {

template <typename Factory>
std::map<QString, Factory>& Factories() {
  static std::map<QString, Factory> factories;
  return factories;
}

template <typename Factory>
const Factory* FindFactory(const QString& name) {
  const auto& factories = Factories<Factory>();
  const auto it = factories.find(name);
  return it == factories.end() ? nullptr : &it->second;
}

// Makes a companion the first time it is asked for; a factory that asks for
// it again while making it gets none rather than recursing.
template <typename Factory, typename Slot>
void MakeOnce(bool& made, Slot& slot, const QString& className, TCustomColumn* column) {
  if (made) return;
  made = true;
  if (const Factory* factory = FindFactory<Factory>(className)) slot = (*factory)(column);
}

// Sums of widths may pass the 32-bit range; a left edge beyond it stays at
// its end.
int ClampedLeft(int64_t x) { return int(std::min<int64_t>(x, std::numeric_limits<int>::max())); }

}  // namespace

void RegisterDisplayClass(const QString& name, TDisplayFactory factory) {
  Factories<TDisplayFactory>()[name] = std::move(factory);
}
void RegisterPlayClass(const QString& name, TPlayFactory factory) {
  Factories<TPlayFactory>()[name] = std::move(factory);
}
void RegisterEditorClass(const QString& name, TEditorFactory factory) {
  Factories<TEditorFactory>()[name] = std::move(factory);
}

// ---- parts -------------------------------------------------------------------

void TColumnPart::SetCaption(const QString& v) {
  caption_ = v;
  Changed();
}

void TColumnPart::SetColor(TColor v) {
  color_ = v;
  Changed();
}

void TColumnPart::Assign(TPersistent* Source) {
  auto* part = qobject_cast<TColumnPart*>(Source);
  if (!part) return TPersistent::Assign(Source);
  SetCaption(part->Caption());
  SetColor(part->Color());
}

TColumnHeader::TColumnHeader(TCustomColumn* column) : TColumnPart(column, clBtnFace) {
  glyph_.OnChange = [this](TObject*) { GlyphChanged(); };
}

void TColumnHeader::SetDisplayMode(TDisplayMode v) {
  displayMode_ = v;
  Changed();
}

// A glyph is drawn with the colour of its bottom-left pixel left out.
void TColumnHeader::GlyphChanged() {
  if (adjustingGlyph_) return;
  adjustingGlyph_ = true;
  if (!glyph_.Empty()) {
    glyph_.SetTransparentColor(glyph_.Pixel(0, glyph_.Height() - 1));
    glyph_.SetTransparent(true);
  }
  adjustingGlyph_ = false;
  Changed();
}

void TColumnHeader::Assign(TPersistent* Source) {
  TColumnPart::Assign(Source);
  if (auto* header = qobject_cast<TColumnHeader*>(Source)) {
    SetDisplayMode(header->DisplayMode());
    SetGlyph(*header->Glyph());
  }
}

void TColumnFooter::SetFormulaKind(TFormulaKind v) {
  formulaKind_ = v;
  Changed();
}

void TColumnFooter::Assign(TPersistent* Source) {
  TColumnPart::Assign(Source);
  if (auto* footer = qobject_cast<TColumnFooter*>(Source)) SetFormulaKind(footer->FormulaKind());
}

void TSlideBounds::Assign(TPersistent* Source) {
  auto* bounds = qobject_cast<TSlideBounds*>(Source);
  if (!bounds) return TPersistent::Assign(Source);
  SetHeight(bounds->Height());
  SetLeft(bounds->Left());
  SetTop(bounds->Top());
  SetWidth(bounds->Width());
}

// ---- companions --------------------------------------------------------------

TRect TColumnDisplay::GetTextRect() const {
  return TRect(CellRect.Left + 2, CellRect.Top, CellRect.Right - 2, CellRect.Bottom);
}

namespace {

uint32_t HorizontalFlags(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return DT_RIGHT;
    case taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

uint32_t VerticalFlags(TVerticalAlignment alignment) {
  switch (alignment) {
    case vaMiddle:
      return DT_VCENTER;
    case vaBottom:
      return DT_BOTTOM;
    default:
      return DT_TOP;
  }
}

uint32_t WrapFlags(TWrapKind wrap) {
  switch (wrap) {
    case wkEllipsis:
      return DT_SINGLELINE | DT_END_ELLIPSIS;
    case wkWordWrap:
      return DT_WORDBREAK;
    default:
      return DT_SINGLELINE;
  }
}

}  // namespace

// The platform centres or bottom-aligns single lines only, so wrapped text
// starts at the top whatever the vertical alignment says.
void TColumnDisplay::DrawCellText(const QString& Text, const TRect& R) {
  if (!Canvas) return;
  const TCustomColumn* column = Column();
  uint32_t flags = DT_NOPREFIX | HorizontalFlags(column->Alignment()) | VerticalFlags(column->VerticalAlignment()) |
                   WrapFlags(column->WrapKind());
  if (RightToLeft) flags |= DT_RTLREADING;
  TRect box = R;
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->DrawText(Text, box, flags);
  Canvas->Brush()->SetStyle(bsSolid);
}

void TColumnDisplay::DrawHintMark() {
  if (!Canvas) return;
  Canvas->Pen()->SetColor(clRed);
  Canvas->Brush()->SetColor(clRed);
  const TRect& r = CellRect;
  Canvas->Polygon({TPoint(r.Right - 5, r.Top), TPoint(r.Right - 1, r.Top), TPoint(r.Right - 1, r.Top + 4)});
}

void TColumnDisplay::FillBackground(TColor Color, bool Fill) {
  if (!Canvas) return;
  Canvas->Brush()->SetColor(Color);
  if (Fill)
    Canvas->FillRect(CellRect);
  else
    Canvas->FrameRect(CellRect);
}

void TColumnPlay::Start() {
  if (const TColumnDisplay* display = Column()->Display()) BooleanValue = display->BooleanValue;
}

// ---- the column --------------------------------------------------------------

TCustomColumn::TCustomColumn(const TColumnCompanions& companions) : companions_(companions) {
  cursor_ = crDefault;
  alignment_ = taLeftJustify;
  font_ = std::make_unique<TFont>();
  footer_ = std::make_unique<TColumnFooter>(this);
  header_ = std::make_unique<TColumnHeader>(this);
  slideBounds_ = std::make_unique<TSlideBounds>(this);
  footer_->OnChange = [this](TObject* sender) { PartChanged(sender); };
  header_->OnChange = [this](TObject* sender) { PartChanged(sender); };
  SetValueKind(vkText);
}

TColumnDisplay* TCustomColumn::Display() const {
  MakeOnce<TDisplayFactory>(displayMade_, display_, DisplayClass(), const_cast<TCustomColumn*>(this));
  return display_.get();
}

TColumnPlay* TCustomColumn::Play() const {
  MakeOnce<TPlayFactory>(playMade_, play_, PlayClass(), const_cast<TCustomColumn*>(this));
  return play_.get();
}

// Hidden until the grid shows it.
QWidget* TCustomColumn::Editor() const {
  if (!editorMade_) {
    MakeOnce<TEditorFactory>(editorMade_, editor_, EditorClass(), const_cast<TCustomColumn*>(this));
    if (editor_) editor_->hide();
  }
  return editor_;
}

TCustomColumn::~TCustomColumn() {
  delete editor_;
  font_.reset();
  footer_.reset();
  header_.reset();
  slideBounds_.reset();
  display_.reset();
  play_.reset();
}

IColumnGrid* TCustomColumn::Grid() const { return collection_ ? collection_->Control() : nullptr; }

void TCustomColumn::Changed(TColumnChangeKind kind) {
  if (collection_ && collection_->ColumnsChanged) collection_->ColumnsChanged(collection_, this, kind);
}

void TCustomColumn::InvalidateData() {
  if (Grid()) Grid()->InvalidateColumnPart(this, gaData);
}

void TCustomColumn::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed(ckAppearance);
}

void TCustomColumn::SetColor(TColor v) {
  color_ = v;
  Changed(ckAppearance);
}

void TCustomColumn::SetCursor(TCursor v) {
  cursor_ = v;
  Changed(ckAppearance);
}

void TCustomColumn::SetDrawingOptions(TDrawingOptions v) {
  drawingOptions_ = v;
  Changed(ckAppearance);
}

void TCustomColumn::SetFont(TFont* v) {
  font_->Assign(v);
  Changed(ckAppearance);
}

void TCustomColumn::SetFooter(TColumnFooter* v) {
  footer_->Assign(v);
  Changed(ckAppearance);
}

void TCustomColumn::SetFormulaKind(TFormulaKind v) {
  formulaKind_ = v;
  Changed(ckAppearance);
}

void TCustomColumn::SetHeader(TColumnHeader* v) {
  header_->Assign(v);
  Changed(ckAppearance);
}

void TCustomColumn::SetInputCaption(const QString& v) {
  inputCaption_ = v;
  Changed(ckAppearance);
}

void TCustomColumn::SetInputText(const QString& v) {
  inputText_ = v;
  Changed(ckInputText);
}

void TCustomColumn::SetAuxiliaryText(const QString& v) {
  auxiliaryText_ = v;
  Changed(ckAuxiliary);
}

void TCustomColumn::SetOptions(TColumnOptions v) {
  // Only one column is searched by typing.
  if (collection_ && v.testFlag(coSearchColumn) && !options_.testFlag(coSearchColumn)) {
    for (int i = 0; i < collection_->Count(); ++i) {
      TCustomColumn* other = collection_->Items(i);
      if (other != this && other->Options().testFlag(coSearchColumn))
        other->SetOptions(other->Options() & ~TColumnOptions(coSearchColumn));
    }
  }
  options_ = v;
  Changed(ckAppearance);
}

void TCustomColumn::SetPosition(int v) {
  if (collection_ && !collection_->IsReading()) {
    // Moves from where the column really is: a column added without a
    // position still sits at a valid place.
    collection_->Move(collection_->DisplayIndexOf(this), v);
    Changed(ckPosition);
  }
  position_ = v;
}

void TCustomColumn::SetSlideBounds(TSlideBounds* v) {
  slideBounds_->Assign(v);
  Changed(ckAppearance);
}

void TCustomColumn::SetSortKind(TSortKind v) {
  sortKind_ = v;
  Changed(ckSort);
}

void TCustomColumn::SetSortType(TSortType v) {
  sortType_ = v;
  Changed(ckSort);
}

void TCustomColumn::SetVerticalAlignment(TVerticalAlignment v) {
  verticalAlignment_ = v;
  Changed(ckAppearance);
}

void TCustomColumn::SetVisible(bool v) {
  visible_ = v;
  if (collection_) collection_->Layout(false);
  Changed(ckVisible);
}

void TCustomColumn::SetWidth(int v) {
  StoreWidth(v);
  if (!collection_) return;
  if (!collection_->IsReading()) collection_->Layout(false);
  WidthChanged();
}

void TCustomColumn::StoreWidth(int v) { width_ = std::clamp(v, kMinColumnWidth, kMaxColumnWidth); }

void TCustomColumn::WidthChanged() {
  Changed(ckWidth);
  if (Grid() && Grid()->IsDesigning()) defaultWidth_ = width_;
}

void TCustomColumn::SetSorted(bool v) {
  // The grid has one sort column; the others lose the mark silently.
  if (v && v != sorted_ && collection_)
    for (int i = 0; i < collection_->Count(); ++i) collection_->Items(i)->sorted_ = false;
  sorted_ = v;
  Changed(ckSort);
}

bool TCustomColumn::IsCurrent() const { return Grid() && index_ >= 0 && index_ == Grid()->CurrentColumn(); }
bool TCustomColumn::IsPressed() const { return Grid() && Grid()->PressedHeaderColumn() == this; }
bool TCustomColumn::IsHot() const { return Grid() && Grid()->HotHeaderColumn() == this; }
bool TCustomColumn::IsOnlyVisible() const { return collection_ && collection_->VisibleCount() == 1; }

int TCustomColumn::Place() const {
  const int visible = collection_ ? collection_->VisibleCount() : 0;
  if (visible == 1) return 0;
  if (visibleIndex_ == 0) return 1;
  if (visibleIndex_ + 1 == visible) return 3;
  return 2;
}

int TCustomColumn::ScreenLeft() const { return left_ - (Grid() ? Grid()->HorzPosition() : 0); }

TRect TCustomColumn::PartRect(TGridArea area) const {
  if (!Grid() || (area != gaHeader && area != gaFooter && area != gaInput)) return TRect();
  const TRect r = Grid()->AreaRect(area);
  const int left = ScreenLeft();
  switch (area) {
    case gaHeader:
      return TRect(left, r.Top, left + width_, r.Bottom);
    case gaFooter:
      return TRect(left, r.Top + 4, left + width_, r.Bottom);
    default:
      return TRect(left, r.Top, left + width_, r.Bottom - 6);
  }
}

void TCustomColumn::Assign(TPersistent* Source) {
  auto* source = qobject_cast<TCustomColumn*>(Source);
  if (!source) return TPersistent::Assign(Source);
  SetAlignment(source->Alignment());
  SetColor(source->Color());
  SetCursor(source->Cursor());
  SetDefaultValue(source->DefaultValue());
  SetDrawingOptions(source->DrawingOptions());
  SetAuxiliaryText(source->AuxiliaryText());
  SetFont(source->Font());
  SetFooter(source->Footer());
  SetHeader(source->Header());
  SetInputCaption(source->InputCaption());
  SetInputText(source->InputText());
  SetOptions(source->Options());
  SetPosition(source->Position());
  SetSlideBounds(source->SlideBounds());
  SetSorted(source->Sorted());
  SetSortKind(source->SortKind());
  SetVerticalAlignment(source->VerticalAlignment());
  SetVisible(source->Visible());
  SetWidth(source->Width());
  SetWrapKind(source->WrapKind());
}

// ---- the collection ----------------------------------------------------------

TColumns::TColumns(IColumnGrid* control) : control_(control) {
  if (control_) control_->SetIndicatorChangeReceiver([this] { Layout(false); });
}

TColumns::~TColumns() { FreeColumns(); }

// In index order; a column being freed tells nobody.
void TColumns::FreeColumns() {
  display_.clear();
  visibleCount_ = 0;
  totalWidth_ = 0;
  std::vector<std::unique_ptr<TCustomColumn>> doomed;
  doomed.swap(items_);
  for (auto& column : doomed) {
    column->collection_ = nullptr;
    column.reset();
  }
}

TCustomColumn* TColumns::Items(int i) const {
  if (i < 0 || i >= Count()) ListIndexError(i);
  return items_[size_t(i)].get();
}

TCustomColumn* TColumns::DisplayItems(int i) const {
  if (i < 0 || i >= int(display_.size())) ListIndexError(i);
  return display_[size_t(i)];
}

int TColumns::DisplayIndexOf(const TCustomColumn* column) const {
  const auto it = std::find(display_.begin(), display_.end(), column);
  return it == display_.end() ? -1 : int(it - display_.begin());
}

bool TColumns::IsReading() const { return reading_ || (control_ && control_->IsReading()); }

void TColumns::Add(TCustomColumn* column) {
  Q_ASSERT(column && column->index_ < 0);
  column->collection_ = this;
  column->index_ = Count();
  items_.emplace_back(column);
  InsertByPosition(column);
  Layout(false);
  NotifyList(lkAppended, -1, -1);
}

// Before the first column with a greater Position: distinct positions end up
// ordered, equal ones keep their reading order.
void TColumns::InsertByPosition(TCustomColumn* column) {
  const auto it = std::find_if(display_.begin(), display_.end(),
                               [column](const TCustomColumn* c) { return c->Position() > column->Position(); });
  display_.insert(it, column);
}

void TColumns::Clear() {
  FreeColumns();
  NotifyList(lkCleared, -1, -1);
}

void TColumns::Move(int from, int to) {
  if (from < 0 || from >= Count()) ListIndexError(from);
  if (to < 0 || to >= Count()) ListIndexError(to);
  if (from == to) return;
  TCustomColumn* column = display_[size_t(from)];
  display_.erase(display_.begin() + from);
  display_.insert(display_.begin() + to, column);
  Layout(true);
  display_[size_t(to)]->Changed(ckPosition);
}

void TColumns::Layout(bool renumber) {
  const int64_t left = control_ ? control_->DataLeft() : 0;
  int64_t x = left;
  int n = 0;
  for (int p = 0; p < int(display_.size()); ++p) {
    TCustomColumn* c = display_[size_t(p)];
    if (c->Visible()) {
      c->left_ = ClampedLeft(x);
      c->visibleIndex_ = n++;
      x += c->Width();
    } else {
      c->visibleIndex_ = -1;
    }
    if (renumber) c->position_ = p;
  }
  visibleCount_ = n;
  totalWidth_ = x - left;
  layoutVisits_ += int64_t(display_.size());
}

// Every width is stored first and the columns laid out once; the width
// notices follow, so their receiver sees the finished layout.
void TColumns::AutoSizeColumns(int clientWidth) {
  auto sizes = [](const TCustomColumn* c) {
    return c->Visible() && c->Options().testFlag(coAutoSize) && !c->Options().testFlag(coFixedSize);
  };
  int64_t fixed = 0, total = 0;
  for (const auto& c : items_) {
    if (!c->Visible()) continue;
    total += c->Width();
    if (!sizes(c.get())) fixed += c->Width();
  }
  int64_t room = int64_t(clientWidth) - (control_ ? control_->DataLeft() : 0) - fixed;
  int64_t share = total - fixed;
  if (share < 0) share = 1;
  std::vector<TCustomColumn*> sized;
  for (const auto& c : items_) {
    // The shares used up: nothing is left to divide by.
    if (!sizes(c.get()) || share <= 0) continue;
    const int64_t old = c->Width();
    const int64_t product = old * room;
    int64_t width = product / share;
    if (product % share > share / 2) ++width;
    c->StoreWidth(int(std::clamp<int64_t>(width, kMinColumnWidth, kMaxColumnWidth)));
    sized.push_back(c.get());
    room -= width;
    share -= old;
  }
  Layout(false);
  for (TCustomColumn* c : sized) c->WidthChanged();
}

void TColumns::NotifyList(int kind, int index1, int index2) {
  if (ColumnListChanged) ColumnListChanged(this, kind, index1, index2);
  if (ColumnListNotice) ColumnListNotice(this, kind, index1, index2);
}

std::vector<TFormObject> TColumns::StoredForms() const {
  std::vector<TFormObject> forms;
  for (const auto& c : items_) forms.push_back(ObjectToForm(c.get()));
  return forms;
}

void TColumns::ReadStoredForms(const std::vector<TFormObject>& forms) {
  // A trial read into loose columns finds every error before the collection,
  // and the cells that follow it, are touched.
  ReadColumns(forms, false);
  reading_ = true;
  try {
    Clear();
    ReadColumns(forms, true);
  } catch (...) {
    reading_ = false;
    throw;
  }
  reading_ = false;
}

void TColumns::ReadColumns(const std::vector<TFormObject>& forms, bool attach) {
  for (const TFormObject& form : forms) {
    std::unique_ptr<QObject> object = CreateRegistered(form.ClassName, form.Line);
    auto* column = qobject_cast<TCustomColumn*>(object.get());
    if (!column)
      throw EReadError(QStringLiteral("Line %1: %2 is not a column class").arg(form.Line).arg(form.ClassName));
    if (attach) column->collection_ = this;
    ApplyProperties(ResolveProperties(column, form));
    if (!form.Children.empty())
      throw EReadError(QStringLiteral("Line %1: a column keeps no child objects").arg(form.Children.front().Line));
    if (!attach) continue;
    object.release();
    Add(column);
  }
}

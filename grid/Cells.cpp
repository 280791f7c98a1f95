#include "grid/Cells.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>

#include "grid/CellClasses.h"
#include "platform/Exceptions.h"

// ---- TCell -------------------------------------------------------------------

// A handle kept across row or column changes may point past the store;
// it then fails like any bad index instead of reading freed memory.
TCellList& TCell::List() const {
  if (col_ < 0 || col_ >= store_->ColCount()) ListIndexError(col_);
  if (row_ < 0 || row_ >= store_->RowCount()) ListIndexError(row_);
  return store_->List(col_);
}
const TCellClass& TCell::CellClass() const { return *List().Class; }

void TCell::Changed() const { store_->CellChanged(col_, row_); }

TColor TCell::GetColor() const { return store_->Grid() ? store_->Grid()->GetCellBackColor(col_, row_) : Color(); }
TColor TCell::GetTextColor() const {
  return store_->Grid() ? store_->Grid()->GetCellTextColor(col_, row_) : clWindowText;
}

bool TCell::AsBoolean() const { return CellClass().AsBoolean(List(), row_); }
TDateTime TCell::AsDateTime() const { return CellClass().AsDateTime(List(), row_); }
double TCell::AsFloat() const { return CellClass().AsFloat(List(), row_); }
int TCell::AsInteger() const { return CellClass().AsInteger(List(), row_); }
QString TCell::AsText() const { return CellClass().AsText(List(), row_); }

void TCell::SetAsBoolean(bool value) {
  CellClass().SetAsBoolean(List(), row_, value);
  Changed();
}

void TCell::SetAsDateTime(TDateTime value) {
  CellClass().SetAsDateTime(List(), row_, value);
  Changed();
}

void TCell::SetAsFloat(double value) {
  CellClass().SetAsFloat(List(), row_, value);
  Changed();
}

void TCell::SetAsInteger(int value) {
  CellClass().SetAsInteger(List(), row_, value);
  Changed();
}

void TCell::SetAsText(const QString& value) {
  CellClass().SetAsText(List(), row_, value);
  Changed();
}

TColor TCell::Color() const { return List().Colors[size_t(row_)]; }

void TCell::SetColor(TColor value) {
  List().Colors[size_t(row_)] = value;
  Changed();
}

const TCellExtra* TCell::FindExtra() const {
  const TCellList& list = List();
  return list.Extras.empty() ? nullptr : list.Extras[size_t(row_)].get();
}

TCellExtra& TCell::Extra() const {
  TCellList& list = List();
  if (list.Extras.empty()) list.Extras.resize(size_t(store_->RowCount()));
  auto& extra = list.Extras[size_t(row_)];
  if (!extra) extra = std::make_unique<TCellExtra>();
  return *extra;
}

QByteArray TCell::Hint() const {
  const TCellExtra* extra = FindExtra();
  return extra ? extra->Hint : QByteArray();
}

void TCell::SetHint(const QByteArray& value) { Extra().Hint = value; }

TObject* TCell::Object() const {
  const TCellExtra* extra = FindExtra();
  return extra ? extra->Object : nullptr;
}

void TCell::SetObject(TObject* value) { Extra().Object = value; }

// ---- row operations on every vector of a list --------------------------------

namespace {

template <typename F>
void ForEachVector(TCellList& list, F&& f) {
  std::visit(f, list.Values);
  f(list.Colors);
  if (!list.Extras.empty()) f(list.Extras);
}

template <typename T>
void MoveElement(std::vector<T>& v, int from, int to) {
  if (from < to)
    std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
  else
    std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

}  // namespace

// ---- TCells ------------------------------------------------------------------

TCells::TCells(ICellGrid* grid, TColumns* columns) : grid_(grid), columns_(columns) {
  if (columns_)
    for (int c = 0; c < columns_->Count(); ++c) lists_.push_back(NewList(columns_->Items(c)));
}

TCells::~TCells() = default;

TCellList TCells::NewList(const TCustomColumn* column) const {
  TCellList list;
  list.Class = &CellClassFor(column->ValueKind());
  list.Values = list.Class->NewValues();
  return list;
}

TColor TCells::ColumnColor(int col) const {
  return columns_ && col < columns_->Count() ? columns_->Items(col)->Color() : clBlack;
}

void TCells::CheckRow(int row, int limit) const {
  if (row < 0 || row > limit) ListIndexError(row);
}

TCell TCells::Cell(int col, int row) {
  if (col < 0 || col >= ColCount()) ListIndexError(col);
  CheckRow(row, rowCount_ - 1);
  return TCell(this, col, row);
}

// New cells take their column's colour silently.
void TCells::AppendCells(TCellList& list, int count, TColor color) {
  const size_t size = size_t(rowCount_) + size_t(count);
  std::visit([size](auto& v) { v.resize(size); }, list.Values);
  list.Colors.resize(size, color);
  if (!list.Extras.empty()) list.Extras.resize(size);
}

void TCells::InsertCells(TCellList& list, int row, TColor color) {
  std::visit([row](auto& v) { v.emplace(v.begin() + row); }, list.Values);
  list.Colors.insert(list.Colors.begin() + row, color);
  if (!list.Extras.empty()) list.Extras.emplace(list.Extras.begin() + row);
}

void TCells::AddRows(int count) {
  if (count > 0) {
    for (int c = 0; c < ColCount(); ++c) AppendCells(lists_[size_t(c)], count, ColumnColor(c));
    rowCount_ += count;
  }
  sortValid_ = false;
  Q_ASSERT(IsConsistent());
}

void TCells::InsertRow(int row) {
  CheckRow(row, rowCount_);
  for (int c = 0; c < ColCount(); ++c) InsertCells(lists_[size_t(c)], row, ColumnColor(c));
  ++rowCount_;
  sortValid_ = false;
  Q_ASSERT(IsConsistent());
}

void TCells::DeleteRow(int row) {
  CheckRow(row, rowCount_ - 1);
  for (TCellList& list : lists_) ForEachVector(list, [row](auto& v) { v.erase(v.begin() + row); });
  --rowCount_;
  Q_ASSERT(IsConsistent());
}

namespace {

// Closes each gap left by a deleted row with one block move.
template <typename T>
void EraseRows(std::vector<T>& v, const std::vector<int>& rows) {
  auto out = v.begin() + rows.front();
  for (size_t k = 0; k < rows.size(); ++k) {
    const auto keptFrom = v.begin() + rows[k] + 1;
    const auto keptTo = k + 1 < rows.size() ? v.begin() + rows[k + 1] : v.end();
    out = std::move(keptFrom, keptTo, out);
  }
  v.erase(out, v.end());
}

}  // namespace

void TCells::DeleteRows(const std::vector<int>& rows) {
  if (rows.empty()) return;
  for (size_t k = 0; k < rows.size(); ++k) {
    CheckRow(rows[k], rowCount_ - 1);
    if (k > 0 && rows[k] <= rows[k - 1]) ListIndexError(rows[k]);
  }
  for (TCellList& list : lists_) ForEachVector(list, [&rows](auto& v) { EraseRows(v, rows); });
  rowCount_ -= int(rows.size());
  Q_ASSERT(IsConsistent());
}

void TCells::MoveRow(int from, int to) {
  CheckRow(from, rowCount_ - 1);
  CheckRow(to, rowCount_ - 1);
  // The moves reach row `to` in every vector.
  Q_ASSERT(IsConsistent());
  if (from != to)
    for (TCellList& list : lists_) ForEachVector(list, [from, to](auto& v) { MoveElement(v, from, to); });
  sortValid_ = false;
}

void TCells::ClearRows() {
  for (TCellList& list : lists_) {
    ForEachVector(list, [](auto& v) {
      v.clear();
      v.shrink_to_fit();
    });
    list.Extras.clear();
  }
  rowCount_ = 0;
  sortValid_ = false;
  Q_ASSERT(IsConsistent());
}

void TCells::ColumnListChanged(TObject*, int Kind, int, int) {
  if (Kind == lkAppended && columns_ && columns_->Count() > ColCount()) {
    const TCustomColumn* column = columns_->Items(columns_->Count() - 1);
    lists_.push_back(NewList(column));
    AppendCells(lists_.back(), rowCount_, column->Color());
  } else if (Kind == lkCleared) {
    lists_.clear();
    rowCount_ = 0;
  }
}

bool TCells::IsConsistent() const {
  const size_t rows = size_t(rowCount_);
  for (const TCellList& list : lists_) {
    const size_t values = std::visit([](const auto& v) { return v.size(); }, list.Values);
    if (values != rows || list.Colors.size() != rows || (!list.Extras.empty() && list.Extras.size() != rows))
      return false;
  }
  return true;
}

void TCells::CellChanged(int col, int row) {
  if (OnCellChanged) OnCellChanged(this, col, row);
  sortValid_ = false;
}

// ---- sorting -----------------------------------------------------------------

void TCells::Sort(int col, TSortType sortType, bool descending) {
  if (col < 0 || col >= ColCount()) ListIndexError(col);
  if (!sortValid_ || sortColumn_ != col)
    FullSort(col, sortType, descending);
  else if (sortDescending_ != descending)
    ReverseRows();
  sortColumn_ = col;
  sortDescending_ = descending;
  sortValid_ = true;
}

namespace {

using IpParts = std::array<uint32_t, 4>;

// Four parts of up to 31 bits, two to a word, the first part weighing most.
struct WideIpKey {
  uint64_t high, low;
};

// The digits of a number part, for the conversion error it raises.
QString DigitsOf(QStringView part) {
  QString digits;
  for (QChar c : part)
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
  return digits;
}

// Four numbers separated by full stops, the first one weighing most, so that
// 9.1.1.1 sorts before 10.0.0.0. Numbers beyond the fourth are ignored.
IpParts ParseIp(QStringView text) {
  constexpr int64_t kTooBig = int64_t(1) << 31;
  IpParts parts{};
  int places = 0, digits = 0, start = 0;
  int64_t value = 0;
  for (int i = 0; i < text.size() && places < 4; ++i) {
    const char16_t c = text[i].unicode();
    if (c >= u'0' && c <= u'9') {
      value = std::min(value * 10 + (c - u'0'), kTooBig);
      ++digits;
    }
    if (c == u'.' || i + 1 == text.size()) {
      // An empty or oversized part raises the integer conversion's own error.
      if (digits == 0 || value >= kTooBig) StrToInt(DigitsOf(text.mid(start, i + 1 - start)));
      parts[size_t(places++)] = uint32_t(value);
      value = digits = 0;
      start = i + 1;
    }
  }
  return parts;
}

// The four parts as one number, the first part weighing most.
uint64_t PackIp(const IpParts& parts) {
  uint64_t key = 0;
  for (uint32_t part : parts) key = key << 16 | part;
  return key;
}

WideIpKey PackWideIp(const IpParts& parts) {
  return {uint64_t(parts[0]) << 32 | parts[1], uint64_t(parts[2]) << 32 | parts[3]};
}

// Most addresses have parts below 65536 and pack into one 64-bit word, which
// sorts faster than the two any four integers need.
bool FitsSixteenBits(const std::vector<IpParts>& keys) {
  for (const IpParts& parts : keys)
    for (uint32_t part : parts)
      if (part > 0xFFFF) return false;
  return true;
}

// Three-way comparisons; a NaN sorts below every number, so that the
// partition's scans always find their stop.
int Compare(double a, double b) {
  if (a < b) return -1;
  if (b < a) return 1;
  const bool nanA = std::isnan(a), nanB = std::isnan(b);
  return nanA == nanB ? 0 : (nanA ? -1 : 1);
}
int Compare(int a, int b) { return (a > b) - (a < b); }
int Compare(uint64_t a, uint64_t b) { return (a > b) - (a < b); }
int Compare(const WideIpKey& a, const WideIpKey& b) {
  const int high = Compare(a.high, b.high);
  return high != 0 ? high : Compare(a.low, b.low);
}
int Compare(const QString* a, const QString* b) { return a->compare(*b, Qt::CaseSensitive); }

template <typename Key>
struct Keyed {
  Key key;
  int row;
};

// Short ranges are finished by insertion, which beats partitioning them.
constexpr int kInsertionRange = 16;

template <typename Key, typename Before>
void InsertionSort(std::vector<Keyed<Key>>& a, int lo, int hi, Before before) {
  for (int i = lo + 1; i <= hi; ++i) {
    Keyed<Key> item = std::move(a[size_t(i)]);
    int j = i - 1;
    for (; j >= lo && before(item.key, a[size_t(j)].key); --j) a[size_t(j + 1)] = std::move(a[size_t(j)]);
    a[size_t(j + 1)] = std::move(item);
  }
}

// Quicksort with a random pivot taken from lo + 1 .. hi and a Hoare
// partition; the larger part is looped over so the depth stays logarithmic.
// Before(a, b): a is ordered strictly before b in the sort's direction.
template <typename Key, typename Before>
void QuickSort(std::vector<Keyed<Key>>& a, int lo, int hi, Before before, std::minstd_rand& random) {
  while (hi - lo >= kInsertionRange) {
    const uint32_t offset = uint32_t((uint64_t(random()) * uint64_t(hi - lo)) >> 31);
    const Key pivot = a[size_t(lo + 1) + offset].key;
    int i = lo - 1, j = hi + 1;
    for (;;) {
      do ++i;
      while (before(a[size_t(i)].key, pivot));
      do --j;
      while (before(pivot, a[size_t(j)].key));
      if (i >= j) break;
      std::swap(a[size_t(i)], a[size_t(j)]);
    }
    const int m = i;
    if (m - lo < hi - m + 1) {
      QuickSort(a, lo, m - 1, before, random);
      lo = m;
    } else {
      QuickSort(a, m, hi, before, random);
      hi = m - 1;
    }
  }
  InsertionSort(a, lo, hi, before);
}

template <typename Key, typename KeyOf>
std::vector<int> SortedOrder(int rows, KeyOf keyOf, bool descending, std::minstd_rand& random) {
  std::vector<Keyed<Key>> keyed;
  keyed.reserve(size_t(rows));
  for (int r = 0; r < rows; ++r) keyed.push_back({keyOf(r), r});
  if (descending)
    QuickSort(
        keyed, 0, rows - 1, [](const Key& a, const Key& b) { return Compare(b, a) < 0; }, random);
  else
    QuickSort(
        keyed, 0, rows - 1, [](const Key& a, const Key& b) { return Compare(a, b) < 0; }, random);
  std::vector<int> order;
  order.reserve(size_t(rows));
  for (const auto& k : keyed) order.push_back(k.row);
  return order;
}

// After sorting, a row's text lies anywhere in memory; asking for it a few
// rows early hides most of the wait.
constexpr int kPrefetchAhead = 16;
inline void Prefetch(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

// A text column's own texts, read in place; any other column's converted.
const std::vector<QString>& TextsOf(const TCellList& list, int rows, std::vector<QString>& converted) {
  if (const auto* texts = std::get_if<std::vector<QString>>(&list.Values)) return *texts;
  converted.reserve(size_t(rows));
  for (int r = 0; r < rows; ++r) converted.push_back(list.Class->AsText(list, r));
  return converted;
}

// Each row once: a reordering neither loses nor doubles a row.
bool IsPermutation(const std::vector<int>& order, int rows) {
  if (order.size() != size_t(rows)) return false;
  std::vector<bool> seen(order.size());
  for (int r : order) {
    if (r < 0 || r >= rows || seen[size_t(r)]) return false;
    seen[size_t(r)] = true;
  }
  return true;
}

}  // namespace

// Every key is read before any row moves, so a conversion error leaves the
// rows as they were.
void TCells::FullSort(int col, TSortType sortType, bool descending) {
  const TCellList& list = lists_[size_t(col)];
  const TCellClass& cls = *list.Class;
  std::vector<QString> converted;
  std::vector<int> order;
  switch (sortType) {
    case stAlphabetic: {
      const std::vector<QString>& texts = TextsOf(list, rowCount_, converted);
      order = SortedOrder<const QString*>(
          rowCount_, [&texts](int r) { return &texts[size_t(r)]; }, descending, random_);
      break;
    }
    case stNumeric:
      // A Boolean cell reads as the number 0 whatever it holds; as a number
      // it sorts by its truth, or a check box column could never be sorted.
      if (!dynamic_cast<const TBooleanCell*>(&cls)) {
        order = SortedOrder<double>(
            rowCount_, [&](int r) { return cls.AsFloat(list, r); }, descending, random_);
        break;
      }
      [[fallthrough]];
    case stBoolean:
      order = SortedOrder<int>(
          rowCount_, [&](int r) { return int(cls.AsBoolean(list, r)); }, descending, random_);
      break;
    case stDate:
      order = SortedOrder<double>(
          rowCount_, [&](int r) { return cls.AsDateTime(list, r); }, descending, random_);
      break;
    case stIP: {
      const std::vector<QString>& texts = TextsOf(list, rowCount_, converted);
      std::vector<IpParts> keys;
      keys.reserve(size_t(rowCount_));
      for (int r = 0; r < rowCount_; ++r) {
        if (r + kPrefetchAhead < rowCount_) Prefetch(texts[size_t(r + kPrefetchAhead)].constData());
        keys.push_back(ParseIp(texts[size_t(r)]));
      }
      if (FitsSixteenBits(keys))
        order = SortedOrder<uint64_t>(
            rowCount_, [&keys](int r) { return PackIp(keys[size_t(r)]); }, descending, random_);
      else
        order = SortedOrder<WideIpKey>(
            rowCount_, [&keys](int r) { return PackWideIp(keys[size_t(r)]); }, descending, random_);
      break;
    }
  }
  Reorder(order);
}

// Row k takes what row order[k] held.
void TCells::Reorder(const std::vector<int>& order) {
  Q_ASSERT(IsPermutation(order, rowCount_));
  Q_ASSERT(IsConsistent());
  // The reads jump all over each column; asking for a value a few rows
  // early keeps the moves from waiting on memory.
  // A column of one colour, or of one number, is the same in any order: a
  // look along it costs far less than the jumps.
  const size_t rows = order.size();
  for (TCellList& list : lists_)
    ForEachVector(list, [&order, rows](auto& v) {
      using Vector = std::remove_reference_t<decltype(v)>;
      if constexpr (std::is_arithmetic_v<typename Vector::value_type>)
        if (std::adjacent_find(v.begin(), v.end(), std::not_equal_to<>()) == v.end()) return;
      Vector next;
      next.reserve(v.size());
      for (size_t k = 0; k < rows; ++k) {
        if (k + kPrefetchAhead < rows) Prefetch(&v[size_t(order[k + kPrefetchAhead])]);
        next.push_back(std::move(v[size_t(order[k])]));
      }
      v.swap(next);
    });
}

void TCells::ReverseRows() {
  for (TCellList& list : lists_) ForEachVector(list, [](auto& v) { std::reverse(v.begin(), v.end()); });
}

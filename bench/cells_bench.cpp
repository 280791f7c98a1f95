// The cell store against plain vectors: appending rows of texts, sorting by
// one column, and the call list's rolling window.
//
//   build/bench/cells_bench --benchmark_repetitions=3

#include <benchmark/benchmark.h>

#include <QString>
#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <vector>

#include "grid/Cells.h"
#include "grid/ColumnClasses.h"

#ifdef __linux__
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#endif

namespace {

constexpr int kColumns = 5;

// Resident set size in bytes, after handing freed memory back.
double ResidentBytes() {
#ifdef __linux__
  malloc_trim(0);
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return double(resident) * double(sysconf(_SC_PAGESIZE));
#else
  return 0;
#endif
}

// A store over five columns of one kind, following its collection.
struct Store {
  TColumns columns;
  TCells cells{nullptr, &columns};

  template <typename Column>
  static std::unique_ptr<Store> Of() {
    auto store = std::make_unique<Store>();
    Store* s = store.get();
    s->columns.ColumnListChanged = [s](TObject* sender, int kind, int a, int b) {
      s->cells.ColumnListChanged(sender, kind, a, b);
    };
    for (int c = 0; c < kColumns; ++c) s->columns.Add(new Column);
    return store;
  }
};

// Texts of one call: time, serial, counter, line, number.
using RowTexts = std::array<QString, kColumns>;

const std::vector<RowTexts>& TextPool() {
  static const std::vector<RowTexts> pool = [] {
    std::vector<RowTexts> rows;
    std::mt19937 random(1);
    for (int i = 0; i < 1024; ++i)
      rows.push_back({QStringLiteral("%1:%2:%3")
                          .arg(random() % 24, 2, 10, QLatin1Char('0'))
                          .arg(random() % 60, 2, 10, QLatin1Char('0'))
                          .arg(random() % 60, 2, 10, QLatin1Char('0')),
                      QString::number(100000 + random() % 900000), QString::number(i + 1),
                      QString::number(1 + random() % 4),
                      QStringLiteral("05%1").arg(random() % 1000000000, 9, 10, QLatin1Char('0'))});
    return rows;
  }();
  return pool;
}

// A fresh copy, so that every cell owns its text as a received one would.
QString Fresh(const QString& s) { return QString(s.constData(), s.size()); }

void Append(benchmark::State& state) {
  const int rows = int(state.range(0));
  const auto& pool = TextPool();
  double bytesPerCell = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const double before = ResidentBytes();
    auto store = Store::Of<TTextualColumn>();
    state.ResumeTiming();
    for (int r = 0; r < rows; ++r) {
      store->cells.AddRows(1);
      const RowTexts& texts = pool[size_t(r) % pool.size()];
      for (int c = 0; c < kColumns; ++c) store->cells.Cell(c, r).SetAsText(Fresh(texts[size_t(c)]));
    }
    state.PauseTiming();
    bytesPerCell = (ResidentBytes() - before) / (double(rows) * kColumns);
    store.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_cell"] = bytesPerCell;
}

void AppendBaseline(benchmark::State& state) {
  const int rows = int(state.range(0));
  const auto& pool = TextPool();
  double bytesPerCell = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const double before = ResidentBytes();
    auto table = std::make_unique<std::vector<RowTexts>>();
    state.ResumeTiming();
    for (int r = 0; r < rows; ++r) {
      const RowTexts& texts = pool[size_t(r) % pool.size()];
      table->push_back({Fresh(texts[0]), Fresh(texts[1]), Fresh(texts[2]), Fresh(texts[3]), Fresh(texts[4])});
    }
    state.PauseTiming();
    bytesPerCell = (ResidentBytes() - before) / (double(rows) * kColumns);
    table.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_cell"] = bytesPerCell;
}

// ---- sorting -----------------------------------------------------------------

QString RandomWord(std::mt19937& random) {
  QString s;
  const int length = 4 + int(random() % 8);
  for (int i = 0; i < length; ++i) s += QChar(char16_t(u'a' + random() % 26));
  return s;
}

QString RandomIp(std::mt19937& random) {
  return QStringLiteral("%1.%2.%3.%4").arg(random() % 256).arg(random() % 256).arg(random() % 256).arg(random() % 256);
}

// Two sort columns filled independently: sorting them in turn makes every
// sort a full one over rows that are random for that column.
template <typename Column, typename Fill>
std::unique_ptr<Store> SortStore(int rows, Fill fill) {
  auto store = Store::Of<Column>();
  store->cells.AddRows(rows);
  std::mt19937 random(2);
  for (int c = 0; c < kColumns; ++c)
    for (int r = 0; r < rows; ++r) fill(store->cells.Cell(c, r), random);
  return store;
}

template <typename Column, typename Fill>
void RunSort(benchmark::State& state, TSortType sortType, Fill fill) {
  auto store = SortStore<Column>(int(state.range(0)), fill);
  int column = 0;
  for (auto _ : state) {
    store->cells.Sort(column, sortType, false);
    column = 1 - column;
  }
}

void SortAlphabetic(benchmark::State& state) {
  RunSort<TTextualColumn>(state, stAlphabetic, [](TCell cell, std::mt19937& r) { cell.SetAsText(RandomWord(r)); });
}

void SortNumeric(benchmark::State& state) {
  RunSort<TNumericColumn>(state, stNumeric, [](TCell cell, std::mt19937& r) { cell.SetAsFloat(double(r()) / 1000.0); });
}

void SortIP(benchmark::State& state) {
  RunSort<TTextualColumn>(state, stIP, [](TCell cell, std::mt19937& r) { cell.SetAsText(RandomIp(r)); });
}

// std::sort of row indices over keys computed beforehand.
template <typename Key, typename MakeKey>
void SortPrecomputedKeys(benchmark::State& state, MakeKey makeKey) {
  const int rows = int(state.range(0));
  std::mt19937 random(2);
  std::array<std::vector<Key>, 2> keys;
  for (auto& column : keys)
    for (int r = 0; r < rows; ++r) column.push_back(makeKey(random));
  std::vector<int> order(static_cast<size_t>(rows));
  int column = 0;
  for (auto _ : state) {
    for (int r = 0; r < rows; ++r) order[size_t(r)] = r;
    const std::vector<Key>& k = keys[size_t(column)];
    std::sort(order.begin(), order.end(), [&k](int a, int b) { return k[size_t(a)] < k[size_t(b)]; });
    benchmark::DoNotOptimize(order.data());
    column = 1 - column;
  }
}

uint64_t IpNumber(std::mt19937& random) {
  uint64_t key = 0;
  for (int i = 0; i < 4; ++i) key = key << 8 | (random() % 256);
  return key;
}

// Text keys: the lower bound kept from one release to the next. The numeric
// and address variants compare each sort with keys of its own kind.
void SortBaseline(benchmark::State& state) { SortPrecomputedKeys<QString>(state, RandomWord); }
void SortBaselineNumeric(benchmark::State& state) {
  SortPrecomputedKeys<double>(state, [](std::mt19937& r) { return double(r()) / 1000.0; });
}
void SortBaselineIP(benchmark::State& state) { SortPrecomputedKeys<uint64_t>(state, IpNumber); }

// ---- the call list -----------------------------------------------------------

void RollingCallList(benchmark::State& state) {
  auto store = Store::Of<TTextualColumn>();
  store->cells.AddRows(6);
  const auto& pool = TextPool();
  for (auto _ : state) {
    for (int call = 0; call < 10000; ++call) {
      store->cells.DeleteRow(0);
      store->cells.AddRows(1);
      const RowTexts& texts = pool[size_t(call) % pool.size()];
      for (int c : {3, 4, 0, 1, 2}) store->cells.Cell(c, 5).SetAsText(Fresh(texts[size_t(c)]));
    }
  }
}

}  // namespace

BENCHMARK(Append)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendBaseline)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortAlphabetic)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortNumeric)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortIP)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortBaseline)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortBaselineNumeric)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortBaselineIP)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(RollingCallList)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

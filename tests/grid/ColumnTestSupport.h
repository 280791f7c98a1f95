#pragma once
// A stand-in for the grid a column collection belongs to, recording what
// the collection tells it.

#include <QStringList>
#include <vector>

#include "grid/Columns.h"

class FakeColumnGrid : public IColumnGrid {
 public:
  int dataLeft = 0;
  int horzPosition = 0;
  TRect header = TRect(0, 0, 500, 20);
  TRect input = TRect(0, 20, 500, 39);
  TRect footer = TRect(0, 150, 500, 175);
  int current = -1;
  TCustomColumn* hot = nullptr;
  TCustomColumn* pressed = nullptr;
  bool designing = false;
  bool reading = false;
  std::function<void()> indicatorReceiver;
  std::vector<std::pair<TCustomColumn*, TGridArea>> invalidated;

  int DataLeft() const override { return dataLeft; }
  int HorzPosition() const override { return horzPosition; }
  TRect AreaRect(TGridArea area) const override {
    return area == gaHeader ? header : area == gaInput ? input : area == gaFooter ? footer : TRect();
  }
  int CurrentColumn() const override { return current; }
  TCustomColumn* HotHeaderColumn() const override { return hot; }
  TCustomColumn* PressedHeaderColumn() const override { return pressed; }
  bool IsDesigning() const override { return designing; }
  bool IsReading() const override { return reading; }
  void InvalidateColumnPart(TCustomColumn* column, TGridArea area) override { invalidated.emplace_back(column, area); }
  void SetIndicatorChangeReceiver(std::function<void()> receiver) override { indicatorReceiver = std::move(receiver); }
};

// Records every notice of a collection as "name:index:kind" in order.
struct NoticeLog {
  QStringList entries;
  void Attach(TColumns& columns) {
    columns.ColumnsChanged = [this](TColumns*, TCustomColumn* c, int kind) {
      entries << QStringLiteral("change:%1:%2").arg(c->Index()).arg(kind);
    };
    columns.ColumnListChanged = [this](TObject*, int kind, int, int) {
      entries << QStringLiteral("list1:%1").arg(kind);
    };
    columns.ColumnListNotice = [this](TObject*, int kind, int, int) {
      entries << QStringLiteral("list2:%1").arg(kind);
    };
  }
};

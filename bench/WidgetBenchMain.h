#pragma once
// The main of a benchmark program that paints widgets: offscreen, with the
// application object the controls expect.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/Application.h"

inline int RunWidgetBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TApplication application;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Test main: Qt offscreen, one fixed locale, the platform's application object.

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/Application.h"
#include "platform/SysUtils.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
  QApplication app(argc, argv);
  TApplication application;
  FormatSettings = TFormatSettings::Turkish();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

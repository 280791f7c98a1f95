// Cihaz Test: start-up of the program with the shipped device control.

#include "app/Startup.h"
#include "device/SimulatedZarvo.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  RegisterShippedZarvo();
  return RunProgram();
}

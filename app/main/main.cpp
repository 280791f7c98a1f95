// Cihaz Test: start-up of the program with the shipped device control.

#include <QApplication>

#include "app/Startup.h"
#include "device/SimulatedZarvo.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  RegisterShippedZarvo();
  return RunProgram();
}

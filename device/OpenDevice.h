#pragma once
// Puts the chosen device behind the device-control contract.

#include <QStringList>

#include "device/CommandLine.h"

// Opens the device now and registers its control under CLASS_Zarvo: the
// simulated device, modems on serial ports, a sound card's capture channels
// or a recording. Raises EDeviceError with one clear line when the device
// cannot be opened.
void RegisterDevice(const TDeviceChoice& choice);

// What --list-devices prints: the serial ports, then the capture devices.
QStringList ListDevices();

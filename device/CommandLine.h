#pragma once
// The program's command line: which device to host and what to do.
//
//   --device DEVICE  sim (the default), serial:PORT[,PORT…], audio:PCM[:CHANNELS], wav:FILE
//   --record FILE|none   the test record (the user's data folder by default)
//   --export-records FILE.csv [--serial S]   the recorded sessions as CSV
//   --report SERIAL FILE.pdf   the test report of the serial's last session
//   --list-devices   print the serial ports and capture devices found
//   --self-test      generate and decode a burst of each caller-ID standard
//   --help, --version
//
// CIHAZ_DEVICE gives the device when --device does not. Arguments that do
// not start with "--" are left to Qt (-platform, -style …).

#include <QString>
#include <QStringList>

struct TDeviceChoice {
  enum TKind { dkSimulated, dkSerial, dkAudio, dkWav };
  static constexpr int kMaxLines = 4;

  TKind kind = dkSimulated;
  QStringList ports;  // serial: one line per port
  QString pcm;        // audio: the ALSA capture device
  int channels = 1;   // audio: one line per channel
  QString file;       // wav: the recording

  bool operator==(const TDeviceChoice&) const = default;
};

// Raises EDeviceError saying what is wrong with text.
TDeviceChoice ParseDeviceChoice(const QString& text);

struct TCommandLine {
  enum TAction { caRun, caListDevices, caSelfTest, caExportRecords, caReport, caHelp, caVersion };
  TAction action = caRun;
  TDeviceChoice device;
  QString record;  // the record file; empty: the default one, "none": no record
  QString output;  // the CSV or PDF file to write
  QString serial;  // the device whose sessions are exported or reported
  QString error;   // when set, the program prints it and ends with status 2
};

// arguments: without the program's name; deviceVariable: CIHAZ_DEVICE's value.
// --help and --version answer at once, without looking at what follows or
// at the device.
TCommandLine ParseCommandLine(const QStringList& arguments, const QString& deviceVariable);

// What --help and --version print, one line each.
QStringList HelpText();
QString VersionText();

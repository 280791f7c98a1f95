#pragma once
// The loopback self-test: for each caller-ID standard, bursts made by the
// generator go through the line-audio device control from memory (no sound
// card), and what the control reports is compared with what was sent.

#include <QString>
#include <QStringList>
#include <vector>

#include "device/CallerIdGenerator.h"

struct TSelfTestRow {
  TBurstRequest sent;
  QString condition;  // "-13 dBm0", "-35 dBm0, SNR 10 dB" …
  QString decoded;    // number, date-time and other text of each call reported
  bool passed = false;
};

std::vector<TSelfTestRow> RunSelfTest();
// One line per row under a header line, columns aligned.
QStringList SelfTestTable(const std::vector<TSelfTestRow>& rows);

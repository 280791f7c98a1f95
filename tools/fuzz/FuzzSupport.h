#pragma once
// What every fuzz target shares: one offscreen application for the whole
// run, made before the first input, and a reader that turns the fuzzer's
// bytes into choices and texts.

#include <QApplication>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/Application.h"
#include "platform/SysUtils.h"

// Made once in LLVMFuzzerInitialize; widgets need them alive for every input.
// Never destroyed: the fuzzer ends with exit(), and Qt's clean-up routines
// would then run after the platform's own statics are gone.
inline void StartFuzzApplication(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QApplication(*argc, *argv);
  new TApplication;
  FormatSettings = TFormatSettings::Turkish();
}

// A broken invariant is a finding: print it and abort, so that libFuzzer
// keeps the input.
[[noreturn]] inline void FuzzFailure(const QString& what) {
  std::fprintf(stderr, "fuzz invariant broken: %s\n", qPrintable(what));
  std::abort();
}

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Empty() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // A text of at most maxLength UTF-16 units, its length taken from the input.
  QString Text(size_t maxLength) {
    const size_t length = std::min<size_t>(Byte() % (maxLength + 1), size_ - pos_);
    return Utf8(length);
  }
  // Everything left, read as UTF-8 (bad sequences become replacement characters).
  QString Rest() { return Utf8(size_ - pos_); }

 private:
  QString Utf8(size_t length) {
    const QString out = QString::fromUtf8(reinterpret_cast<const char*>(data_ + pos_), qsizetype(length));
    pos_ += length;
    return out;
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

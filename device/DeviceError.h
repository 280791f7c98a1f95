#pragma once
// The error of the device units: a device that cannot be opened, a command it
// refuses, a message it garbled. The message is shown to the user as it is.

#include "platform/Exceptions.h"

class EDeviceError : public Exception {
 public:
  // why: the reason in the user's own words (Turkish), for the device's
  // window and the error report, where the message speaks to the command line.
  explicit EDeviceError(const QString& message, QString why = {}) : Exception(message), why_(std::move(why)) {}
  const QString& WhyOrMessage() const { return why_.isEmpty() ? Message() : why_; }

 private:
  QString why_;
};

#pragma once
// The error of the device units: a device that cannot be opened, a command it
// refuses, a message it garbled. The message is shown to the user as it is.

#include "platform/Exceptions.h"

class EDeviceError : public Exception {
 public:
  using Exception::Exception;
};

#pragma once
// The error classes of the platform. Every error the program raises derives
// from Exception so that the event boundary can report its message.

#include <QString>
#include <exception>

class Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  const QString& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

#define CIHAZ_EXCEPTION(Name, Base) \
  class Name : public Base {        \
   public:                          \
    using Base::Base;               \
  };

CIHAZ_EXCEPTION(EConvertError, Exception)
CIHAZ_EXCEPTION(EListError, Exception)
CIHAZ_EXCEPTION(EInvalidOperation, Exception)
CIHAZ_EXCEPTION(EAbstractError, Exception)
CIHAZ_EXCEPTION(EInvalidGraphic, Exception)
CIHAZ_EXCEPTION(EOleError, Exception)
CIHAZ_EXCEPTION(EReadError, Exception)

#undef CIHAZ_EXCEPTION

// "List index out of bounds (5)": the error for any bad list index.
[[noreturn]] inline void ListIndexError(int index) {
  throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

// Raised by a virtual operation that a class declares but does not implement.
[[noreturn]] inline void AbstractError() { throw EAbstractError(QStringLiteral("Abstract Error")); }

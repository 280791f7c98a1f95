#pragma once
// Puts the C library under a comma-decimal locale (Turkish) for one scope,
// as Qt's application object does when the environment asks for it. A
// machine without the compiled locale gets it made from its source into a
// folder of its own; Reason() says why when even that fails.

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <cstring>
#include <string>

class CommaDecimalLocale {
 public:
  CommaDecimalLocale() : previous_(std::setlocale(LC_ALL, nullptr)) { active_ = Switch() || (Generated() && Switch()); }
  ~CommaDecimalLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  CommaDecimalLocale(const CommaDecimalLocale&) = delete;
  CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

  bool Active() const { return active_; }
  static std::string Reason() {
    return "the C library has no tr_TR.UTF-8 locale and localedef could not make one from "
           "/usr/share/i18n/locales/tr_TR (install the locales package)";
  }

 private:
  static constexpr const char* kName = "tr_TR.UTF-8";

  static bool Switch() {
    return std::setlocale(LC_ALL, kName) && std::strcmp(std::localeconv()->decimal_point, ",") == 0;
  }

  // Made once into a folder that the test programs share; a program that
  // loses the race to publish it uses the winner's copy.
  static bool Generated() {
    static const bool made = [] {
      const QString folder = QDir::temp().filePath(QStringLiteral("cihaz-test-locales"));
      const QString target = QDir(folder).filePath(QString::fromLatin1(kName));
      if (!QFileInfo::exists(target + QStringLiteral("/LC_NUMERIC"))) {
        QTemporaryDir scratch(folder + QStringLiteral("-XXXXXX"));
        const QString fresh = QDir(scratch.path()).filePath(QString::fromLatin1(kName));
        if (!scratch.isValid() ||
            QProcess::execute(QStringLiteral("localedef"), {"-i", "tr_TR", "-f", "UTF-8", fresh}) != 0 ||
            !QDir().mkpath(folder))
          return false;
        QDir().rename(fresh, target);
      }
      qputenv("LOCPATH", folder.toLocal8Bit());
      return QFileInfo::exists(target + QStringLiteral("/LC_NUMERIC"));
    }();
    return made;
  }

  std::string previous_;
  bool active_ = false;
};

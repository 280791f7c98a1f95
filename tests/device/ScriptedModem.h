#pragma once
// A modem played by the test at the other end of a pseudo-terminal. The
// program opens the terminal through a stable path (a symbolic link), so
// that the modem can vanish and come back under the same name, as a USB
// modem does when it is unplugged and plugged in again.

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSocketNotifier>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class ScriptedModem {
 public:
  explicit ScriptedModem(const QString& name = QStringLiteral("modem")) : path_(dir_.filePath(name)) { Plug(); }
  ~ScriptedModem() { Unplug(); }
  ScriptedModem(const ScriptedModem&) = delete;
  ScriptedModem& operator=(const ScriptedModem&) = delete;

  const QString& Path() const { return path_; }

  // What the modem answers to a command: its lines, the final result last.
  // A command not listed is answered "OK"; one listed with no lines is not
  // answered at all.
  QHash<QString, QStringList> answers;
  bool echo = false;     // repeats each command before answering, as before ATE0
  QStringList received;  // the commands it was sent, in order

  // Sends bytes unasked: reports, RING, garbage.
  void Send(const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
      const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
      if (n <= 0) return;
      done += n;
    }
  }
  void SendLines(const QStringList& lines) {
    for (const QString& l : lines) Send("\r\n" + l.toLatin1() + "\r\n");
  }

  // The modem is unplugged: its terminal closes and its name disappears.
  void Unplug() {
    notifier_.reset();
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
    master_ = slave_ = -1;
    QFile::remove(path_);
  }

  // The modem is plugged in (again): a new terminal under the same name.
  void Plug() {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
    termios raw{};
    ::tcgetattr(slave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
    QFile::link(QString::fromLocal8Bit(name), path_);
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
  }

 private:
  void OnReadable() {
    char bytes[256];
    const ssize_t n = ::read(master_, bytes, sizeof bytes);
    if (n <= 0) return;
    input_.append(bytes, n);
    for (qsizetype end = input_.indexOf('\r'); end >= 0; end = input_.indexOf('\r')) {
      const QString command = QString::fromLatin1(input_.left(end));
      input_.remove(0, end + 1);
      received << command;
      if (echo) Send(command.toLatin1() + "\r");
      SendLines(answers.value(command, {QStringLiteral("OK")}));
    }
  }

  QTemporaryDir dir_;
  QString path_;
  int master_ = -1;
  int slave_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  QByteArray input_;
};

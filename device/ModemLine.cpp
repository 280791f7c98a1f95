#include "device/ModemLine.h"

#include <QRegularExpression>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>

#include "device/DeviceError.h"
#include "platform/Application.h"

namespace {

constexpr int kBaudRate = 115200;

// Why a port cannot be opened, with what fixes it where there is a fix.
QString CannotOpenText(int line, const QString& port, const QSerialPort& serial) {
  switch (serial.error()) {
    case QSerialPort::PermissionError:
      return QStringLiteral(
                 "Hat %1: %2 portunu açma izni yok; kullanıcıyı dialout grubuna ekleyin "
                 "(sudo usermod -aG dialout $USER) ve oturumu yeniden açın")
          .arg(line)
          .arg(port);
    case QSerialPort::DeviceNotFoundError:
      return QStringLiteral("Hat %1: %2 portu yok; modem takılı mı?").arg(line).arg(port);
    default:
      return QStringLiteral("Hat %1: %2 portu açılamıyor (%3)").arg(line).arg(port, serial.errorString());
  }
}

bool IsFinalResult(const QString& line, bool& ok) {
  static const QStringList failures{QStringLiteral("ERROR"), QStringLiteral("NO CARRIER"),
                                    QStringLiteral("NO DIALTONE"), QStringLiteral("BUSY"), QStringLiteral("NO ANSWER")};
  ok = line == QLatin1String("OK");
  return ok || failures.contains(line);
}

}  // namespace

TModemLine::TModemLine(int line, QString portName, TTimings timings, TEvents events)
    : line_(line), portName_(std::move(portName)), timings_(timings), events_(std::move(events)) {
  answerTimer_.setSingleShot(true);
  connect(&answerTimer_, &QTimer::timeout, this, [this] { Dispatch(nullptr, [this] { Finish({}, false); }); });
  reportTimer_.setSingleShot(true);
  reportTimer_.setInterval(timings_.reportQuietMs);
  connect(&reportTimer_, &QTimer::timeout, this, [this] { Dispatch(nullptr, [this] { FinishFormattedReport(); }); });
}

TModemLine::~TModemLine() = default;

void TModemLine::Open() {
  auto port = std::make_unique<QSerialPort>();
  port->setPortName(portName_);
  port->setBaudRate(kBaudRate);
  if (!port->open(QIODevice::ReadWrite)) {
    absence_ = CannotOpenText(line_, portName_, *port);
    throw EDeviceError(QStringLiteral("cannot open serial port %1: %2").arg(portName_, port->errorString()), absence_);
  }
  connect(port.get(), &QSerialPort::readyRead, this, [this] { Dispatch(nullptr, [this] { OnReadyRead(); }); });
  connect(port.get(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
    if (e != QSerialPort::NoError && e != QSerialPort::TimeoutError) Lose(port_->errorString());
  });
  port_ = std::move(port);
  input_.clear();
  discarding_ = false;
}

bool TModemLine::IsOpen() const { return port_ && port_->isOpen(); }

void TModemLine::Lose(const QString& why) {
  if (!IsOpen()) return;
  port_->close();
  queue_.clear();
  current_.reset();
  answerTimer_.stop();
  initialising_ = identified_ = offHook_ = dialling_ = false;
  absence_ = QStringLiteral("Hat %1: %2 bağlantısı koptu (%3)").arg(line_).arg(portName_, why);
  events_.note({}, QStringLiteral("bağlantı koptu: %1").arg(why));
}

void TModemLine::Initialise() {
  initialising_ = true;
  identified_ = false;
  Send("ATE0", {});  // no echo: every line that comes is the modem's own
  Send("AT+VCID=1", [this](const TReply& r) {
    if (r.ok) {
      callerIdCommand_ = QStringLiteral("AT+VCID=1");
      return;
    }
    Send("AT#CID=1", [this](const TReply& r) {
      if (r.ok)
        callerIdCommand_ = QStringLiteral("AT#CID=1");
      else
        events_.error(QStringLiteral("Hat %1: modem arayan numara göstermeyi açmadı (%2)").arg(line_).arg(portName_));
    });
  });
  AskModel("AT+GMM", [this] { AskModel("ATI3", [this] { model_ = QStringLiteral("Modem"); }); });
  Send("AT+GSN", [this](const TReply& r) {
    serial_ = r.ok && !r.info.isEmpty() ? r.info.join(QLatin1Char(' ')) : PortIdentifier();
    initialising_ = false;
    identified_ = true;
    absence_.clear();
    events_.note({}, QStringLiteral("hazır: %1, seri no %2, %3").arg(model_, serial_, callerIdCommand_));
  });
}

// Asks for the model with command; otherwise runs when the modem does not say.
void TModemLine::AskModel(const QByteArray& command, std::function<void()> otherwise) {
  Send(command, [this, otherwise](const TReply& r) {
    if (r.ok && !r.info.isEmpty())
      model_ = r.info.join(QLatin1Char(' '));
    else
      otherwise();
  });
}

// The USB device's own serial number when the port has one, else the port.
QString TModemLine::PortIdentifier() const {
  const QSerialPortInfo info(portName_);
  if (!info.serialNumber().isEmpty())
    return QStringLiteral("USB %1:%2 %3")
        .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
        .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'))
        .arg(info.serialNumber());
  return portName_;
}

void TModemLine::Send(const QByteArray& text, std::function<void(const TReply&)> done, int timeoutMs) {
  queue_.push_back({text, timeoutMs ? timeoutMs : timings_.answerMs, std::move(done)});
  SendNext();
}

void TModemLine::SendNext() {
  if (current_ || queue_.empty() || !IsOpen()) return;
  current_ = std::move(queue_.front());
  queue_.pop_front();
  reply_ = {};
  port_->write(current_->text + '\r');
  answerTimer_.start(current_->timeoutMs);
}

// The current command's final result came, or its time ran out (result empty).
void TModemLine::Finish(const QString& result, bool ok) {
  if (!current_) return;
  answerTimer_.stop();
  reply_.ok = ok;
  reply_.result = result;
  if (result.isEmpty()) {
    // A modem that stopped answering is not there: the poll starts the dialogue again.
    identified_ = false;
    queue_.clear();
    absence_ = QStringLiteral("Hat %1: %2 portundaki modem AT komutlarına %3 saniye içinde yanıt vermedi")
                   .arg(line_)
                   .arg(portName_)
                   .arg(timings_.answerMs / 1000.0);
    events_.note(QString::fromLatin1(current_->text), QStringLiteral("modem yanıt vermedi"));
    if (std::exchange(initialising_, false)) return current_.reset();
  }
  // What the command's handler sends (a fallback) goes before the commands already waiting.
  // current_ stays engaged meanwhile, so that nothing is sent under it.
  std::deque<TCommand> waiting = std::exchange(queue_, {});
  const std::function<void(const TReply&)> handler = std::move(current_->done);
  if (handler) handler(reply_);
  queue_.insert(queue_.end(), std::make_move_iterator(waiting.begin()), std::make_move_iterator(waiting.end()));
  current_.reset();
  SendNext();
}

void TModemLine::OnReadyRead() { Receive(port_->readAll()); }

void TModemLine::Receive(const QByteArray& bytes) {
  input_ += bytes;
  auto lineEnd = [](char c) { return c == '\r' || c == '\n'; };
  for (auto end = std::find_if(input_.begin(), input_.end(), lineEnd); end != input_.end();
       end = std::find_if(input_.begin(), input_.end(), lineEnd)) {
    const QByteArray line(input_.begin(), end - input_.begin());
    input_.remove(0, line.size() + 1);
    if (std::exchange(discarding_, false)) continue;
    if (line.size() > kMaxLineLength) {
      DropLongLine(line);
    } else if (const QByteArray text = line.trimmed(); !text.isEmpty()) {
      OnLine(QString::fromLatin1(text));
    }
  }
  // The same limit for a line still coming, so that how the bytes arrive changes nothing.
  if (input_.size() > kMaxLineLength) {
    if (!std::exchange(discarding_, true)) DropLongLine(input_);
    input_.clear();
  }
}

void TModemLine::DropLongLine(const QByteArray& line) {
  events_.note(QString::fromLatin1(line.left(40)) + QStringLiteral("…"),
               QStringLiteral("çok uzun satır atlandı (%1 bayttan fazla)").arg(kMaxLineLength));
}

void TModemLine::OnLine(const QString& line) {
  if (TakeFormattedField(line)) return;
  FinishFormattedReport();  // any other line ends a report
  if (line == QLatin1String("RING")) return OnRing();
  if (TakeHexMessage(line)) return;
  if (!current_) return events_.note(line, QStringLiteral("anlaşılmayan satır"));
  bool ok = false;
  if (IsFinalResult(line, ok))
    Finish(line, ok);
  else if (line != QString::fromLatin1(current_->text))  // not the echo of the command
    reply_.info << line;
}

bool TModemLine::TakeFormattedField(const QString& line) {
  static const QRegularExpression field(QStringLiteral("^(DATE|TIME|NMBR|NAME|MESG)\\s*=\\s*(.*)$"));
  const auto m = field.match(line);
  if (!m.hasMatch()) return false;
  const QString name = m.captured(1);
  const QString value = m.captured(2).trimmed();
  if (formatted_.fields.contains(name)) FinishFormattedReport();  // the next report has begun
  formatted_.fields << name;
  formatted_.lines << line;
  if (name == QLatin1String("DATE")) formatted_.date = value;
  if (name == QLatin1String("TIME")) formatted_.time = value;
  if (name == QLatin1String("NMBR")) SetNumberField(formatted_.report, value);
  if (name == QLatin1String("NAME")) SetNameField(formatted_.report, value);
  reportTimer_.start();
  return true;
}

void TModemLine::FinishFormattedReport() {
  reportTimer_.stop();
  if (formatted_.lines.isEmpty()) return;
  TFormatted done = std::exchange(formatted_, {});
  if (done.date.size() == 4 && done.time.size() == 4) done.report.dateTime = done.date + done.time;
  done.report.isCall = done.fields.contains(QStringLiteral("NMBR")) || done.fields.contains(QStringLiteral("NAME"));
  const QString raw = done.lines.join(QStringLiteral(" | "));
  if (LacksNumber(done.report)) return events_.message(raw, std::nullopt, TFrameCheck::fcBadLength);
  events_.message(raw, done.report, TFrameCheck::fcGood);
}

bool TModemLine::TakeHexMessage(const QString& line) {
  const std::optional<QByteArray> bytes = ParseHexLine(line);
  if (!bytes || bytes->size() < 3 || !IsMessageType(quint8(bytes->at(0)))) return false;
  const TFrameReading reading = ReadFrame(*bytes);
  // A command's answer may look like hexadecimal too (a serial number): while
  // one is awaited, only a good message is taken as a message.
  if (current_ && reading.check != TFrameCheck::fcGood) return false;
  events_.message(HexText(*bytes), reading.report, reading.check);
  return true;
}

void TModemLine::OnRing() {
  sinceRing_.start();
  events_.note(QStringLiteral("RING"), {});
}

bool TModemLine::Ringing() const { return sinceRing_.isValid() && sinceRing_.elapsed() < timings_.ringHoldMs; }

int TModemLine::Level() const {
  if (!Ready()) return 0;
  if (dialling_) return kDiallingLevel;
  if (offHook_) return kOffHookLevel;
  if (Ringing()) return kRingingLevel;
  return kIdleLevel;
}

QString TModemLine::Activity() const {
  if (initialising_) return QStringLiteral("modemle konuşuluyor");
  if (!Ready()) return QStringLiteral("yanıt vermiyor");
  if (dialling_) return QStringLiteral("numara çevriliyor");
  if (offHook_) return QStringLiteral("hat alındı");
  if (Ringing()) return QStringLiteral("çalıyor");
  return QStringLiteral("boşta");
}

void TModemLine::RequireReady() const {
  if (!Ready()) throw EDeviceError(QStringLiteral("Hat %1: modem hazır değil").arg(line_));
}

void TModemLine::Refused(const TReply& reply, const QByteArray& command) {
  events_.error(
      QStringLiteral("Hat %1: modem %2 komutunu reddetti (%3)")
          .arg(line_)
          .arg(QString::fromLatin1(command), reply.result.isEmpty() ? QStringLiteral("yanıt yok") : reply.result));
}

void TModemLine::TakeLine() {
  RequireReady();
  Send("ATH1", [this](const TReply& r) { r.ok ? void(offHook_ = true) : Refused(r, "ATH1"); });
}

void TModemLine::ReleaseLine() {
  RequireReady();
  Send("ATH0", [this](const TReply& r) { r.ok ? void(offHook_ = false) : Refused(r, "ATH0"); });
}

void TModemLine::Dial(const QString& number) {
  RequireReady();
  // Digits, * and #, with commas for pauses; blanks are only for reading.
  static const QRegularExpression dialable(QRegularExpression::anchoredPattern(QStringLiteral("[0-9*#,]{1,40}")));
  const QString digits = QString(number).remove(QLatin1Char(' '));
  if (!dialable.match(digits).hasMatch())
    throw EDeviceError(QStringLiteral("Çevrilemeyen numara: '%1' (yalnız 0-9, *, # ve virgül)").arg(number));
  // The closing ";" keeps the modem in command mode with the line held.
  const QByteArray command = "ATDT" + digits.toLatin1() + ';';
  dialling_ = true;
  Send(
      command,
      [this, command](const TReply& r) {
        dialling_ = false;
        r.ok ? void(offHook_ = true) : Refused(r, command);
      },
      timings_.dialMs);
}

#include "platform/Shell.h"

#include <QMap>
#include <QSystemTrayIcon>
#include <algorithm>
#include <cstring>

#include "platform/Application.h"
#include "platform/CodePage.h"

void SetAnsiField(char* field, size_t size, const QString& text) {
  const QByteArray bytes = ToAnsi(text.left(qsizetype(size - 1)));
  std::memset(field, 0, size);
  std::memcpy(field, bytes.constData(), std::min(size_t(bytes.size()), size - 1));
}

QString AnsiField(const char* field, size_t size) {
  return FromAnsi(QByteArray(field, qsizetype(strnlen(field, size))));
}

namespace {

// The shell shows an entry without an icon as a blank square; Qt would refuse it.
QIcon TrayPicture(HICON handle) {
  QImage image = IconImage(handle);
  if (image.isNull()) {
    image = QImage(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
  }
  return QIcon(QPixmap::fromImage(image));
}

// The desktop's notification area through QSystemTrayIcon. Activations come
// back as the mouse messages the shell would send.
class TDesktopShell : public TShellBackend {
 public:
  bool NotifyIcon(uint32_t message, const TNotifyIconData& data) override;

 private:
  // A notification handler may delete the icon whose signal is running.
  struct TLaterDeleter {
    void operator()(QSystemTrayIcon* icon) const {
      icon->hide();
      icon->deleteLater();
    }
  };
  struct TEntry {
    std::unique_ptr<QSystemTrayIcon, TLaterDeleter> icon;
    HWND window;
    uint32_t callback;
    uint32_t uID;
  };
  using TKey = QPair<HWND, uint32_t>;

  bool Add(const TNotifyIconData& data);
  bool Modify(const TNotifyIconData& data);
  static void Apply(TEntry& entry, const TNotifyIconData& data);
  static void Send(const std::weak_ptr<TEntry>& entry, std::initializer_list<uint32_t> notifications);

  QMap<TKey, std::shared_ptr<TEntry>> entries_;
};

bool TDesktopShell::NotifyIcon(uint32_t message, const TNotifyIconData& data) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
  const TKey key(data.Wnd, data.uID);
  switch (message) {
    case NIM_ADD:
      return Add(data);
    case NIM_MODIFY:
      return Modify(data);
    case NIM_DELETE:
      return entries_.remove(key) > 0;
    case NIM_SETVERSION:
      return entries_.contains(key);
    default:
      return false;
  }
}

bool TDesktopShell::Add(const TNotifyIconData& data) {
  const TKey key(data.Wnd, data.uID);
  if (entries_.contains(key)) return false;
  auto entry = std::make_shared<TEntry>();
  entry->icon.reset(new QSystemTrayIcon);
  entry->window = data.Wnd;
  entry->uID = data.uID;
  entry->callback = data.uCallbackMessage;
  std::weak_ptr<TEntry> e = entry;
  QObject::connect(entry->icon.get(), &QSystemTrayIcon::activated, entry->icon.get(),
                   [e](QSystemTrayIcon::ActivationReason reason) {
                     switch (reason) {
                       case QSystemTrayIcon::Trigger:
                         Send(e, {WM_LBUTTONDOWN, WM_LBUTTONUP});
                         break;
                       case QSystemTrayIcon::DoubleClick:
                         Send(e, {WM_LBUTTONDBLCLK, WM_LBUTTONUP});
                         break;
                       case QSystemTrayIcon::Context:
                         Send(e, {WM_RBUTTONDOWN, WM_RBUTTONUP});
                         break;
                       case QSystemTrayIcon::MiddleClick:
                         Send(e, {WM_MBUTTONDOWN, WM_MBUTTONUP});
                         break;
                       default:
                         break;
                     }
                   });
  QObject::connect(entry->icon.get(), &QSystemTrayIcon::messageClicked, entry->icon.get(),
                   [e] { Send(e, {NIN_BALLOONUSERCLICK}); });
  entries_.insert(key, entry);
  Apply(*entry, data);
  entry->icon->show();
  return true;
}

bool TDesktopShell::Modify(const TNotifyIconData& data) {
  auto it = entries_.find(TKey(data.Wnd, data.uID));
  if (it == entries_.end()) return false;
  Apply(**it, data);
  return true;
}

void TDesktopShell::Apply(TEntry& entry, const TNotifyIconData& data) {
  if (data.uFlags & NIF_MESSAGE) entry.callback = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) entry.icon->setIcon(TrayPicture(data.hIcon));
  if (data.uFlags & NIF_TIP) entry.icon->setToolTip(AnsiField(data.szTip, sizeof data.szTip));
  // An empty info text only takes a balloon down, which Qt leaves to its time-out.
  if ((data.uFlags & NIF_INFO) && data.szInfo[0]) {
    static const QSystemTrayIcon::MessageIcon kinds[] = {QSystemTrayIcon::NoIcon, QSystemTrayIcon::Information,
                                                         QSystemTrayIcon::Warning, QSystemTrayIcon::Critical};
    const uint32_t kind = data.dwInfoFlags & 0x0F;
    const QString title = AnsiField(data.szInfoTitle, sizeof data.szInfoTitle);
    const QString text = AnsiField(data.szInfo, sizeof data.szInfo);
    const int timeout = int(std::min<uint32_t>(data.uTimeoutOrVersion, INT32_MAX));
    if (kind == NIIF_USER)
      entry.icon->showMessage(title, text, entry.icon->icon(), timeout);
    else
      entry.icon->showMessage(title, text, kinds[std::min<uint32_t>(kind, NIIF_ERROR)], timeout);
  }
}

void TDesktopShell::Send(const std::weak_ptr<TEntry>& entry, std::initializer_list<uint32_t> notifications) {
  for (uint32_t n : notifications) {
    const std::shared_ptr<TEntry> e = entry.lock();
    if (!e) return;
    Dispatch(nullptr, [&] { SendMessage(e->window, e->callback, e->uID, LPARAM(n)); });
  }
}

std::shared_ptr<TShellBackend>& Backend() {
  static std::shared_ptr<TShellBackend> backend;
  if (!backend) backend = std::make_shared<TDesktopShell>();
  return backend;
}

}  // namespace

bool ShellNotifyIcon(uint32_t message, TNotifyIconData& data) {
  // Keep the back-end alive even if a notification it sends replaces it.
  std::shared_ptr<TShellBackend> backend = Backend();
  return backend->NotifyIcon(message, data);
}

void SetShellBackend(std::shared_ptr<TShellBackend> backend) { Backend() = std::move(backend); }

uint32_t TaskbarCreatedMessage() {
  static const uint32_t number = RegisterWindowMessage(QStringLiteral("TaskbarCreated"));
  return number;
}

void BroadcastTaskbarCreated() { BroadcastMessage(TaskbarCreatedMessage()); }

bool TShellRecorder::NotifyIcon(uint32_t message, const TNotifyIconData& data) {
  Requests.push_back({message, data});
  return Answer;
}

LRESULT TShellRecorder::Notify(uint32_t uID, uint32_t notification) {
  auto it = std::find_if(Requests.rbegin(), Requests.rend(), [uID](const TRequest& r) { return r.data.uID == uID; });
  if (it == Requests.rend()) return 0;
  return SendMessage(it->data.Wnd, it->data.uCallbackMessage, uID, LPARAM(notification));
}

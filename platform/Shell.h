#pragma once
// The shell's notification area: icons with a tip and balloon messages,
// and the notifications the shell sends back for them.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ImageList.h"
#include "platform/MessageWindow.h"

// The notify-icon record in its 488-byte form; texts are 8-bit
// Windows-1254 and end with a zero byte.
struct TNotifyIconData {
  uint32_t cbSize = sizeof(TNotifyIconData);
  HWND Wnd = 0;
  uint32_t uID = 0;
  uint32_t uFlags = 0;
  uint32_t uCallbackMessage = 0;
  HICON hIcon = 0;
  char szTip[128] = {};
  uint32_t dwState = 0;
  uint32_t dwStateMask = 0;
  char szInfo[256] = {};
  uint32_t uTimeoutOrVersion = 0;  // time-out in ms for balloons, version for NIM_SETVERSION
  char szInfoTitle[64] = {};
  uint32_t dwInfoFlags = 0;
};
static_assert(sizeof(TNotifyIconData) == 488);

constexpr uint32_t NIM_ADD = 0;
constexpr uint32_t NIM_MODIFY = 1;
constexpr uint32_t NIM_DELETE = 2;
constexpr uint32_t NIM_SETVERSION = 4;

constexpr uint32_t NIF_MESSAGE = 0x01;
constexpr uint32_t NIF_ICON = 0x02;
constexpr uint32_t NIF_TIP = 0x04;
constexpr uint32_t NIF_STATE = 0x08;
constexpr uint32_t NIF_INFO = 0x10;

constexpr uint32_t NIIF_NONE = 0;
constexpr uint32_t NIIF_INFO = 1;
constexpr uint32_t NIIF_WARNING = 2;
constexpr uint32_t NIIF_ERROR = 3;
constexpr uint32_t NIIF_USER = 4;

constexpr uint32_t NOTIFYICON_VERSION = 3;

constexpr uint32_t NIN_SELECT = WM_USER + 0;
constexpr uint32_t NIN_KEYSELECT = WM_USER + 1;
constexpr uint32_t NIN_BALLOONSHOW = WM_USER + 2;
constexpr uint32_t NIN_BALLOONHIDE = WM_USER + 3;
constexpr uint32_t NIN_BALLOONTIMEOUT = WM_USER + 4;
constexpr uint32_t NIN_BALLOONUSERCLICK = WM_USER + 5;

// Copies text into a fixed 8-bit field: at most size - 1 characters, then
// zeros up to the end.
void SetAnsiField(char* field, size_t size, const QString& text);
QString AnsiField(const char* field, size_t size);

// Answers the shell's reply: false when it refused or is not there.
bool ShellNotifyIcon(uint32_t message, TNotifyIconData& data);

// The number of the shell-restart broadcast ("TaskbarCreated").
uint32_t TaskbarCreatedMessage();
// Tells every window that the shell has restarted.
void BroadcastTaskbarCreated();

class TShellBackend {
 public:
  virtual ~TShellBackend() = default;
  virtual bool NotifyIcon(uint32_t message, const TNotifyIconData& data) = 0;
};

// Installs a back-end; an empty pointer restores the desktop one.
void SetShellBackend(std::shared_ptr<TShellBackend> backend);

// Records every request and answers with Answer; Notify sends a
// notification back the way the shell does.
class TShellRecorder : public TShellBackend {
 public:
  struct TRequest {
    uint32_t message;
    TNotifyIconData data;
  };
  std::vector<TRequest> Requests;
  bool Answer = true;

  bool NotifyIcon(uint32_t message, const TNotifyIconData& data) override;
  // The callback message to the record's window: identifier in WParam,
  // notification in LParam. Uses the latest request made for the identifier.
  LRESULT Notify(uint32_t uID, uint32_t notification);
};

#pragma once
// Window procedures for widget windows. Qt reports what has already
// happened to a window; the hooks here see it as the messages the program's
// window procedures expect, in the order those messages would come:
// WM_SHOWWINDOW and WM_SYSCOMMAND/SC_MINIMIZE to the window itself, then
// WM_SIZE, WM_WINDOWPOSCHANGED and WM_SYSCOMMAND/SC_RESTORE to the
// application's own window when the window is the main form. Broadcasts
// (such as "TaskbarCreated") reach the application's window too.

#include <functional>

#include "platform/MessageWindow.h"

class QWidget;

// Answers true when it has handled the message and nothing else may see it.
using TWindowHook = std::function<bool(TMessage& Message)>;

// The application's own hidden window; created on first use.
HWND ApplicationHandle();

// Hooks on the application's window, newest first. Ids are never 0.
int HookMainWindow(TWindowHook hook);
void UnhookMainWindow(int id);

// Hooks replacing a widget window's procedure, newest first.
int HookWindow(QWidget* window, TWindowHook hook);
void UnhookWindow(int id);

// Runs the widget window's hooks at once; true when one handled the message.
bool PerformWindow(QWidget* window, TMessage& Message);
// Queues the message for the widget window's hooks.
void PostWindowMessage(QWidget* window, uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);

// WM_SHOWWINDOW's LParam when a window is hidden because its parent closes.
constexpr LPARAM SW_PARENTCLOSING = 1;

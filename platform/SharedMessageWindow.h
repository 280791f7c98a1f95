#pragma once
// A hidden message window shared by every registered object of one kind:
// created with the first, destroyed with the last (or at program end). Each
// object gets a 32-bit identifier that finds it again from a message.

#include <QCoreApplication>
#include <cstdint>
#include <unordered_map>

#include "platform/MessageWindow.h"

template <typename Handler, typename Item>
class TSharedMessageWindow : public TMessageWindow {
 public:
  // The current shared window; none while no object is registered.
  static Handler* Instance() { return Current(); }

  // Registers item with the shared window (made if first); answers its identifier.
  static uint32_t Register(Item* item) {
    if (!Current()) Current() = new Handler;
    Handler* handler = Current();
    // Identifiers are not reused while other objects still hold them.
    static uint32_t last = 0;
    do ++last;
    while (last == 0 || handler->items_.count(last));
    handler->items_[last] = item;
    return last;
  }

  static void Release(uint32_t identifier) {
    Handler* handler = Current();
    if (!handler) return;
    handler->items_.erase(identifier);
    if (!handler->items_.empty()) return;
    Current() = nullptr;
    // The last object may go while one of its own messages is delivered.
    if (handler->delivering_)
      handler->deleteLater();
    else
      delete handler;
  }

 protected:
  // Runs deliver(item) for the object with this identifier, if any.
  template <typename F>
  void DeliverTo(uint32_t identifier, F&& deliver) {
    auto it = items_.find(identifier);
    if (it == items_.end()) return;
    ++delivering_;
    deliver(it->second);
    --delivering_;
  }

 private:
  static Handler*& Current() {
    static Handler* current = nullptr;
    static const bool cleanup = (qAddPostRoutine([] {
                                   delete current;
                                   current = nullptr;
                                 }),
                                 true);
    (void)cleanup;
    return current;
  }

  std::unordered_map<uint32_t, Item*> items_;
  int delivering_ = 0;
};

#pragma once
// A device control the tests steer: answers, failures and events on demand.

#include <QStringList>

#include "app/zarvocallerid_TLB.h"

class TFakeZarvo : public IZarvo {
 public:
  QString model;
  QString serial;
  bool failCommands = false;
  bool failShowAbout = false;
  QStringList calls;  // every operation in order, commands with their text
  IZarvoEvents* sink = nullptr;

  HRESULT GetFormVisible(bool& v) override {
    v = formVisible;
    return S_OK;
  }
  HRESULT SetFormVisible(bool v) override {
    formVisible = v;
    calls << QStringLiteral("FormVisible=%1").arg(v);
    return S_OK;
  }
  HRESULT ShowAbout() override {
    calls << QStringLiteral("ShowAbout");
    return failShowAbout ? E_FAIL : S_OK;
  }
  HRESULT Start() override {
    calls << QStringLiteral("Start");
    return S_OK;
  }
  HRESULT Command(const QString& cmd, QString& result) override {
    calls << cmd;
    if (failCommands) return E_FAIL;
    result = cmd == QLatin1String("devicemodel") ? model : cmd == QLatin1String("serial") ? serial : QString();
    return S_OK;
  }
  void Advise(IZarvoEvents* s) override { sink = s; }

  void Fire(int dispId, const QStringList& args) {
    if (sink) sink->Invoke(dispId, args);
  }

  bool formVisible = true;
};

// Registers a factory that hands out TFakeZarvo objects and remembers the
// last one made; unregisters on destruction.
class TFakeZarvoClass {
 public:
  TFakeZarvoClass() {
    RegisterZarvoClass(CLASS_Zarvo, [this] {
      auto fake = std::make_unique<TFakeZarvo>();
      last = fake.get();
      return fake;
    });
  }
  ~TFakeZarvoClass() { UnregisterZarvoClass(CLASS_Zarvo); }
  TFakeZarvo* last = nullptr;
};

// The program's activation and deactivation reach the application's events
// and every windowed control (grids abandon drags, popups close).

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/Controls.h"

namespace {

class TActivationProbe : public TWinControl {
 public:
  QStringList* Log = nullptr;
  QString Name;
  bool Fail = false;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_ACTIVATEAPP) {
      *Log << QStringLiteral("%1 %2").arg(Name).arg(m.WParam);
      if (Fail) throw EConvertError(Name);
    }
    TWinControl::WndProc(m);
  }
};

// What the platform reports when the program gains or loses activation.
void ApplicationState(Qt::ApplicationState state) {
  QMetaObject::invokeMethod(qApp, "applicationStateChanged", Qt::DirectConnection, Q_ARG(Qt::ApplicationState, state));
}

TEST(Activation, ReachesTheApplicationAndEveryControlOncePerChange) {
  ApplicationState(Qt::ApplicationActive);
  QStringList log, errors;
  Application->OnActivate = [&](TObject*) { log << QStringLiteral("activate"); };
  Application->OnDeactivate = [&](TObject*) { log << QStringLiteral("deactivate"); };
  Application->OnException = [&](TObject*, const Exception& e) { errors << e.Message(); };
  TActivationProbe a, b;
  a.Log = b.Log = &log;
  a.Name = QStringLiteral("a");
  b.Name = QStringLiteral("b");
  a.Fail = true;  // one control's error does not keep the notice from the others

  ApplicationState(Qt::ApplicationInactive);
  ApplicationState(Qt::ApplicationHidden);  // still not active: no second notice
  ApplicationState(Qt::ApplicationActive);
  Application->OnActivate = nullptr;
  Application->OnDeactivate = nullptr;
  Application->OnException = nullptr;

  // The controls hear in no particular order, after the application's event.
  const auto sorted = [](QStringList l) {
    l.sort();
    return l;
  };
  ASSERT_EQ(log.size(), 6) << log.join(", ").toStdString();
  EXPECT_EQ(log[0], QStringLiteral("deactivate"));
  EXPECT_EQ(sorted(log.mid(1, 2)), (QStringList{"a 0", "b 0"}));
  EXPECT_EQ(log[3], QStringLiteral("activate"));
  EXPECT_EQ(sorted(log.mid(4, 2)), (QStringList{"a 1", "b 1"}));
  EXPECT_EQ(errors, (QStringList{"a", "a"}));
  EXPECT_TRUE(Application->Active());
}

}  // namespace

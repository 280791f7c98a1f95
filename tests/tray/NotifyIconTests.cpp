#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QStyleHints>
#include <memory>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/WindowHooks.h"
#include "tray/NotifyIcon.h"

namespace {

// Opens the protected notification style to the tests.
class TTestNotifyIcon : public TNotifyIcon {
 public:
  using TNotifyIcon::TNotifyIcon;
  void UseVersion3() { SetNotifyStyle(nsVersion3); }
};

QImage Filled(QRgb colour) {
  QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
  image.fill(colour);
  return image;
}

QString Button(TMouseButton b) { return b == mbLeft ? "L" : b == mbRight ? "R" : "M"; }

const QPoint kMouse(100, 200);

class NotifyIconTest : public ::testing::Test {
 protected:
  std::shared_ptr<TShellRecorder> shell = std::make_shared<TShellRecorder>();
  QStringList log;
  TPopupMenu menu;

  void SetUp() override {
    SetShellBackend(shell);
    TPopupMenu::SetPopupHook([this](TPopupMenu* m, int x, int y) {
      log << QStringLiteral("popup %1,%2").arg(x).arg(y);
      popupComponent = m->PopupComponent();
    });
    QCursor::setPos(kMouse);
  }
  void TearDown() override {
    TPopupMenu::SetPopupHook(nullptr);
    SetShellBackend(nullptr);
  }

  // Every event of the icon goes into the log by name.
  void Watch(TNotifyIcon& icon, bool withDoubleClick = false) {
    icon.OnClick = [this](TObject*) { log << "click"; };
    if (withDoubleClick) icon.OnDblClick = [this](TObject*) { log << "dblclick"; };
    icon.OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) { log << "down " + Button(b); };
    icon.OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) { log << "up " + Button(b); };
    icon.OnMouseMove = [this](TObject*, TShiftState, int, int) { log << "move"; };
    icon.OnMouseEnter = [this](TObject*) { log << "enter"; };
    icon.OnMouseExit = [this](TObject*) { log << "exit"; };
    icon.OnBalloonHintShow = [this](TObject*) { log << "balloon show"; };
    icon.OnBalloonHintHide = [this](TObject*) { log << "balloon hide"; };
    icon.OnBalloonHintTimeout = [this](TObject*) { log << "balloon timeout"; };
    icon.OnBalloonHintClick = [this](TObject*) { log << "balloon click"; };
    icon.OnMinimizeToTray = [this](TObject*) { log << "to tray"; };
  }

  static uint32_t Id(const TNotifyIcon& icon) { return icon.Identifier(); }
  void Notify(const TNotifyIcon& icon, uint32_t notification) {
    SendMessage(TNotifyIconHandler::Instance()->Handle(), WM_TRAYNOTIFY, Id(icon), LPARAM(notification));
  }
  std::vector<uint32_t> Messages() const {
    std::vector<uint32_t> m;
    for (const auto& r : shell->Requests) m.push_back(r.message);
    return m;
  }
  const TNotifyIconData& Last() const { return shell->Requests.back().data; }

  QObject* popupComponent = nullptr;
};

// ---- The record ------------------------------------------------------------

TEST_F(NotifyIconTest, TheRecordStartsWithTheSharedWindowAndTheIconsIdentity) {
  TNotifyIcon icon;
  EXPECT_TRUE(icon.AddIcon());
  EXPECT_TRUE(icon.IconVisible());
  ASSERT_EQ(Messages(), std::vector<uint32_t>{NIM_ADD});
  const TNotifyIconData d = Last();
  EXPECT_EQ(d.cbSize, 488u);
  EXPECT_EQ(d.Wnd, TNotifyIconHandler::Instance()->Handle());
  EXPECT_EQ(d.uID, Id(icon));
  EXPECT_EQ(d.uFlags, 7u);
  EXPECT_EQ(d.uCallbackMessage, 2048u);
  EXPECT_EQ(d.hIcon, 0u);
  EXPECT_EQ(d.szTip[0], 0);

  TNotifyIcon other;
  other.AddIcon();
  EXPECT_NE(Last().uID, Id(icon));
  EXPECT_EQ(Last().Wnd, d.Wnd);  // one window for all icons
}

TEST_F(NotifyIconTest, TheIconPictureTravelsByHandle) {
  TNotifyIcon icon;
  icon.SetIcon(TIcon(Filled(qRgb(0, 128, 0))));
  ASSERT_EQ(Messages(), std::vector<uint32_t>{NIM_MODIFY});
  EXPECT_EQ(IconImage(Last().hIcon).pixel(5, 5), qRgb(0, 128, 0));
}

TEST_F(NotifyIconTest, TheTipIsCutAt127CharactersAndShownOnlyWithShowHint) {
  TNotifyIcon icon;
  EXPECT_TRUE(icon.ShowHint());
  icon.SetHint(QString(200, QChar(u'ş')));
  EXPECT_EQ(QByteArray(Last().szTip), QByteArray(127, '\xFE'));
  EXPECT_EQ(Last().szTip[127], 0);
  icon.SetShowHint(false);
  EXPECT_EQ(QByteArray(Last().szTip, 128), QByteArray(128, 0));
  icon.SetShowHint(true);
  icon.SetHint("");
  EXPECT_EQ(QByteArray(Last().szTip, 128), QByteArray(128, 0));
}

TEST_F(NotifyIconTest, ABalloonHidesTheOldOneThenShowsCutTextsOnce) {
  TNotifyIcon icon;
  EXPECT_TRUE(icon.ShowBalloon(QString(70, 'T'), QString(300, QChar(u'ğ')), biWarning, 10));
  ASSERT_EQ(Messages(), (std::vector<uint32_t>{NIM_MODIFY, NIM_MODIFY}));
  const TNotifyIconData& hide = shell->Requests[0].data;
  EXPECT_EQ(hide.uFlags, 7u | NIF_INFO);
  EXPECT_EQ(hide.szInfo[0], 0);
  const TNotifyIconData& show = shell->Requests[1].data;
  EXPECT_EQ(show.uFlags, 7u | NIF_INFO);
  EXPECT_EQ(QByteArray(show.szInfo), QByteArray(255, '\xF0'));
  EXPECT_EQ(QByteArray(show.szInfoTitle), QByteArray(63, 'T'));
  EXPECT_EQ(show.uTimeoutOrVersion, 10000u);
  EXPECT_EQ(show.dwInfoFlags, NIIF_WARNING);

  icon.SetHint("x");  // later refreshes do not show the balloon again
  EXPECT_EQ(Last().uFlags, 7u);
  shell->Answer = false;
  EXPECT_FALSE(icon.ShowBalloon("Arayan", "0212 555 00 00", biInformation, 10));
}

// ---- Icon list, index and cycling ----------------------------------------

TEST_F(NotifyIconTest, IconIndexStaysInsideTheList) {
  TNotifyIcon icon;
  icon.SetIconIndex(10);
  EXPECT_EQ(icon.IconIndex(), 0);  // no list

  TImageList list;
  const QRgb colours[] = {qRgb(1, 0, 0), qRgb(2, 0, 0), qRgb(3, 0, 0), qRgb(4, 0, 0), qRgb(5, 0, 0)};
  for (QRgb c : colours) list.Add(Filled(c));
  icon.SetIconList(&list);
  icon.SetIconIndex(10);
  EXPECT_EQ(icon.IconIndex(), 4);
  EXPECT_EQ(icon.Icon().Image().pixel(0, 0), colours[4]);
  EXPECT_EQ(IconImage(Last().hIcon).pixel(0, 0), colours[4]);
  icon.SetIconIndex(-3);
  EXPECT_EQ(icon.IconIndex(), 0);
  EXPECT_EQ(icon.Icon().Image().pixel(0, 0), colours[0]);
}

TEST_F(NotifyIconTest, AnEmptyListLeavesIndexAndIconAlone) {
  TNotifyIcon icon;
  icon.SetIcon(TIcon(Filled(qRgb(7, 7, 7))));
  TImageList empty;
  icon.SetIconList(&empty);
  icon.SetIconIndex(3);
  EXPECT_EQ(icon.IconIndex(), 0);
  EXPECT_EQ(icon.Icon().Image().pixel(0, 0), qRgb(7, 7, 7));
  icon.SetCycleInterval(10);
  icon.SetCycleIcons(true);
  Pump(40);  // ticks over an empty list do nothing
  EXPECT_EQ(icon.Icon().Image().pixel(0, 0), qRgb(7, 7, 7));
}

TEST_F(NotifyIconTest, ReferencesGoWhenTheListOrMenuIsDestroyed) {
  TNotifyIcon icon;
  auto list = std::make_unique<TImageList>();
  for (int i = 0; i < 3; ++i) list->Add(Filled(qRgb(i, 0, 0)));
  icon.SetIconList(list.get());
  icon.SetIconIndex(2);
  auto popup = std::make_unique<TPopupMenu>();
  icon.SetPopupMenu(popup.get());
  list.reset();
  popup.reset();
  EXPECT_EQ(icon.IconList(), nullptr);
  EXPECT_EQ(icon.IconIndex(), 0);
  EXPECT_EQ(icon.PopupMenu(), nullptr);
}

TEST_F(NotifyIconTest, CyclingStepsThroughThePicturesAndWrapsAround) {
  TNotifyIcon icon;
  TImageList list;
  for (int i = 0; i < 3; ++i) list.Add(Filled(qRgb(10 * i, 0, 0)));
  icon.SetIconList(&list);
  icon.SetIconIndex(2);
  QList<int> steps;
  QList<int> shown;
  icon.OnCycle = [&](TObject*, int next) { steps << next; };
  icon.SetCycleInterval(10);
  icon.SetCycleIcons(true);  // starts again at the first picture
  EXPECT_EQ(icon.IconIndex(), 0);
  EXPECT_TRUE(WaitFor([&] { return steps.size() >= 4; }));
  icon.SetCycleIcons(false);
  EXPECT_EQ(steps.mid(0, 4), (QList<int>{1, 2, 0, 1}));
  const int stopped = int(steps.size());
  Pump(40);
  EXPECT_EQ(steps.size(), stopped);
  EXPECT_EQ(icon.Icon().Image().pixel(0, 0), qRgb(10 * icon.IconIndex(), 0, 0));
}

TEST_F(NotifyIconTest, CyclingSurvivesAListRefilledWithFewerPictures) {
  TNotifyIcon icon;
  TImageList list;
  for (int i = 0; i < 5; ++i) list.Add(Filled(qRgb(i, 0, 0)));
  icon.SetIconList(&list);
  QList<int> steps;
  icon.OnCycle = [&](TObject*, int next) { steps << next; };
  QStringList errors;
  Application->OnException = [&](TObject*, const Exception& e) { errors << e.Message(); };
  icon.SetCycleInterval(10);
  icon.SetCycleIcons(true);
  ASSERT_TRUE(WaitFor([&] { return icon.IconIndex() == 4; }));
  list.SetWidth(32);  // between two ticks the list shrinks to two pictures
  list.Add(Filled(qRgb(50, 0, 0)));
  list.Add(Filled(qRgb(51, 0, 0)));
  steps.clear();
  EXPECT_TRUE(WaitFor([&] { return steps.size() >= 2; }));
  Application->OnException = nullptr;
  icon.SetCycleIcons(false);
  EXPECT_EQ(steps.mid(0, 2), (QList<int>{0, 1}));
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(NotifyIconTest, CyclingWithAZeroIntervalDoesNotCycle) {
  TNotifyIcon icon;
  TImageList list;
  for (int i = 0; i < 3; ++i) list.Add(Filled(qRgb(i, 0, 0)));
  icon.SetIconList(&list);
  int cycles = 0;
  icon.OnCycle = [&](TObject*, int) { ++cycles; };
  icon.SetCycleIcons(true);
  EXPECT_EQ(icon.CycleInterval(), 0u);
  Pump(1100);  // longer than the cycle timer's first interval
  EXPECT_EQ(cycles, 0);
  EXPECT_EQ(icon.IconIndex(), 0);
}

// ---- Notifications ----------------------------------------------------------

struct NotificationRow {
  const char* name;
  std::function<void(TTestNotifyIcon&, TPopupMenu&)> setup;
  std::vector<uint32_t> notifications;
  QStringList expected;
};

void PrintTo(const NotificationRow& row, std::ostream* os) { *os << row.name; }

class Notifications : public NotifyIconTest, public ::testing::WithParamInterface<NotificationRow> {};

TEST_P(Notifications, RaiseTheirEventsInOrder) {
  const NotificationRow& row = GetParam();
  TTestNotifyIcon icon;
  Watch(icon);
  icon.SetPopupMenu(&menu);
  if (row.setup) row.setup(icon, menu);
  for (int i = 0; i < menu.Count(); ++i) {
    TMenuItem* item = menu.Items(i);
    item->OnClick = [this, item](TObject*) { log << "item " + item->Caption(); };
  }
  for (uint32_t n : row.notifications) Notify(icon, n);
  EXPECT_EQ(log, row.expected);
}

const QString kPopup = QStringLiteral("popup %1,%2").arg(kMouse.x()).arg(kMouse.y());

const NotificationRow kRows[] = {
    {"MoveWithoutEnterExit", nullptr, {WM_MOUSEMOVE, WM_MOUSEMOVE}, {"move", "move"}},
    {"MoveWithEnterExit",
     [](TTestNotifyIcon& i, TPopupMenu&) { i.SetWantEnterExitEvents(true); },
     {WM_MOUSEMOVE, WM_MOUSEMOVE},
     {"enter", "move", "move"}},
    {"LeftClickWithoutDoubleClickHandler", nullptr, {WM_LBUTTONDOWN, WM_LBUTTONUP}, {"down L", "click", "up L"}},
    {"LeftUpWithoutDown", nullptr, {WM_LBUTTONUP}, {"up L"}},
    {"LeftPopupOpensOnThePress",
     [](TTestNotifyIcon& i, TPopupMenu&) { i.SetLeftPopup(true); },
     {WM_LBUTTONDOWN, WM_LBUTTONUP},
     {"down L", kPopup, "click", "up L"}},
    {"RightOpensTheMenuOnThePressAndNeverClicks", nullptr, {WM_RBUTTONDOWN, WM_RBUTTONUP}, {"down R", kPopup, "up R"}},
    {"RightWithoutAutomaticPopup",
     [](TTestNotifyIcon&, TPopupMenu& m) { m.SetAutoPopup(false); },
     {WM_RBUTTONDOWN, WM_RBUTTONUP},
     {"down R", "up R"}},
    {"RightWithoutMenu",
     [](TTestNotifyIcon& i, TPopupMenu&) { i.SetPopupMenu(nullptr); },
     {WM_RBUTTONDOWN, WM_RBUTTONUP},
     {"down R", "up R"}},
    {"Middle", nullptr, {WM_MBUTTONDOWN, WM_MBUTTONUP}, {"down M", "up M"}},
    {"DoubleClickRunsTheDefaultItem",
     [](TTestNotifyIcon&, TPopupMenu& m) {
       m.Add("Birinci");
       TMenuItem* item = m.Add("Varsayılan");
       item->SetDefault(true);
       m.Add("Üçüncü")->SetDefault(true);
     },
     {WM_LBUTTONDBLCLK},
     {"item Varsayılan"}},
    {"DoubleClickWithLeftPopupRunsNoItem",
     [](TTestNotifyIcon& i, TPopupMenu& m) {
       i.SetLeftPopup(true);
       m.Add("Varsayılan")->SetDefault(true);
     },
     {WM_LBUTTONDBLCLK},
     {}},
    {"ClassicStyleIgnoresVersion3Notifications", nullptr, {WM_CONTEXTMENU, NIN_SELECT, NIN_KEYSELECT}, {}},
    {"Version3RightUpComesAsContextMenu",
     [](TTestNotifyIcon& i, TPopupMenu&) { i.UseVersion3(); },
     {WM_RBUTTONUP, WM_CONTEXTMENU, NIN_SELECT, NIN_KEYSELECT},
     {"up R", "up R", "up R"}},
    {"DisabledRaisesNoMouseEventsAndOpensNoMenu",
     [](TTestNotifyIcon& i, TPopupMenu&) { i.SetEnabled(false); },
     {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN},
     {}},
    {"BalloonNotificationsNeedNoEnabled",
     [](TTestNotifyIcon& i, TPopupMenu&) { i.SetEnabled(false); },
     {NIN_BALLOONSHOW, NIN_BALLOONHIDE, NIN_BALLOONTIMEOUT, NIN_BALLOONUSERCLICK},
     {"balloon show", "balloon hide", "balloon timeout", "balloon click"}},
    {"OthersAreIgnored", nullptr, {WM_RBUTTONDBLCLK, WM_USER + 77}, {}},
};

INSTANTIATE_TEST_SUITE_P(Table, Notifications, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NotifyIconTest, ADoubleClickRaisesOnDblClickBeforeTheDefaultItem) {
  TNotifyIcon icon;
  icon.SetPopupMenu(&menu);
  TMenuItem* item = menu.Add("Varsayılan");
  item->SetDefault(true);
  item->OnClick = [this, item](TObject*) { log << "item " + item->Caption(); };
  icon.OnDblClick = [this](TObject*) { log << "dblclick"; };
  Notify(icon, WM_LBUTTONDBLCLK);
  EXPECT_EQ(log, (QStringList{"dblclick", "item Varsayılan"}));
}

TEST_F(NotifyIconTest, MouseEventsCarryTheButtonAndTheMousePosition) {
  TNotifyIcon icon;
  QStringList seen;
  icon.OnMouseDown = [&](TObject* s, TMouseButton b, TShiftState shift, int x, int y) {
    seen << QStringLiteral("%1 %2 %3 %4 %5").arg(s == &icon).arg(Button(b)).arg(int(shift)).arg(x).arg(y);
  };
  icon.OnMouseMove = [&](TObject*, TShiftState shift, int x, int y) {
    seen << QStringLiteral("move %1 %2 %3").arg(int(shift)).arg(x).arg(y);
  };
  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_RBUTTONDOWN);
  Notify(icon, WM_MBUTTONDOWN);
  Notify(icon, WM_MOUSEMOVE);
  EXPECT_EQ(seen, (QStringList{QStringLiteral("1 L %1 100 200").arg(int(ssLeft)),
                               QStringLiteral("1 R %1 100 200").arg(int(ssRight)),
                               QStringLiteral("1 M %1 100 200").arg(int(ssMiddle)), "move 0 100 200"}));
}

TEST_F(NotifyIconTest, TheRightPressBringsTheSharedWindowForwardAndOpensTheMenuAtTheMouse) {
  TNotifyIcon icon;
  icon.SetPopupMenu(&menu);
  Notify(icon, WM_RBUTTONDOWN);
  EXPECT_EQ(log, QStringList{kPopup});
  EXPECT_EQ(popupComponent, &icon);
  EXPECT_EQ(GetForegroundWindow(), TNotifyIconHandler::Instance()->Handle());
}

TEST_F(NotifyIconTest, WithADoubleClickHandlerAClickComesOneDoubleClickTimeLater) {
  const int saved = QGuiApplication::styleHints()->mouseDoubleClickInterval();
  QGuiApplication::styleHints()->setMouseDoubleClickInterval(80);
  TNotifyIcon icon;
  Watch(icon, true);
  QElapsedTimer clock;
  clock.start();
  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_LBUTTONUP);
  EXPECT_EQ(log, (QStringList{"down L", "up L"}));
  EXPECT_TRUE(WaitFor([&] { return log.size() == 3; }));
  EXPECT_GE(clock.elapsed(), 75);
  EXPECT_EQ(log.last(), "click");
  Pump(120);
  EXPECT_EQ(log.size(), 3);  // once only
  QGuiApplication::styleHints()->setMouseDoubleClickInterval(saved);
}

TEST_F(NotifyIconTest, ADoubleClickRaisesNoClick) {
  const int saved = QGuiApplication::styleHints()->mouseDoubleClickInterval();
  QGuiApplication::styleHints()->setMouseDoubleClickInterval(50);
  TNotifyIcon icon;
  Watch(icon, true);
  for (uint32_t n : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) Notify(icon, n);
  Pump(150);
  EXPECT_EQ(log, (QStringList{"down L", "up L", "dblclick", "up L"}));
  // The next single click is a click again.
  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_LBUTTONUP);
  EXPECT_TRUE(WaitFor([&] { return log.size() == 7; }));
  EXPECT_EQ(log.last(), "click");
  QGuiApplication::styleHints()->setMouseDoubleClickInterval(saved);
}

TEST_F(NotifyIconTest, TheMouseLeavingTheIconIsReportedOnceWhenItMoves) {
  TNotifyIcon icon;
  Watch(icon);
  icon.SetWantEnterExitEvents(true);
  Notify(icon, WM_MOUSEMOVE);
  Pump(60);  // resting over the icon: no exit
  EXPECT_EQ(log, (QStringList{"enter", "move"}));
  QCursor::setPos(300, 300);
  EXPECT_TRUE(WaitFor([&] { return log.size() == 3; }));
  Pump(60);
  EXPECT_EQ(log, (QStringList{"enter", "move", "exit"}));
  Notify(icon, WM_MOUSEMOVE);
  EXPECT_EQ(log.mid(3), (QStringList{"enter", "move"}));
  icon.SetWantEnterExitEvents(false);
  QCursor::setPos(kMouse);
  Pump(60);
  EXPECT_EQ(log.size(), 5);
}

// Counts the timer ticks the light timers' shared window receives.
class TTickCounter : public QObject {
 public:
  TTickCounter() { TLiteTimerHandler::Instance()->installEventFilter(this); }
  int Ticks = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Timer) ++Ticks;
    return false;
  }
};

TEST_F(NotifyIconTest, TheExitCheckRunsOnlyWhileTheMouseIsOverTheIcon) {
  TNotifyIcon icon;
  Watch(icon);
  icon.SetWantEnterExitEvents(true);
  TTickCounter counter;
  Pump(60);
  EXPECT_EQ(counter.Ticks, 0);  // the mouse has not come yet
  Notify(icon, WM_MOUSEMOVE);
  Pump(60);
  EXPECT_GT(counter.Ticks, 0);
  QCursor::setPos(300, 300);
  ASSERT_TRUE(WaitFor([&] { return log.contains("exit"); }));
  counter.Ticks = 0;
  Pump(60);
  EXPECT_EQ(counter.Ticks, 0);  // gone again
}

TEST_F(NotifyIconTest, ErrorsInAnEventHandlerReachTheApplication) {
  QStringList errors;
  Application->OnException = [&](TObject*, const Exception& e) { errors << e.Message(); };
  TNotifyIcon icon;
  icon.OnClick = [](TObject*) { throw EConvertError("click failed"); };
  icon.OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { log << "up"; };
  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_LBUTTONUP);
  Application->OnException = nullptr;
  EXPECT_EQ(errors, QStringList{"click failed"});
  EXPECT_TRUE(log.isEmpty());  // the failing step ended the notification's work
}

// ---- The shared window --------------------------------------------------------

TEST_F(NotifyIconTest, TheSharedWindowRefusesToCloseAndGoesWithTheLastIcon) {
  auto first = std::make_unique<TNotifyIcon>();
  auto second = std::make_unique<TNotifyIcon>();
  const HWND shared = TNotifyIconHandler::Instance()->Handle();
  for (uint32_t m : {WM_CLOSE, WM_DESTROY, WM_QUIT, WM_NCDESTROY, WM_QUERYENDSESSION, WM_ENDSESSION})
    EXPECT_EQ(SendMessage(shared, m), 1) << m;
  EXPECT_EQ(SendMessage(shared, WM_USER), 0);
  first.reset();
  EXPECT_TRUE(IsWindow(shared));
  second.reset();
  EXPECT_EQ(TNotifyIconHandler::Instance(), nullptr);
  EXPECT_FALSE(IsWindow(shared));
  TNotifyIcon third;
  EXPECT_NE(TNotifyIconHandler::Instance()->Handle(), shared);
}

TEST_F(NotifyIconTest, DestroyingTheIconTakesItOutOfTheTray) {
  auto icon = std::make_unique<TNotifyIcon>();
  icon->SetIconVisible(true);
  const uint32_t id = Id(*icon);
  icon.reset();
  EXPECT_EQ(Messages(), (std::vector<uint32_t>{NIM_ADD, NIM_DELETE}));
  EXPECT_EQ(Last().uID, id);
}

TEST_F(NotifyIconTest, AfterAShellRestartOnlyAVisibleIconComesBack) {
  TNotifyIcon shown, hidden;
  shown.SetIconVisible(true);
  hidden.SetIconVisible(true);
  hidden.SetIconVisible(false);
  shell->Requests.clear();
  BroadcastTaskbarCreated();
  ASSERT_EQ(Messages(), std::vector<uint32_t>{NIM_ADD});
  EXPECT_EQ(Last().uID, Id(shown));
  EXPECT_TRUE(shown.IconVisible());
  EXPECT_FALSE(hidden.IconVisible());
}

// ---- Owner window, application window and start-up --------------------------

class OwnedIconTest : public NotifyIconTest {
 protected:
  std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
  void SetUp() override {
    NotifyIconTest::SetUp();
    Application->SetMainForm(form.get());
    Application->SetShowMainForm(true);
  }
  void TearDown() override {
    Application->SetMainForm(nullptr);
    Application->SetShowMainForm(true);
    NotifyIconTest::TearDown();
  }
};

TEST_F(OwnedIconTest, TheIconGoesWithItsOwnerForm) {
  QPointer<TNotifyIcon> icon = new TNotifyIcon(form.get());
  icon->SetIconVisible(true);
  Application->SetMainForm(nullptr);
  form.reset();
  EXPECT_TRUE(icon.isNull());
  EXPECT_EQ(Messages().back(), NIM_DELETE);
}

TEST_F(OwnedIconTest, MinimisingWithAHandlerSendsTheFormToTheTrayInstead) {
  TNotifyIcon icon(form.get());
  Watch(icon);
  icon.SetMinimizeToTray(true);
  form->show();
  form->setWindowState(Qt::WindowMinimized);
  EXPECT_EQ(log, QStringList{"to tray"});
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->isMinimized());
  EXPECT_TRUE(icon.IconVisible());
  EXPECT_EQ(Messages(), std::vector<uint32_t>{NIM_ADD});
}

TEST_F(OwnedIconTest, MinimisingWithoutAHandlerGoesToTheTrayThroughTheApplication) {
  TNotifyIcon icon(form.get());
  icon.SetMinimizeToTray(true);
  form->show();
  form->setWindowState(Qt::WindowMinimized);
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(icon.IconVisible());

  // Restoring from the task bar shows the form again, no longer minimised.
  SendMessage(ApplicationHandle(), WM_SYSCOMMAND, SC_RESTORE);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->isMinimized());
}

TEST_F(OwnedIconTest, WithoutMinimizeToTrayMinimisingIsLeftAlone) {
  TNotifyIcon icon(form.get());
  Watch(icon);
  form->show();
  form->setWindowState(Qt::WindowMinimized);
  EXPECT_TRUE(form->isMinimized());
  EXPECT_TRUE(log.isEmpty());
  EXPECT_TRUE(shell->Requests.empty());
}

TEST_F(OwnedIconTest, AParentClosingHidesToTheTrayOnlyWithAHandler) {
  TNotifyIcon icon(form.get());
  icon.SetMinimizeToTray(true);
  TMessage m{WM_SHOWWINDOW, 0, SW_PARENTCLOSING, 0};
  EXPECT_FALSE(PerformWindow(form.get(), m));
  Watch(icon);
  form->show();
  EXPECT_TRUE(PerformWindow(form.get(), m));
  EXPECT_EQ(m.Result, 1);
  EXPECT_EQ(log, QStringList{"to tray"});
  EXPECT_FALSE(form->isVisible());
}

TEST_F(OwnedIconTest, AMenuShownForAnOwnedIconTellsTheOwnerWhenItCloses) {
  TNotifyIcon icon(form.get());
  icon.SetPopupMenu(&menu);
  const int hook = HookWindow(form.get(), [this](TMessage& m) {
    if (m.Msg == WM_NULL) log << "owner told";
    return false;
  });
  icon.ShowMenuAt(5, 6);
  EXPECT_EQ(log, QStringList{"popup 5,6"});
  EXPECT_TRUE(WaitFor([&] { return log.size() == 2; }));
  UnhookWindow(hook);
}

TEST_F(OwnedIconTest, LoadingAppliesTheStoredStateAndAsksOnStartup) {
  TNotifyIcon icon(form.get());
  icon.Include(csLoading);
  icon.SetIconVisible(true);
  icon.SetWantEnterExitEvents(true);
  icon.SetHint("Cihaz");
  shell->Requests.clear();
  int asked = 0;
  icon.OnStartup = [&](TObject*, bool& show) {
    ++asked;
    EXPECT_TRUE(show);
    show = false;
  };
  form->show();
  icon.Loaded();
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(Application->ShowMainForm());
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(Messages(), (std::vector<uint32_t>{NIM_MODIFY, NIM_ADD, NIM_SETVERSION}));
  EXPECT_EQ(Last().uTimeoutOrVersion, 0u);
  EXPECT_EQ(QByteArray(Last().szTip), QByteArray("Cihaz"));
  // The exit timer runs once loaded.
  Watch(icon);
  Notify(icon, WM_MOUSEMOVE);
  QCursor::setPos(1, 1);
  EXPECT_TRUE(WaitFor([&] { return log.contains("exit"); }));
}

TEST_F(OwnedIconTest, AMultipleDocumentFrameIsAskedOnceWhenItIsPlaced) {
  QMainWindow frame;
  frame.setCentralWidget(new QMdiArea);
  Application->SetMainForm(&frame);
  TNotifyIcon icon(&frame);
  int asked = 0;
  icon.OnStartup = [&](TObject*, bool& show) {
    ++asked;
    show = false;
  };
  frame.show();
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(frame.isVisible());
  frame.show();
  EXPECT_EQ(asked, 1);
  Application->SetMainForm(form.get());
}

TEST_F(OwnedIconTest, AnOrdinaryMainWindowIsNotAskedWhenPlaced) {
  TNotifyIcon icon(form.get());
  int asked = 0;
  icon.OnStartup = [&](TObject*, bool&) { ++asked; };
  form->show();
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(form->isVisible());
}

// ---- Design time --------------------------------------------------------------

TEST_F(NotifyIconTest, InTheDesignerOnlyThePreviewReachesTheTray) {
  TNotifyIcon icon;
  icon.Include(csDesigning);
  EXPECT_FALSE(icon.AddIcon());
  EXPECT_TRUE(icon.IconVisible());
  EXPECT_TRUE(shell->Requests.empty());
  icon.SetDesignPreview(true);
  ASSERT_EQ(Messages(), std::vector<uint32_t>{NIM_ADD});
  EXPECT_FALSE(icon.Icon().Empty());  // the standard logo stands in for a missing icon
  EXPECT_NE(Last().hIcon, 0u);
  icon.SetDesignPreview(false);
  EXPECT_EQ(Messages().back(), NIM_DELETE);
  EXPECT_TRUE(icon.IconVisible());  // the stored value survives the preview
}

}  // namespace

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "TestSupport.h"
#include "device/SimulatedZarvo.h"
#include "platform/Application.h"

namespace {

// Collects what the device sends, as the form's handlers would see it.
struct Recorder : IZarvoEvents {
  QList<QStringList> levels;
  QList<QStringList> calls;
  void Invoke(int dispId, const QStringList& args) override {
    if (dispId == DISPID_OnSignalA)
      levels << args;
    else if (dispId == DISPID_OnCallerID)
      calls << args;
  }
};

struct Device {
  TSimulatedZarvo zarvo;
  Recorder events;
  explicit Device(quint32 seed) : zarvo(seed) {
    zarvo.SetManualStepping(true);
    zarvo.Advise(&events);
    zarvo.Start();
  }
  void Run(int steps) {
    for (int i = 0; i < steps; ++i) zarvo.Step();
  }
  QString Command(const QString& c) {
    QString r;
    EXPECT_EQ(zarvo.Command(c, r), S_OK) << c.toStdString();
    return r;
  }
  int LatestLevel(int line) const { return events.levels.last().at(line - 1).toInt(); }
};

TEST(SimulatedDevice, AnswersModelAndSerialOnlyOnceStarted) {
  TSimulatedZarvo zarvo(7);
  QString r;
  EXPECT_EQ(zarvo.Command("devicemodel", r), S_OK);
  EXPECT_TRUE(r.isEmpty());
  EXPECT_EQ(zarvo.Command("serial", r), S_OK);
  EXPECT_TRUE(r.isEmpty());
  zarvo.SetManualStepping(true);
  zarvo.Start();
  EXPECT_EQ(zarvo.Command("devicemodel", r), S_OK);
  EXPECT_FALSE(r.isEmpty());
  EXPECT_EQ(zarvo.Command("serial", r), S_OK);
  EXPECT_TRUE(QRegularExpression("^ZRV4-\\d{6}$").match(r).hasMatch()) << r.toStdString();
  EXPECT_EQ(zarvo.Command("reboot", r), E_FAIL);
}

TEST(SimulatedDevice, LevelsComeSeveralTimesASecondAndRestLow) {
  Device d(1);
  const int steps = 1000 / TSimulatedZarvo::kStepMs;  // one second
  d.Run(steps);
  EXPECT_EQ(d.events.levels.size(), steps / TSimulatedZarvo::kLevelEverySteps);
  for (const QStringList& report : d.events.levels) {
    ASSERT_EQ(report.size(), 8);
    for (int line = 1; line <= 4; ++line) {
      bool ok = false;
      const int v = report[line - 1].toInt(&ok);
      ASSERT_TRUE(ok);
      ASSERT_GE(v, 0);
      if (d.zarvo.BaseLevel(line) <= 2) {
        EXPECT_LE(v, 2);
      }
    }
  }
}

TEST(SimulatedDevice, CallsRingTheirLineAndCarryAPlausibleTurkishNumber) {
  Device d(42);
  int ringingReports = 0;
  for (int i = 0; i < 3000; ++i) {
    d.zarvo.Step();
    for (int line = 1; line <= 4; ++line)
      if (d.zarvo.BaseLevel(line) > 20) ++ringingReports;
  }
  ASSERT_GE(d.events.calls.size(), 20);  // a call every few seconds over five minutes
  EXPECT_GT(ringingReports, 0);
  QSet<QString> lines;
  QStringList numbers;
  for (const QStringList& call : d.events.calls) {
    ASSERT_EQ(call.size(), 5);
    EXPECT_EQ(call[0], d.zarvo.Serial());
    lines << call[1];
    EXPECT_TRUE(QRegularExpression("^(0[2-5]\\d{9}|Gizli numara|Numara yok)$").match(call[2]).hasMatch())
        << call[2].toStdString();
    numbers << call[2];
    EXPECT_TRUE(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d$").match(call[3]).hasMatch());
  }
  EXPECT_EQ(lines, (QSet<QString>{"1", "2", "3", "4"}));
  // Now and then a caller withholds the number or has none to send.
  EXPECT_TRUE(numbers.contains(QStringLiteral("Gizli numara")));
  EXPECT_TRUE(numbers.contains(QStringLiteral("Numara yok")));
}

TEST(SimulatedDevice, SameSeedSameDeviceOtherSeedOtherDevice) {
  Device a(5), b(5), c(6);
  a.Run(600);
  b.Run(600);
  c.Run(600);
  auto numbers = [](const Device& d) {
    QStringList n;
    for (const auto& call : d.events.calls) n << call[1] + "/" + call[2];
    return n;
  };
  EXPECT_EQ(a.zarvo.Serial(), b.zarvo.Serial());
  EXPECT_EQ(numbers(a), numbers(b));
  EXPECT_EQ(a.events.levels, b.events.levels);
  EXPECT_NE(numbers(a), numbers(c));
}

TEST(SimulatedDevice, SeizedLineRisesWhileSeizedAndMoreWhileDialling) {
  Device d(3);
  d.Command("LineStatus1");
  EXPECT_EQ(d.zarvo.SeizedLine(), 1);
  d.Run(2);
  EXPECT_GE(d.LatestLevel(1), 10);
  d.Command("dial05321234567");
  EXPECT_EQ(d.zarvo.LastDialled(), QStringLiteral("05321234567"));
  d.Run(2);
  EXPECT_GE(d.LatestLevel(1), 16);
  d.Run(20);
  EXPECT_LE(d.LatestLevel(1), 14);  // dialling over, still seized
  d.Command("LineStatus0");
  d.Run(2);
  EXPECT_EQ(d.zarvo.SeizedLine(), 0);
  if (d.zarvo.BaseLevel(1) <= 2) {
    EXPECT_LE(d.LatestLevel(1), 2);
  }
  d.Command("dial");
  EXPECT_EQ(d.zarvo.LastDialled(), QString());
}

TEST(SimulatedDevice, EventsReachTheFormThroughTheHostedControl) {
  RegisterShippedZarvo(11);
  TComponent owner;
  TZarvo zarvo(&owner);
  auto* device = dynamic_cast<TSimulatedZarvo*>(zarvo.ControlInterface());
  ASSERT_NE(device, nullptr);
  device->SetManualStepping(true);
  QStringList seen;
  TObject* sender = nullptr;
  zarvo.OnSignalA = [&](TObject* s, auto&... levels) {
    sender = s;
    seen << QStringList{levels...}.join(',');
  };
  zarvo.Start();
  device->Step();
  device->Step();
  ASSERT_EQ(seen.size(), 1);
  EXPECT_EQ(sender, &zarvo);
  EXPECT_EQ(seen[0].count(','), 7);
  EXPECT_EQ(zarvo.Command("devicemodel"), device->Model());
  EXPECT_THROW(zarvo.Command("nonsense"), EOleError);
}

TEST(SimulatedDevice, RunsOnItsOwnTimerOnceStarted) {
  TSimulatedZarvo zarvo(9);
  Recorder events;
  zarvo.Advise(&events);
  zarvo.Start();
  EXPECT_TRUE(WaitFor([&] { return events.levels.size() >= 2; }, 2000));
}

TEST(SimulatedDevice, AnErrorInAStepReachesTheApplicationAndTheDeviceRunsOn) {
  struct Failing : IZarvoEvents {
    int calls = 0;
    void Invoke(int, const QStringList&) override {
      ++calls;
      throw EConvertError(QStringLiteral("step"));
    }
  } sink;
  QStringList errors;
  Application->OnException = [&](TObject*, const Exception& e) { errors << e.Message(); };
  TSimulatedZarvo zarvo(9);
  zarvo.Advise(&sink);
  zarvo.Start();
  EXPECT_TRUE(WaitFor([&] { return errors.size() >= 2; }, 2000));
  Application->OnException = nullptr;
  zarvo.SetManualStepping(true);
  EXPECT_EQ(errors.size(), sink.calls);
  EXPECT_EQ(errors.first(), QStringLiteral("step"));
}

}  // namespace

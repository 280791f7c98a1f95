#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <iostream>

#include "DeviceTestSupport.h"
#include "ScriptedModem.h"
#include "device/AudioZarvo.h"
#include "device/CommandLine.h"
#include "device/DeviceError.h"
#include "device/DeviceWindow.h"
#include "device/OpenDevice.h"
#include "device/SerialZarvo.h"
#include "device/SimulatedZarvo.h"
#include "grid/GridView.h"

namespace {

using namespace devtest;

// One kind of device control, started, with its events recorded; MakeCall
// has its device deliver one caller-ID report.
struct DeviceBench {
  virtual ~DeviceBench() = default;
  virtual TDeviceControl& Control() = 0;
  virtual void MakeCall() = 0;
  QString Command(const QString& c) {
    QString r;
    EXPECT_EQ(Control().Command(c, r), S_OK) << c.toStdString();
    return r;
  }
  bool WaitReady() {
    return WaitFor([&] { return !Command(ZarvoCommandText(TZarvoCommand::zcDeviceModel)).isEmpty(); }, 3000);
  }
  void Start() {
    Control().Advise(&events);
    Control().Start();
  }
  EventRecorder events;
};

struct SimulatedBench : DeviceBench {
  SimulatedBench() {
    zarvo.SetManualStepping(true);
    Start();
  }
  TDeviceControl& Control() override { return zarvo; }
  void MakeCall() override {
    const int before = events.calls.size();
    for (int i = 0; i < 1000 && events.calls.size() == before; ++i) zarvo.Step();
  }
  TSimulatedZarvo zarvo{5};
};

struct SerialBench : DeviceBench {
  SerialBench() {
    modem.answers = {{"AT+GMM", {"CX93001", "OK"}}, {"AT+GSN", {"SN77", "OK"}}};
    zarvo = std::make_unique<TSerialZarvo>(QStringList{modem.Path()});
    Start();
  }
  TDeviceControl& Control() override { return *zarvo; }
  void MakeCall() override {
    const int before = events.calls.size();
    modem.Send("NMBR = 05321234567\r\n");
    WaitFor([&] { return events.calls.size() > before; });
  }
  ScriptedModem modem;
  std::unique_ptr<TSerialZarvo> zarvo;
};

// The wav device as the command line opens it, replaying a recorded call.
struct WavBench : DeviceBench {
  WavBench() {
    const QString file = dir.filePath("call.wav");
    TLineAudio audio;
    audio.samples = GenerateBurst(Request(TSignalKind::skV23));
    WriteWav(file, audio);
    TDeviceChoice choice;
    choice.kind = TDeviceChoice::dkWav;
    choice.file = file;
    RegisterDevice(choice);
    control = CreateZarvoObject(CLASS_Zarvo);
    UnregisterZarvoClass(CLASS_Zarvo);
    Start();
  }
  TDeviceControl& Control() override { return dynamic_cast<TDeviceControl&>(*control); }
  void MakeCall() override {
    const int before = events.calls.size();
    WaitFor([&] { return events.calls.size() > before; }, 4000);
  }
  QTemporaryDir dir;
  std::unique_ptr<IZarvo> control;
};

struct KindRow {
  const char* name;
  std::function<std::unique_ptr<DeviceBench>()> make;
  const char* kind;
  int lines;
};

void PrintTo(const KindRow& row, std::ostream* os) { *os << row.name; }

class EveryDeviceControl : public ::testing::TestWithParam<KindRow> {};

INSTANTIATE_TEST_SUITE_P(
    Kinds, EveryDeviceControl,
    ::testing::Values(KindRow{"Simulated", [] { return std::make_unique<SimulatedBench>(); }, "Yerleşik simülasyon", 4},
                      KindRow{"SerialModem", [] { return std::make_unique<SerialBench>(); }, "Seri modem", 1},
                      KindRow{"Wav", [] { return std::make_unique<WavBench>(); }, "WAV kaydı", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(EveryDeviceControl, AnswersTheContractAlikeAndShowsItselfInItsWindow) {
  const KindRow& row = GetParam();
  ErrorReport errors;
  const RecordFileForTest record;
  std::unique_ptr<DeviceBench> bench = row.make();
  TDeviceControl& control = bench->Control();
  ASSERT_TRUE(bench->WaitReady());
  const QString model = bench->Command(ZarvoCommandText(TZarvoCommand::zcDeviceModel));
  const QString serial = bench->Command(ZarvoCommandText(TZarvoCommand::zcSerial));
  EXPECT_FALSE(serial.isEmpty());
  // An unknown command fails the same way on every device, with its reason.
  EXPECT_EQ(Hosted(control).ErrorOf(QStringLiteral("reboot")), QStringLiteral("Bilinmeyen komut: 'reboot'"));

  bench->MakeCall();
  ASSERT_EQ(bench->events.calls.size(), 1);
  EXPECT_EQ(bench->events.calls[0][0], serial);
  const QString number = bench->events.calls[0][2];

  // A double click on the control's face opens the device's window.
  QWidget* face = control.Window();
  face->show();
  QTest::mouseDClick(face, Qt::LeftButton);
  TDeviceWindow* window = control.DeviceWindow();
  ASSERT_TRUE(window);
  EXPECT_TRUE(window->isVisible());
  QStringList pages;
  for (int i = 0; i < window->Pages()->count(); ++i) pages << window->Pages()->tabText(i);
  EXPECT_EQ(pages, (QStringList{"Durum", "Çerçeveler", "Kayıtlar", "Hakkında"}));
  EXPECT_EQ(window->Value(QStringLiteral("Cihaz")), QString::fromUtf8(row.kind));
  EXPECT_EQ(window->Value(QStringLiteral("Cihaz türü")), QString::fromUtf8(row.kind));
  EXPECT_EQ(window->Value(QStringLiteral("Model")), model);
  EXPECT_EQ(window->Value(QStringLiteral("Seri no")), serial);
  EXPECT_EQ(window->Value(QStringLiteral("Hat sayısı")), QString::number(row.lines));
  EXPECT_EQ(window->Value(QStringLiteral("Durum")), QStringLiteral("Bağlı"));
  EXPECT_FALSE(window->Value(QStringLiteral("Şu an")).isEmpty());
  EXPECT_FALSE(window->Value(QStringLiteral("Bağlantı")).isEmpty());
  EXPECT_TRUE(window->Value(QStringLiteral("Sürüm")).endsWith(VersionText().section(' ', 1)));

  // The session runs live, line by line: the call is counted on its line.
  EXPECT_EQ(window->Value(QStringLiteral("Kayıt")), record.path);
  EXPECT_TRUE(window->Value(QStringLiteral("Oturum")).endsWith(QStringLiteral("EKSİK")));
  TGridView* lines = window->Lines();
  ASSERT_EQ(lines->RowCount(), row.lines);
  const int callLine = bench->events.calls[0][1].toInt();
  EXPECT_EQ(lines->CellText(1, callLine - 1), QStringLiteral("1"));

  // The frame log holds the call and the refused command, newest first, for every kind.
  TGridView* frames = window->Frames();
  QStringList verdicts, raws;
  for (int r = 0; r < frames->RowCount(); ++r) {
    verdicts << frames->CellText(5, r);
    raws << frames->CellText(3, r);
  }
  EXPECT_TRUE(verdicts.contains(QStringLiteral("iyi"))) << verdicts.join('|').toStdString();
  const QStringList fields = [&] {
    QStringList f;
    for (int r = 0; r < frames->RowCount(); ++r) f << frames->CellText(4, r);
    return f;
  }();
  EXPECT_FALSE(fields.filter(QStringLiteral("numara ") + bench->events.calls[0][2]).isEmpty());

  // Painted in the window's colours: the blank end of the newest row's last cell.
  const QImage image = frames->grab().toImage();
  EXPECT_EQ(image.pixel(frames->width() - 40, 20 + 9), qRgb(255, 255, 255));

  // Line commands reach the log too, sent or refused.
  Hosted(control).ErrorOf(ZarvoCommandText(TZarvoCommand::zcLineOn));
  ASSERT_GT(frames->RowCount(), 0);
  EXPECT_EQ(frames->CellText(3, 0), QStringLiteral("LineStatus1"));
  EXPECT_TRUE(errors.lines.isEmpty()) << errors.lines.join('\n').toStdString();
  window->close();

  // Once the control is gone its session is in the record, with its call.
  bench.reset();
  const TRecordStore store(record.path);
  const std::vector<TSessionRow> sessions = store.Sessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].serial, serial);
  EXPECT_EQ(sessions[0].model, model);
  EXPECT_FALSE(sessions[0].ended.isEmpty());
  const std::vector<TCallRow> calls = store.Calls(sessions[0].id);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].number, number);
}

// --- why a device does not answer -----------------------------------------------

TEST(DeviceAbsence, AModemThatNeverAnswersSaysSoWithinThreeSecondsAndOnce) {
  ScriptedModem modem;
  modem.answers = {{"ATE0", {}}};  // listed without lines: never answered
  ErrorReport errors;
  TSerialZarvo zarvo({modem.Path()});
  zarvo.Start();
  zarvo.ShowAbout();
  const QString expected =
      QStringLiteral("Hat 1: %1 portundaki modem AT komutlarına 2 saniye içinde yanıt vermedi").arg(modem.Path());
  QElapsedTimer since;
  since.start();
  // Polled as the main window polls it, every half second.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QString model;
    zarvo.Command(ZarvoCommandText(TZarvoCommand::zcDeviceModel), model);
  });
  poll.start(500);
  ASSERT_TRUE(WaitFor([&] { return !errors.lines.isEmpty(); }, 3000));
  EXPECT_LE(since.elapsed(), 3000);
  EXPECT_EQ(zarvo.DeviceWindow()->Value(QStringLiteral("Durum")), QStringLiteral("Bağlantı bekleniyor: ") + expected);
  Pump(2500);  // it is asked again and still says nothing: no second report
  EXPECT_EQ(errors.lines, QStringList{expected});
  EXPECT_TRUE(zarvo.LastError().endsWith(expected));
}

TEST(DeviceAbsence, APortWithoutPermissionSaysHowToGetIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // the child starts afresh: Qt's threads do not survive a fork
  ScriptedModem modem;
  const QByteArray node = QFileInfo(modem.Path()).symLinkTarget().toLocal8Bit();
  ASSERT_EQ(::chmod(node.constData(), 0), 0);
  // No one may open it; file modes do not stop root, so the child drops it first.
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::exit(3);
        try {
          TSerialZarvo zarvo({modem.Path()});
        } catch (const EDeviceError& e) {
          std::cerr << e.WhyOrMessage().toStdString();
          std::exit(0);
        }
        std::exit(4);
      },
      ::testing::ExitedWithCode(0), "Hat 1: .* portunu açma izni yok; kullanıcıyı dialout grubuna ekleyin");
}

}  // namespace

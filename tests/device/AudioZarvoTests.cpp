#include <gtest/gtest.h>

#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "DeviceTestSupport.h"
#include "device/AudioZarvo.h"
#include "device/DeviceError.h"
#include "device/DeviceWindow.h"
#include "device/OpenDevice.h"
#include "device/WavFile.h"
#include "grid/GridView.h"
#include "platform/Exceptions.h"

namespace {

using namespace devtest;

// Interleaves mono lines into frames; shorter lines are padded with silence.
TLineAudio Lines(const std::vector<std::vector<int16_t>>& lines) {
  TLineAudio audio;
  audio.channels = int(lines.size());
  size_t frames = 0;
  for (const auto& l : lines) frames = std::max(frames, l.size());
  audio.samples.assign(frames * lines.size(), 0);
  for (size_t c = 0; c < lines.size(); ++c)
    for (size_t i = 0; i < lines[c].size(); ++i) audio.samples[i * lines.size() + c] = lines[c][i];
  return audio;
}

// A sound card that can be unplugged and plugged back: reads fail while it
// is out, and so does opening it. Tests append samples to what it captures.
struct Card {
  struct Capture : TSampleSource {
    Capture(Card& c) : card(c), source(TLineAudio{c.channels, 8000, {}}) {}
    int Channels() const override { return source.Channels(); }
    int Read(int16_t* frames, int max) override {
      if (!card.plugged) throw EDeviceError(QStringLiteral("card removed"));
      return source.Read(frames, max);
    }
    Card& card;
    TMemorySource source;
  };

  TAudioZarvo::TOpener Opener() {
    return [this]() -> std::unique_ptr<TSampleSource> {
      ++opens;
      if (!plugged) throw EDeviceError(QStringLiteral("no such card"));
      auto capture = std::make_unique<Capture>(*this);
      current = &capture->source;
      return capture;
    };
  }

  TMemorySource* current = nullptr;
  bool plugged = true;
  int opens = 0;
  int channels = 1;
};

struct AudioDevice {
  explicit AudioDevice(TAudioZarvo::TOpener open)
      : zarvo(std::move(open), QStringLiteral("Test kartı (1 hat)"), "SN-1") {
    zarvo.SetManualFetching(true);
    zarvo.Advise(&events);
    zarvo.Start();
  }
  QString Command(const QString& c) {
    QString r;
    EXPECT_EQ(zarvo.Command(c, r), S_OK) << c.toStdString();
    return r;
  }
  TAudioZarvo zarvo;
  EventRecorder events;
};

TAudioZarvo::TOpener FromMemory(TLineAudio audio) {
  return [audio] { return std::make_unique<TMemorySource>(audio); };
}

TEST(AudioDevice, RaisesOneCallPerBurstWithTheContractsTexts) {
  TBurstRequest request = Request(TSignalKind::skV23);
  AudioDevice d(FromMemory(Lines({GenerateBurst(request)})));
  d.zarvo.Fetch(TAudioZarvo::kAll);
  ASSERT_EQ(d.events.calls.size(), 1);
  const QStringList call = d.events.calls[0];
  ASSERT_EQ(call.size(), 5);
  EXPECT_EQ(call[0], QStringLiteral("SN-1"));  // DeviceID
  EXPECT_EQ(call[1], QStringLiteral("1"));     // Line
  EXPECT_EQ(call[2], QStringLiteral("05321234567"));
  EXPECT_EQ(call[3], QStringLiteral("21.03.%1 14:05:00").arg(QDate::currentDate().year()));
  EXPECT_EQ(call[4], QStringLiteral("V.23; ad: AHMET YILMAZ"));
}

TEST(AudioDevice, UnavailableNumberComesAsTextWithItsReason) {
  TBurstRequest request = Request(TSignalKind::skBell202, QString());
  request.numberAbsent = u'O';
  AudioDevice d(FromMemory(Lines({GenerateBurst(request)})));
  d.zarvo.Fetch(TAudioZarvo::kAll);
  ASSERT_EQ(d.events.calls.size(), 1);
  EXPECT_EQ(d.events.calls[0][2], QStringLiteral("Numara yok"));
  EXPECT_EQ(d.events.calls[0][4], QStringLiteral("Bell 202; ad: AHMET YILMAZ; numara alınamadı"));
}

TEST(AudioDevice, TwoLinesAtOnceKeepTheirOwnCalls) {
  std::vector<int16_t> line1 = GenerateBurst(Request(TSignalKind::skBell202, QStringLiteral("02121111111")));
  std::vector<int16_t> line2 = Silence(100);
  line2 += GenerateBurst(Request(TSignalKind::skV23, QStringLiteral("03122222222")));
  AudioDevice d(FromMemory(Lines({line1, line2})));
  EXPECT_EQ(d.zarvo.Lines(), 2);
  d.zarvo.Fetch(TAudioZarvo::kAll);
  ASSERT_EQ(d.events.calls.size(), 2);
  QStringList got;
  for (const QStringList& c : d.events.calls) got << c[1] + "=" + c[2] + " " + c[4].section(';', 0, 0);
  got.sort();
  EXPECT_EQ(got, (QStringList{"1=02121111111 Bell 202", "2=03122222222 V.23"}));
}

TEST(AudioDevice, ReportsEightLevelsFiveTimesASecondOfAudio) {
  // Line 1 quiet, line 2 a tone at -20 dBm0, three seconds.
  AudioDevice d(FromMemory(Lines({Silence(3000), Tone(1000, -20, 3000)})));
  d.zarvo.Fetch(TAudioZarvo::kAll);
  ASSERT_EQ(d.events.levels.size(), 15);
  for (const QStringList& levels : d.events.levels)
    EXPECT_EQ(levels, (QStringList{"0", "20", "0", "0", "0", "0", "0", "0"}));
}

TEST(AudioDevice, ALevelReportBetweenTwoCallsComesBetweenThem) {
  std::vector<int16_t> line = GenerateBurst(Request(TSignalKind::skDtmf, QStringLiteral("111")));
  line += Silence(1000);
  line += GenerateBurst(Request(TSignalKind::skDtmf, QStringLiteral("222")));
  AudioDevice d(FromMemory(Lines({line})));
  QStringList order;
  struct Order : IZarvoEvents {
    QStringList* order;
    void Invoke(int id, const QStringList& args) override {
      if (id == DISPID_OnCallerID) *order << args[2];
      if (id == DISPID_OnSignalA && (order->isEmpty() || order->last() != "L")) *order << "L";
    }
  } sink;
  sink.order = &order;
  d.zarvo.Advise(&sink);
  d.zarvo.Fetch(TAudioZarvo::kAll);
  EXPECT_EQ(order.filter(QRegularExpression("^\\d+$")), (QStringList{"111", "222"}));
  EXPECT_EQ(order.indexOf("111") + 2, order.indexOf("222")) << order.join(' ').toStdString();  // 111 L 222
}

TEST(AudioDevice, ASourceThatNeverRunsDryGivesASecondPerFetch) {
  // As ALSA's null device does: every read is answered in full at once.
  struct Endless : TSampleSource {
    int Channels() const override { return 1; }
    int Read(int16_t* frames, int max) override {
      std::fill(frames, frames + max, int16_t(0));
      return max;
    }
  };
  AudioDevice d([] { return std::make_unique<Endless>(); });
  d.zarvo.Fetch();
  EXPECT_EQ(d.events.levels.size(), 5);
  d.zarvo.Fetch();
  EXPECT_EQ(d.events.levels.size(), 10);
}

TEST(AudioDevice, RunsOnItsTimerAndRaisesEventsOnTheUserInterfaceThread) {
  TAudioZarvo zarvo(FromMemory(Lines({GenerateBurst(Request(TSignalKind::skBell202))})), "m", "s");
  EventRecorder events;
  zarvo.Advise(&events);
  zarvo.Start();
  ASSERT_TRUE(WaitFor([&] { return !events.calls.isEmpty(); }, 2000));
  EXPECT_FALSE(events.offThread);
}

TEST(AudioDevice, AnswersModelAndSerialOnlyOnceStarted) {
  TAudioZarvo zarvo(FromMemory(Lines({Silence(10)})), QStringLiteral("Ses girişi x (1 hat)"), "ALSA x");
  zarvo.SetManualFetching(true);
  QString r;
  EXPECT_EQ(zarvo.Command("devicemodel", r), S_OK);
  EXPECT_EQ(r, QString());
  zarvo.Start();
  EXPECT_EQ(zarvo.Command("devicemodel", r), S_OK);
  EXPECT_EQ(r, QStringLiteral("Ses girişi x (1 hat)"));
  EXPECT_EQ(zarvo.Command("serial", r), S_OK);
  EXPECT_EQ(r, QStringLiteral("ALSA x"));
}

struct RefusedRow {
  const char* name;
  const char* command;
  const char* error;
};

void PrintTo(const RefusedRow& row, std::ostream* os) { *os << row.name; }

class AudioDeviceRefuses : public ::testing::TestWithParam<RefusedRow> {};

INSTANTIATE_TEST_SUITE_P(
    Commands, AudioDeviceRefuses,
    ::testing::Values(
        RefusedRow{"TakeLine", "LineStatus1", "'LineStatus1': bu cihaz hat komutlarını desteklemiyor (ses girişi)"},
        RefusedRow{"ReleaseLine", "LineStatus0", "'LineStatus0': bu cihaz hat komutlarını desteklemiyor (ses girişi)"},
        RefusedRow{"Dial", "dial0532", "'dial0532': bu cihaz hat komutlarını desteklemiyor (ses girişi)"},
        RefusedRow{"Unknown", "reboot", "Bilinmeyen komut: 'reboot'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(AudioDeviceRefuses, WithAClearErrorThroughTheHostedControl) {
  AudioDevice d(FromMemory(Lines({Silence(10)})));
  Hosted hosted(d.zarvo);
  EXPECT_EQ(hosted.ErrorOf(QString::fromUtf8(GetParam().command)), QString::fromUtf8(GetParam().error));
}

// A control that fails its commands, with or without a description.
struct Failing : IZarvo {
  HRESULT GetFormVisible(bool&) override { return S_OK; }
  HRESULT SetFormVisible(bool) override { return S_OK; }
  HRESULT ShowAbout() override { return S_OK; }
  HRESULT Start() override { return S_OK; }
  HRESULT Command(const QString& c, QString&) override {
    if (c == QLatin1String("described")) SetZarvoErrorInfo(QStringLiteral("what went wrong"));
    if (c == QLatin1String("succeeds after describing")) {
      SetZarvoErrorInfo(QStringLiteral("left behind"));
      return S_OK;
    }
    return c == QLatin1String("fine") ? S_OK : E_FAIL;
  }
  void Advise(IZarvoEvents*) override {}
};

TEST(ErrorInfo, ADescriptionGoesWithItsOwnFailureOnly) {
  Failing control;
  Hosted hosted(control);
  EXPECT_EQ(hosted.ErrorOf("described"), QStringLiteral("what went wrong"));
  EXPECT_EQ(hosted.ErrorOf("bare"), QStringLiteral("OLE error 80004005"));
  EXPECT_EQ(hosted.ErrorOf("succeeds after describing"), QString());
  EXPECT_EQ(hosted.ErrorOf("bare"), QStringLiteral("OLE error 80004005"));
}

TEST(AudioDevice, LostCardEmptiesTheModelAndComesBackThroughThePoll) {
  Card card;
  AudioDevice d(card.Opener());
  card.current->Append(GenerateBurst(Request(TSignalKind::skV23, QStringLiteral("111"))));
  d.zarvo.Fetch(TAudioZarvo::kAll);
  ASSERT_EQ(d.events.calls.size(), 1);

  card.plugged = false;
  d.zarvo.Fetch(TAudioZarvo::kAll);  // the read fails: the card is gone
  EXPECT_EQ(d.Command("devicemodel"), QString());
  EXPECT_EQ(d.Command("serial"), QString());
  const int opensWhileOut = card.opens;
  EXPECT_EQ(d.Command("devicemodel"), QString());
  EXPECT_EQ(card.opens, opensWhileOut + 1);  // every poll tries again
  const int levelsWhileOut = d.events.levels.size();
  d.zarvo.Fetch(TAudioZarvo::kAll);
  EXPECT_EQ(d.events.levels.size(), levelsWhileOut);

  card.plugged = true;
  EXPECT_EQ(d.Command("devicemodel"), QStringLiteral("Test kartı (1 hat)"));
  card.current->Append(GenerateBurst(Request(TSignalKind::skV23, QStringLiteral("222"))));
  d.zarvo.Fetch(TAudioZarvo::kAll);
  ASSERT_EQ(d.events.calls.size(), 2);
  EXPECT_EQ(d.events.calls[1][2], QStringLiteral("222"));
}

TEST(AudioDevice, CardWithOtherChannelsIsNotTakenBack) {
  Card card;
  AudioDevice d(card.Opener());
  card.plugged = false;
  d.zarvo.Fetch(TAudioZarvo::kAll);
  card.plugged = true;
  card.channels = 2;
  EXPECT_EQ(d.Command("devicemodel"), QString());
}

TEST(AudioDevice, DamagedMessageGoesToTheErrorReportNotTheList) {
  ErrorReport report;
  std::vector<int16_t> line = Silence(100);
  line += RawFskBurst(QByteArray::fromHex("041230393330313232343630393535353132313252"));
  line += Silence(1000);
  AudioDevice d(FromMemory(Lines({line})));
  d.zarvo.Fetch(TAudioZarvo::kAll);
  EXPECT_TRUE(d.events.calls.isEmpty());
  EXPECT_EQ(report.lines, QStringList{QStringLiteral("Hat 1: bozuk arayan numara mesajı (Bell 202, sağlama hatalı)")});
}

TEST(AudioDevice, OwnWindowShowsTheLastRawFramesNewestFirst) {
  std::vector<int16_t> line = GenerateBurst(Request(TSignalKind::skBell202, QStringLiteral("0212")));
  line += RawFskBurst(QByteArray::fromHex("041230393330313232343630393535353132313252"));
  line += Silence(1000);
  AudioDevice d(FromMemory(Lines({line})));
  ErrorReport quiet;
  d.zarvo.Fetch(TAudioZarvo::kAll);
  ASSERT_EQ(d.zarvo.ShowAbout(), S_OK);
  TDeviceWindow* window = d.zarvo.DeviceWindow();
  ASSERT_TRUE(window);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->Value(QStringLiteral("Model")), QStringLiteral("Test kartı (1 hat)"));
  EXPECT_EQ(window->Value(QStringLiteral("Seri no")), QStringLiteral("SN-1"));
  TGridView* table = window->Frames();
  ASSERT_EQ(table->RowCount(), 2);
  EXPECT_EQ(table->CellText(1, 0), QStringLiteral("1"));
  EXPECT_EQ(table->CellText(2, 0), QStringLiteral("Bell 202"));
  EXPECT_EQ(table->CellText(3, 0), QStringLiteral("04 12 30 39 33 30 31 32 32 34 36 30 39 35 35 35 31 32 31 32 52"));
  EXPECT_EQ(table->CellText(5, 0), QStringLiteral("sağlama hatalı"));
  EXPECT_TRUE(table->CellText(3, 1).startsWith(QStringLiteral("80 ")));
  EXPECT_EQ(table->CellText(4, 1), QStringLiteral("numara 0212, ad AHMET YILMAZ, tarih 03211405"));
  EXPECT_EQ(table->CellText(5, 1), QStringLiteral("iyi"));
  window->close();
}

TEST(AudioDevice, RingsBeforeACallAreCountedInItsOtherText) {
  std::vector<int16_t> line;
  for (int i = 0; i < 2; ++i) {
    line += Tone(25, -5, 1000);
    line += Silence(2000);
  }
  line += GenerateBurst(Request(TSignalKind::skV23));
  AudioDevice d(FromMemory(Lines({line})));
  d.zarvo.Fetch(TAudioZarvo::kAll);
  ASSERT_EQ(d.events.calls.size(), 1);
  EXPECT_EQ(d.events.calls[0][4], QStringLiteral("V.23; 2 zil; ad: AHMET YILMAZ"));
}

TEST(RecordedLine, ReplaysAtThePaceItWasRecordedThenSilence) {
  TLineAudio audio = Lines({Tone(1000, -10, 1000)});
  int64_t now = 0;
  TPacedSource source(audio, [&] { return now; });
  std::vector<int16_t> out(16000);
  EXPECT_EQ(source.Read(out.data(), 16000), 0);
  now = 250;
  EXPECT_EQ(source.Read(out.data(), 16000), 2000);
  now = 1500;
  EXPECT_EQ(source.Read(out.data(), 100), 100);  // no more than asked
  EXPECT_EQ(source.Read(out.data(), 16000), 9900);
  // Frames 2100 to 7999 are the tone, the rest silence past the recording's end.
  EXPECT_TRUE(std::any_of(out.begin(), out.begin() + 5900, [](int16_t s) { return s != 0; }));
  EXPECT_TRUE(std::all_of(out.begin() + 5900, out.begin() + 9900, [](int16_t s) { return s == 0; }));
}

TEST(RecordedLine, WavDeviceDeliversTheCallToTheFormsEventSink) {
  QTemporaryDir dir;
  const QString file = dir.filePath("call.wav");
  WriteWav(file, Lines({GenerateBurst(Request(TSignalKind::skBell202))}));
  TDeviceChoice device;
  device.kind = TDeviceChoice::dkWav;
  device.file = file;
  RegisterDevice(device);
  TComponent owner;
  TZarvo zarvo(&owner);
  QStringList call;
  zarvo.OnCallerID = [&](TObject*, const QString& id, const QString& line, const QString& number, const QString&,
                         const QString&) {
    call = {id, line, number};
  };
  zarvo.Start();
  EXPECT_EQ(zarvo.Command("devicemodel"), QStringLiteral("Kayıt call.wav (1 hat)"));
  ASSERT_TRUE(WaitFor([&] { return !call.isEmpty(); }, 3000));
  EXPECT_EQ(call, (QStringList{"wav:call.wav", "1", "05321234567"}));
  UnregisterZarvoClass(CLASS_Zarvo);
}

}  // namespace

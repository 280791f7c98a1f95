#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "DeviceTestSupport.h"
#include "ScriptedModem.h"
#include "device/CommandLine.h"
#include "device/DeviceError.h"
#include "device/OpenDevice.h"
#include "device/SelfTest.h"
#include "device/WavFile.h"

namespace {

TDeviceChoice Serial(QStringList ports) {
  TDeviceChoice d;
  d.kind = TDeviceChoice::dkSerial;
  d.ports = std::move(ports);
  return d;
}

TDeviceChoice Audio(QString pcm, int channels) {
  TDeviceChoice d;
  d.kind = TDeviceChoice::dkAudio;
  d.pcm = std::move(pcm);
  d.channels = channels;
  return d;
}

TDeviceChoice Wav(QString file) {
  TDeviceChoice d;
  d.kind = TDeviceChoice::dkWav;
  d.file = std::move(file);
  return d;
}

struct ChoiceRow {
  const char* name;
  const char* text;
  std::optional<TDeviceChoice> choice;  // nullopt: the error below
  const char* error = "";
};

void PrintTo(const ChoiceRow& row, std::ostream* os) { *os << row.name; }

class DeviceChoices : public ::testing::TestWithParam<ChoiceRow> {};

const char* const kUsage = "use sim, serial:PORT[,PORT...], audio:PCM[:CHANNELS] or wav:FILE";

INSTANTIATE_TEST_SUITE_P(
    Texts, DeviceChoices,
    ::testing::Values(
        ChoiceRow{"Simulated", "sim", TDeviceChoice{}},
        ChoiceRow{"OnePort", "serial:/dev/ttyACM0", Serial({"/dev/ttyACM0"})},
        ChoiceRow{"FourPorts", "serial:a,b,c,d", Serial({"a", "b", "c", "d"})},
        ChoiceRow{"FivePorts", "serial:a,b,c,d,e", std::nullopt,
                  "bad device 'serial:a,b,c,d,e': at most 4 serial ports"},
        ChoiceRow{"NoPort", "serial:", std::nullopt, "bad device 'serial:': a serial port name is empty"},
        ChoiceRow{"EmptyPortBetween", "serial:a,,b", std::nullopt,
                  "bad device 'serial:a,,b': a serial port name is empty"},
        ChoiceRow{"PortTwice", "serial:a,a", std::nullopt, "bad device 'serial:a,a': a serial port is named twice"},
        ChoiceRow{"AudioDefault", "audio:default", Audio("default", 1)},
        ChoiceRow{"AudioChannels", "audio:pulse:4", Audio("pulse", 4)},
        // ALSA reads a number after these as the card, as after hw.
        ChoiceRow{"AudioDefaultOnACard", "audio:default:1", Audio("default:1", 1)},
        ChoiceRow{"AudioDefaultOnACardWithChannels", "audio:default:1:4", Audio("default:1", 4)},
        ChoiceRow{"AudioDmixCard", "audio:dmix:2", Audio("dmix:2", 1)},
        ChoiceRow{"AudioSurroundCard", "audio:surround51:1", Audio("surround51:1", 1)},
        ChoiceRow{"AudioHdmiCard", "audio:hdmi:0", Audio("hdmi:0", 1)},
        ChoiceRow{"AudioCardNumberIsNoChannelCount", "audio:hw:1", Audio("hw:1", 1)},
        ChoiceRow{"AudioCardAndChannels", "audio:plughw:1:2", Audio("plughw:1", 2)},
        ChoiceRow{"AudioCardDevice", "audio:hw:1,0", Audio("hw:1,0", 1)},
        ChoiceRow{"AudioNamedCardAndChannels", "audio:plughw:CARD=USB,DEV=0:3", Audio("plughw:CARD=USB,DEV=0", 3)},
        ChoiceRow{"AudioFiveChannels", "audio:pulse:5", std::nullopt, "bad device 'audio:pulse:5': 1 to 4 channels"},
        ChoiceRow{"AudioNoChannels", "audio:pulse:0", std::nullopt, "bad device 'audio:pulse:0': 1 to 4 channels"},
        ChoiceRow{"AudioNothing", "audio:", std::nullopt, "bad device 'audio:': the capture device is missing"},
        ChoiceRow{"Wav", "wav:/tmp/a b.wav", Wav("/tmp/a b.wav")},
        ChoiceRow{"WavNoFile", "wav:", std::nullopt, "bad device 'wav:': the file is missing"},
        ChoiceRow{"Empty", "", std::nullopt, ""}, ChoiceRow{"UnknownKind", "usb:1", std::nullopt, ""},
        ChoiceRow{"NoKind", "/dev/ttyS0", std::nullopt, ""}, ChoiceRow{"CapitalSim", "SIM", std::nullopt, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(DeviceChoices, ParseOrSayWhatIsWrong) {
  const ChoiceRow& row = GetParam();
  const QString text = QString::fromUtf8(row.text);
  if (row.choice) {
    EXPECT_EQ(ParseDeviceChoice(text), *row.choice);
    return;
  }
  try {
    ParseDeviceChoice(text);
    FAIL() << "no error";
  } catch (const EDeviceError& e) {
    const QString expected = *row.error ? QString::fromUtf8(row.error)
                                        : QStringLiteral("bad device '%1': %2").arg(text, QString::fromUtf8(kUsage));
    EXPECT_EQ(e.Message(), expected);
  }
}

struct ArgsRow {
  const char* name;
  QStringList arguments;
  const char* variable;
  TCommandLine::TAction action;
  TDeviceChoice device;
  const char* error;
  const char* record = "";
  const char* output = "";
  const char* serial = "";
};

void PrintTo(const ArgsRow& row, std::ostream* os) { *os << row.name; }

class CommandLines : public ::testing::TestWithParam<ArgsRow> {};

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLines,
    ::testing::Values(
        ArgsRow{"NothingIsTheSimulatedDevice", {}, "", TCommandLine::caRun, {}, ""},
        ArgsRow{
            "DeviceOption", {"--device", "serial:/dev/ttyUSB0"}, "", TCommandLine::caRun, Serial({"/dev/ttyUSB0"}), ""},
        ArgsRow{"DeviceOptionWithEquals", {"--device=audio:pulse:2"}, "", TCommandLine::caRun, Audio("pulse", 2), ""},
        ArgsRow{"VariableGivesTheDevice", {}, "wav:x.wav", TCommandLine::caRun, Wav("x.wav"), ""},
        ArgsRow{"OptionWinsOverVariable", {"--device", "sim"}, "wav:x.wav", TCommandLine::caRun, {}, ""},
        ArgsRow{"BadVariable",
                {},
                "modem",
                TCommandLine::caRun,
                {},
                "bad device 'modem': use sim, serial:PORT[,PORT...], audio:PCM[:CHANNELS] or wav:FILE"},
        ArgsRow{"DeviceWithoutValue",
                {"--device"},
                "",
                TCommandLine::caRun,
                {},
                "--device needs a value: use sim, serial:PORT[,PORT...], audio:PCM[:CHANNELS] or wav:FILE"},
        // An empty value would hide the variable and quietly pick the simulated device.
        ArgsRow{"EmptyDeviceOption",
                {"--device="},
                "wav:x.wav",
                TCommandLine::caRun,
                {},
                "--device needs a value: use sim, serial:PORT[,PORT...], audio:PCM[:CHANNELS] or wav:FILE"},
        ArgsRow{"EmptyDeviceValue",
                {"--device", ""},
                "wav:x.wav",
                TCommandLine::caRun,
                {},
                "--device needs a value: use sim, serial:PORT[,PORT...], audio:PCM[:CHANNELS] or wav:FILE"},
        ArgsRow{"ListDevices", {"--list-devices"}, "", TCommandLine::caListDevices, {}, ""},
        ArgsRow{"SelfTest", {"--self-test"}, "", TCommandLine::caSelfTest, {}, ""},
        ArgsRow{"UnknownOption", {"--devices", "sim"}, "", TCommandLine::caRun, {}, "unknown option '--devices'"},
        ArgsRow{"QtOptionsAreLeftToQt", {"-platform", "offscreen"}, "", TCommandLine::caRun, {}, ""},
        ArgsRow{"Help", {"--help"}, "", TCommandLine::caHelp, {}, ""},
        ArgsRow{"Version", {"--version"}, "", TCommandLine::caVersion, {}, ""},
        ArgsRow{"HelpIgnoresABadVariable", {"--help"}, "modem", TCommandLine::caHelp, {}, ""},
        ArgsRow{"VersionIgnoresWhatFollows", {"--version", "--device"}, "", TCommandLine::caVersion, {}, ""},
        ArgsRow{"HelpWinsOverAnEarlierAction", {"--self-test", "--help"}, "", TCommandLine::caHelp, {}, ""},
        ArgsRow{
            "UnknownOptionBeforeHelp", {"--helps", "--help"}, "", TCommandLine::caRun, {}, "unknown option '--helps'"},
        ArgsRow{"RecordNone", {"--record", "none"}, "", TCommandLine::caRun, {}, "", "none"},
        ArgsRow{"ExportOneSerialOfAFile",
                {"--export-records=out.csv", "--serial", "ZRV4-1", "--record", "k.sqlite"},
                "",
                TCommandLine::caExportRecords,
                {},
                "",
                "k.sqlite",
                "out.csv",
                "ZRV4-1"},
        ArgsRow{"Report", {"--report", "ZRV4-1", "r.pdf"}, "", TCommandLine::caReport, {}, "", "", "r.pdf", "ZRV4-1"},
        ArgsRow{"ReportWithoutItsFile",
                {"--report", "ZRV4-1"},
                "",
                TCommandLine::caRun,
                {},
                "--report needs a serial and a file"},
        ArgsRow{"SerialWithoutExport",
                {"--serial", "ZRV4-1"},
                "",
                TCommandLine::caRun,
                {},
                "--serial goes with --export-records"},
        ArgsRow{"NoRecordToExport",
                {"--record", "none", "--export-records", "x.csv"},
                "",
                TCommandLine::caRun,
                {},
                "--record none keeps no record to read"},
        ArgsRow{"EmptyRecord", {"--record="}, "", TCommandLine::caRun, {}, "--record needs a value"},
        ArgsRow{"HelpAsTheDeviceIsABadDevice",
                {"--device", "--help"},
                "",
                TCommandLine::caRun,
                {},
                "bad device '--help': use sim, serial:PORT[,PORT...], audio:PCM[:CHANNELS] or wav:FILE"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(CommandLines, ChooseWhatToDoAndWhichDevice) {
  const ArgsRow& row = GetParam();
  const TCommandLine c = ParseCommandLine(row.arguments, QString::fromUtf8(row.variable));
  EXPECT_EQ(c.error, QString::fromUtf8(row.error));
  if (c.error.isEmpty()) {
    EXPECT_EQ(c.action, row.action);
    EXPECT_EQ(c.device, row.device);
    EXPECT_EQ(c.record, QString::fromUtf8(row.record));
    EXPECT_EQ(c.output, QString::fromUtf8(row.output));
    EXPECT_EQ(c.serial, QString::fromUtf8(row.serial));
  }
}

TEST(CommandLineHelp, NamesEveryOptionTheParserTakesAndTheVersion) {
  const QString help = HelpText().join('\n');
  EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: cihaz-test [OPTION]...\n")));
  for (const char* option : {"--device DEVICE", "--list-devices", "--self-test", "--help", "--version"}) {
    const QString text = QString::fromUtf8(option);
    EXPECT_TRUE(help.contains(QStringLiteral("\n  ") + text + QStringLiteral("  "))) << option;
    EXPECT_EQ(ParseCommandLine({text.section(' ', 0, 0), QStringLiteral("sim")}, {}).error, QString()) << option;
  }
  EXPECT_TRUE(help.contains(QStringLiteral("CIHAZ_DEVICE")));
  for (const QString& line : HelpText()) EXPECT_LE(line.size(), 80) << line.toStdString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^cihaz-test \\d+\\.\\d+\\.\\d+$")).match(VersionText()).hasMatch())
      << VersionText().toStdString();
}

// --- opening the chosen device -------------------------------------------------

struct OpenRow {
  const char* name;
  TDeviceChoice choice;
  const char* errorStart;
};

void PrintTo(const OpenRow& row, std::ostream* os) { *os << row.name; }

class DevicesThatCannotOpen : public ::testing::TestWithParam<OpenRow> {};

INSTANTIATE_TEST_SUITE_P(
    Devices, DevicesThatCannotOpen,
    ::testing::Values(OpenRow{"MissingPort", Serial({"/nonexistent/ttyACM7"}),
                              "cannot open serial port /nonexistent/ttyACM7: "},
                      OpenRow{"MissingCard", Audio("nosuchcard", 1), "cannot capture from nosuchcard: "},
                      OpenRow{"MissingFile", Wav("/nonexistent/call.wav"), "/nonexistent/call.wav: cannot be read"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(DevicesThatCannotOpen, SayWhyBeforeAnyWindowIsMade) {
  UnregisterZarvoClass(CLASS_Zarvo);
  try {
    RegisterDevice(GetParam().choice);
    FAIL() << "no error";
  } catch (const EDeviceError& e) {
    EXPECT_TRUE(e.Message().startsWith(QString::fromUtf8(GetParam().errorStart))) << e.Message().toStdString();
  }
  TComponent owner;
  EXPECT_THROW(TZarvo zarvo(&owner), EOleError);  // nothing was registered
}

TEST(OpenedDevices, TheHostedControlIsTheOneOpenedAtStart) {
  ScriptedModem modem;
  RegisterDevice(Serial({modem.Path()}));
  modem.Unplug();
  // The main window is made after the check and gets the control opened
  // then; only a second window would open the port again, and fail now.
  TComponent owner;
  EXPECT_NO_THROW(TZarvo first(&owner));
  EXPECT_THROW(TZarvo second(&owner), EDeviceError);
  UnregisterZarvoClass(CLASS_Zarvo);
}

TEST(OpenedDevices, NullCaptureOpensWithItsChannelsAndReadsSilence) {
  // ALSA's own null device: capture without a sound card.
  RegisterDevice(Audio("null", 2));
  TComponent owner;
  TZarvo zarvo(&owner);
  QStringList levels;
  zarvo.OnSignalA = [&](TObject*, auto&... l) { levels = QStringList{l...}; };
  zarvo.Start();
  EXPECT_EQ(zarvo.Command("devicemodel"), QStringLiteral("Ses girişi null (2 hat)"));
  EXPECT_EQ(zarvo.Command("serial"), QStringLiteral("ALSA null"));
  ASSERT_TRUE(WaitFor([&] { return !levels.isEmpty(); }, 2000));
  EXPECT_EQ(levels, (QStringList{"0", "0", "0", "0", "0", "0", "0", "0"}));
  UnregisterZarvoClass(CLASS_Zarvo);
}

TEST(ListedDevices, NameBothKindsAndTheirOptions) {
  const QStringList lines = ListDevices();
  EXPECT_EQ(lines.first(), QStringLiteral("Serial ports (--device serial:PORT):"));
  EXPECT_TRUE(lines.contains(QStringLiteral("Capture devices (--device audio:PCM[:CHANNELS]):")));
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith("  null  "); }));
}

// --- WAV files -----------------------------------------------------------------

TEST(WavFiles, WrittenThenReadGiveTheSameSamples) {
  QTemporaryDir dir;
  TLineAudio audio;
  audio.channels = 3;
  audio.samples = {0, -32768, 32767, 1, -1, 1234, 7, 8, 9};
  WriteWav(dir.filePath("a.wav"), audio);
  const TLineAudio back = ReadWav(dir.filePath("a.wav"));
  EXPECT_EQ(back.channels, 3);
  EXPECT_EQ(back.sampleRate, 8000);
  EXPECT_EQ(back.samples, audio.samples);
}

// A WAV file's header with one format chunk and its data chunk.
QByteArray WavBytes(quint16 format, quint16 channels, quint32 rate, quint16 bits, QByteArray data,
                    QByteArray extraChunk = {}) {
  QByteArray b;
  auto u32 = [&b](quint32 v) { b.append(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&b](quint16 v) { b.append(reinterpret_cast<const char*>(&v), 2); };
  b.append("RIFF");
  u32(0);
  b.append("WAVE");
  b.append(extraChunk);
  b.append("fmt ");
  u32(16);
  u16(format);
  u16(channels);
  u32(rate);
  u32(rate * channels * bits / 8);
  u16(quint16(channels * bits / 8));
  u16(bits);
  b.append("data");
  u32(quint32(data.size()));
  b.append(data);
  return b;
}

struct WavRow {
  const char* name;
  QByteArray bytes;
  std::vector<int16_t> samples;  // read when error is empty
  const char* error;
};

void PrintTo(const WavRow& row, std::ostream* os) { *os << row.name; }

class WavReading : public ::testing::TestWithParam<WavRow> {};

INSTANTIATE_TEST_SUITE_P(
    Files, WavReading,
    ::testing::Values(
        WavRow{"Plain", WavBytes(1, 1, 8000, 16, QByteArray("\x01\x00\xff\xff", 4)), {1, -1}, ""},
        WavRow{"OtherChunksBefore",
               WavBytes(1, 1, 8000, 16, QByteArray("\x02\x00", 2), QByteArray("LIST\x03\0\0\0abc\0", 12)),
               {2},
               ""},
        WavRow{"OddByteAtTheEnd", WavBytes(1, 1, 8000, 16, QByteArray("\x01\x00\x02\x00\x03", 5)), {1, 2}, ""},
        WavRow{"CutInTheData",
               WavBytes(1, 1, 8000, 16, QByteArray("\x01\x00\x02\x00\x03\x00", 6)).chopped(3),
               {},
               "the data chunk runs past the end of the file (a cut recording)"},
        WavRow{"NoSamples", WavBytes(1, 1, 8000, 16, {}), {}, "no samples in the WAV file"},
        WavRow{
            "LessThanOneFrame", WavBytes(1, 2, 8000, 16, QByteArray("\x01\x00", 2)), {}, "no samples in the WAV file"},
        WavRow{"Stereo44k",
               WavBytes(1, 2, 44100, 16, {}),
               {},
               "needs 16-bit PCM at 8000 Hz with 1 to 4 channels (found format 1, 16 bits, 44100 Hz, 2 channels)"},
        WavRow{"EightBit",
               WavBytes(1, 1, 8000, 8, {}),
               {},
               "needs 16-bit PCM at 8000 Hz with 1 to 4 channels (found format 1, 8 bits, 8000 Hz, 1 channels)"},
        WavRow{"ALaw",
               WavBytes(6, 1, 8000, 16, {}),
               {},
               "needs 16-bit PCM at 8000 Hz with 1 to 4 channels (found format 6, 16 bits, 8000 Hz, 1 channels)"},
        WavRow{"FiveChannels",
               WavBytes(1, 5, 8000, 16, {}),
               {},
               "needs 16-bit PCM at 8000 Hz with 1 to 4 channels (found format 1, 16 bits, 8000 Hz, 5 channels)"},
        WavRow{"NotAWav", QByteArray("hello world, not a riff file"), {}, "not a WAV file"},
        WavRow{"Empty", QByteArray(), {}, "not a WAV file"},
        WavRow{"NoData", WavBytes(1, 1, 8000, 16, {}).left(36), {}, "no audio data in the WAV file"},
        WavRow{"FormatChunkCut", WavBytes(1, 1, 8000, 16, {}).left(30), {}, "broken WAV format chunk"},
        WavRow{"ChunkHeaderCut", WavBytes(1, 1, 8000, 16, {}).left(18), {}, "no audio data in the WAV file"},
        WavRow{"DataFirst", QByteArray("RIFF\0\0\0\0WAVEdata\2\0\0\0\1\0", 22), {}, "data before the format chunk"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(WavReading, ReadsWhatItCanPlayAndRefusesTheRestClearly) {
  const WavRow& row = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath("w.wav");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(row.bytes);
  f.close();
  try {
    const TLineAudio audio = ReadWav(path);
    EXPECT_EQ(QString::fromUtf8(row.error), QString());
    EXPECT_EQ(audio.samples, row.samples);
  } catch (const EDeviceError& e) {
    EXPECT_EQ(e.Message(), path + QStringLiteral(": ") + QString::fromUtf8(row.error));
  }
}

TEST(WavFiles, WhatIsNoRegularFileOrTooLargeIsRefusedBeforeReading) {
  QTemporaryDir dir;
  auto errorOf = [](const QString& path) {
    try {
      ReadWav(path);
    } catch (const EDeviceError& e) {
      return e.Message();
    }
    return QString();
  };
  EXPECT_EQ(errorOf(QStringLiteral("/dev/zero")), QStringLiteral("/dev/zero: not a regular file"));
  EXPECT_EQ(errorOf(dir.path()), dir.path() + QStringLiteral(": not a regular file"));
  // A sparse file of 257 MiB: refused by its size, never read.
  QFile big(dir.filePath("big.wav"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  big.write(WavBytes(1, 1, 8000, 16, {}));
  ASSERT_TRUE(big.resize(qint64(257) << 20));
  big.close();
  EXPECT_EQ(errorOf(big.fileName()), big.fileName() + QStringLiteral(": larger than 256 MiB"));
}

// --- the self-test -------------------------------------------------------------

TEST(SelfTest, EveryStandardComesBackAsSent) {
  const std::vector<TSelfTestRow> rows = RunSelfTest();
  ASSERT_EQ(rows.size(), 9u);
  for (const TSelfTestRow& r : rows)
    EXPECT_TRUE(r.passed) << r.condition.toStdString() << ": " << r.decoded.toStdString();
  const QStringList table = SelfTestTable(rows);
  ASSERT_EQ(table.size(), 10);
  EXPECT_TRUE(table[0].startsWith(QStringLiteral("Standard  Condition")));
  EXPECT_TRUE(table[1].startsWith(QStringLiteral("Bell 202  -13 dBm0")));
  EXPECT_TRUE(table[9].startsWith(QStringLiteral("DTMF      -20 dBm0, withheld")));
  for (int i = 1; i < table.size(); ++i)
    EXPECT_TRUE(table[i].endsWith(QStringLiteral("  ok"))) << table[i].toStdString();
}

}  // namespace

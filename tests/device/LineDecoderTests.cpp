#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "device/DeviceError.h"
#include "device/LineDecoder.h"

namespace {

using namespace devtest;

std::vector<TReceivedFrame> Decode(const std::vector<int16_t>& samples) {
  TLineDecoder decoder;
  decoder.Process(samples.data(), int(samples.size()));
  return decoder.TakeFrames();
}

std::vector<TReceivedFrame> Messages(const std::vector<TReceivedFrame>& frames) {
  std::vector<TReceivedFrame> out;
  for (const auto& f : frames)
    if (f.what == TReceivedFrame::rfMessage) out.push_back(f);
  return out;
}

// --- every standard at levels from 0 to -40 dBm0 ---------------------------

struct LevelRow {
  const char* name;
  TSignalKind kind;
  double levelDbm0;
  bool singleData = false;
};

void PrintTo(const LevelRow& row, std::ostream* os) { *os << row.name; }

class BurstLevels : public ::testing::TestWithParam<LevelRow> {};

INSTANTIATE_TEST_SUITE_P(
    Standards, BurstLevels,
    ::testing::Values(
        LevelRow{"Bell202_0dBm0", TSignalKind::skBell202, 0}, LevelRow{"Bell202_minus10", TSignalKind::skBell202, -10},
        LevelRow{"Bell202_minus20", TSignalKind::skBell202, -20},
        LevelRow{"Bell202_minus30", TSignalKind::skBell202, -30},
        LevelRow{"Bell202_minus40", TSignalKind::skBell202, -40},
        LevelRow{"Bell202_minus48", TSignalKind::skBell202, -48},
        LevelRow{"Bell202_SingleData", TSignalKind::skBell202, -20, true}, LevelRow{"V23_0dBm0", TSignalKind::skV23, 0},
        LevelRow{"V23_minus10", TSignalKind::skV23, -10}, LevelRow{"V23_minus20", TSignalKind::skV23, -20},
        LevelRow{"V23_minus30", TSignalKind::skV23, -30}, LevelRow{"V23_minus40", TSignalKind::skV23, -40},
        LevelRow{"V23_minus48", TSignalKind::skV23, -48}, LevelRow{"Dtmf_0dBm0", TSignalKind::skDtmf, 0},
        LevelRow{"Dtmf_minus10", TSignalKind::skDtmf, -10}, LevelRow{"Dtmf_minus20", TSignalKind::skDtmf, -20},
        LevelRow{"Dtmf_minus30", TSignalKind::skDtmf, -30}, LevelRow{"Dtmf_minus40", TSignalKind::skDtmf, -40}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(BurstLevels, DecodeToOneGoodMessageOfTheirStandard) {
  const LevelRow& row = GetParam();
  TBurstRequest request = Request(row.kind);
  request.levelDbm0 = row.levelDbm0;
  request.singleData = row.singleData;
  const auto frames = Decode(GenerateBurst(request));
  ASSERT_EQ(frames.size(), 1u);
  const TReceivedFrame& f = frames[0];
  EXPECT_EQ(f.kind, row.kind);
  EXPECT_EQ(f.check, TFrameCheck::fcGood);
  ASSERT_TRUE(f.report);
  EXPECT_EQ(f.report->number, request.number);
  const bool fsk = row.kind != TSignalKind::skDtmf;
  EXPECT_EQ(f.report->name, fsk && !row.singleData ? request.name : QString());
  EXPECT_EQ(f.report->dateTime, fsk ? request.dateTime : QString());
}

TEST(BurstLimits, WeakerThanTheReceiversHearIsNothingAtAll) {
  for (TSignalKind kind : {TSignalKind::skBell202, TSignalKind::skV23, TSignalKind::skDtmf}) {
    TBurstRequest request = Request(kind);
    request.levelDbm0 = -55;
    EXPECT_TRUE(Decode(GenerateBurst(request)).empty()) << SignalKindName(kind).toStdString();
  }
}

TEST(BurstLimits, TextsWithALineFeedAfterThemAreNotSent) {
  TBurstRequest number = Request(TSignalKind::skV23, QStringLiteral("0532\n"));
  EXPECT_THROW(GenerateBurst(number), EDeviceError);
  TBurstRequest date = Request(TSignalKind::skBell202);
  date.dateTime = QStringLiteral("03211405\n");
  EXPECT_THROW(GenerateBurst(date), EDeviceError);
}

// --- white noise: every burst decodes down to the stated SNR -----------------

struct NoiseRow {
  const char* name;
  TSignalKind kind;
  double snrDb;
};

void PrintTo(const NoiseRow& row, std::ostream* os) { *os << row.name; }

class NoisyBursts : public ::testing::TestWithParam<NoiseRow> {};

// The limits: the lowest signal-to-noise ratios (white noise over the whole
// 4 kHz band, burst at -20 dBm0) at which twenty noise seeds all decode.
INSTANTIATE_TEST_SUITE_P(Limits, NoisyBursts,
                         ::testing::Values(NoiseRow{"Bell202_12dB", TSignalKind::skBell202, 12},
                                           NoiseRow{"V23_13dB", TSignalKind::skV23, 13},
                                           NoiseRow{"Dtmf_9dB", TSignalKind::skDtmf, 9},
                                           NoiseRow{"Bell202_20dB", TSignalKind::skBell202, 20},
                                           NoiseRow{"V23_20dB", TSignalKind::skV23, 20},
                                           NoiseRow{"Dtmf_20dB", TSignalKind::skDtmf, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(NoisyBursts, DecodeWithEveryNoiseSeed) {
  const NoiseRow& row = GetParam();
  for (int seed = 1; seed <= 20; ++seed) {
    TBurstRequest request = Request(row.kind);
    request.levelDbm0 = -20;
    request.snrDb = row.snrDb;
    request.noiseSeed = seed;
    const auto frames = Decode(GenerateBurst(request));
    ASSERT_EQ(frames.size(), 1u) << "seed " << seed;
    ASSERT_TRUE(frames[0].report) << "seed " << seed;
    EXPECT_EQ(frames[0].report->number, request.number) << "seed " << seed;
    EXPECT_EQ(frames[0].kind, row.kind) << "seed " << seed;
  }
}

TEST(NoisyBursts, DamagedFskBurstsAreReportedBadNeverAsOtherNumbers) {
  // At 6 dB most bursts lose bits; the checksum must catch them.
  int bad = 0;
  for (TSignalKind kind : {TSignalKind::skBell202, TSignalKind::skV23}) {
    for (int seed = 1; seed <= 20; ++seed) {
      TBurstRequest request = Request(kind);
      request.levelDbm0 = -20;
      request.snrDb = 6;
      request.noiseSeed = seed;
      for (const TReceivedFrame& f : Decode(GenerateBurst(request))) {
        if (f.report)
          EXPECT_EQ(f.report->number, request.number);
        else
          ++bad;
      }
    }
  }
  EXPECT_GT(bad, 10);
}

// --- truncated bursts ----------------------------------------------------------

struct CutRow {
  const char* name;
  TSignalKind kind;
  double keep;  // share of the burst that reaches the line
  bool reportedBroken;
};

void PrintTo(const CutRow& row, std::ostream* os) { *os << row.name; }

class TruncatedBursts : public ::testing::TestWithParam<CutRow> {};

INSTANTIATE_TEST_SUITE_P(Cuts, TruncatedBursts,
                         ::testing::Values(CutRow{"Bell202_InSeizure", TSignalKind::skBell202, 0.15, false},
                                           CutRow{"Bell202_InMessage", TSignalKind::skBell202, 0.7, true},
                                           CutRow{"Bell202_BeforeChecksum", TSignalKind::skBell202, 0.95, true},
                                           CutRow{"V23_InMessage", TSignalKind::skV23, 0.7, true},
                                           CutRow{"Dtmf_BeforeEndMarker", TSignalKind::skDtmf, 0.8, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(TruncatedBursts, GiveNoCallAndAtMostOneBrokenMessage) {
  const CutRow& row = GetParam();
  TBurstRequest request = Request(row.kind);
  request.leadMs = 300;
  request.tailMs = 0;
  std::vector<int16_t> line = GenerateBurst(request);
  const size_t lead = 300 * kRate / 1000;
  line.resize(lead + size_t(double(line.size() - lead) * row.keep));
  line += Silence(2000);
  const auto frames = Decode(line);
  ASSERT_EQ(frames.size(), row.reportedBroken ? 1u : 0u);
  if (row.reportedBroken) {
    EXPECT_FALSE(frames[0].report);
    EXPECT_EQ(frames[0].check, TFrameCheck::fcBadLength);
    EXPECT_EQ(frames[0].kind, row.kind);
  }
}

TEST(BadChecksum, ComesAsABadMessageWithItsBytes) {
  const QByteArray sent = QByteArray::fromHex("041230393330313232343630393535353132313252");
  std::vector<int16_t> line = Silence(200);
  line += RawFskBurst(sent);
  line += Silence(1000);
  const auto frames = Decode(line);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].check, TFrameCheck::fcBadChecksum);
  EXPECT_EQ(frames[0].bytes, sent);
  EXPECT_FALSE(frames[0].report);
}

TEST(RepeatedBursts, TwoCallsASecondApartAreTwoCalls) {
  std::vector<int16_t> line = GenerateBurst(Request(TSignalKind::skV23));
  line += Silence(1000);
  line += GenerateBurst(Request(TSignalKind::skV23));
  EXPECT_EQ(Messages(Decode(line)).size(), 2u);
}

TEST(DialledDigits, DtmfWithoutAStartMarkerIsNoMessage) {
  // A telephone on the line dialling "0532 123 45 67#".
  TSpanPtr<dtmf_tx_state_t, dtmf_tx_free> tx(dtmf_tx_init(nullptr));
  dtmf_tx_put(tx.get(), "05321234567#", -1);
  std::vector<int16_t> line(4 * kRate);
  line.resize(size_t(dtmf_tx(tx.get(), line.data(), int(line.size()))));
  line += Silence(3000);
  EXPECT_TRUE(Decode(line).empty());
}

// --- how the samples arrive ----------------------------------------------------

std::vector<int16_t> Cadence(int onMs, int offMs, int times) {
  std::vector<int16_t> line;
  for (int i = 0; i < times; ++i) {
    line += Tone(25, -5, onMs);
    line += Silence(offMs);
  }
  return line;
}

std::vector<TReceivedFrame> DecodeInChunks(const std::vector<int16_t>& samples, const std::vector<int>& chunks) {
  TLineDecoder decoder;
  std::vector<TReceivedFrame> frames;
  for (size_t at = 0, i = 0; at < samples.size(); at += size_t(chunks[i]), i = std::min(i + 1, chunks.size() - 1)) {
    decoder.Process(samples.data() + at, int(std::min<size_t>(size_t(chunks[i]), samples.size() - at)));
    for (TReceivedFrame& f : decoder.TakeFrames()) frames.push_back(std::move(f));
  }
  return frames;
}

std::string Described(const std::vector<TReceivedFrame>& frames) {
  std::string out;
  for (const TReceivedFrame& f : frames)
    out += std::to_string(f.atSample) + " " + SignalKindName(f.kind).toStdString() + " " +
           f.bytes.toHex().toStdString() + " " + CheckText(f.check).toStdString() + "\n";
  return out;
}

TEST(Chunking, TheSameSamplesGiveTheSameFramesHoweverTheyArrive) {
  std::vector<int16_t> line;
  for (TSignalKind kind : {TSignalKind::skV23, TSignalKind::skBell202, TSignalKind::skDtmf}) {
    for (int seed = 1; seed <= 3; ++seed) {
      TBurstRequest request = Request(kind);
      request.levelDbm0 = -30;
      request.snrDb = 14;
      request.noiseSeed = seed;
      line += GenerateBurst(request);
    }
  }
  line += Cadence(1000, 4000, 1);
  const std::vector<TReceivedFrame> whole = Decode(line);
  EXPECT_GE(whole.size(), 7u);
  for (const std::vector<int>& chunks :
       {std::vector<int>{1}, {7}, {37, 101}, {159, 161}, {1599, 3}, {4000, 13}, {12345}}) {
    const std::vector<TReceivedFrame> chunked = DecodeInChunks(line, chunks);
    EXPECT_TRUE(chunked == whole) << chunks[0] << ":\n" << Described(chunked) << "whole:\n" << Described(whole);
  }
}

TEST(FrameOrder, ADamagedFrameLeavesBeforeWhatWasHeardAfterIt) {
  std::vector<int16_t> line = Silence(200);
  line += RawFskBurst(QByteArray::fromHex("041230393330313232343630393535353132313252"));
  TBurstRequest dtmf = Request(TSignalKind::skDtmf, QStringLiteral("1"));
  dtmf.leadMs = 50;
  dtmf.tailMs = 1000;
  line += GenerateBurst(dtmf);
  const auto frames = Decode(line);
  ASSERT_EQ(frames.size(), 2u) << Described(frames);
  EXPECT_EQ(frames[0].check, TFrameCheck::fcBadChecksum);
  EXPECT_EQ(frames[1].kind, TSignalKind::skDtmf);
  EXPECT_LT(frames[0].atSample, frames[1].atSample);
  EXPECT_LT(frames[1].atSample - frames[0].atSample, 4000);  // heard while the damaged one waited
}

TEST(DtmfLimits, AMessageWithoutEndIsBrokenAfter32Digits) {
  TSpanPtr<dtmf_tx_state_t, dtmf_tx_free> tx(dtmf_tx_init(nullptr));
  dtmf_tx_put(tx.get(), ("A" + std::string(60, '5') + "1234").c_str(), -1);
  std::vector<int16_t> line(10 * kRate);
  line.resize(size_t(dtmf_tx(tx.get(), line.data(), int(line.size()))));
  line += Silence(3000);
  const auto frames = Decode(line);
  ASSERT_EQ(frames.size(), 1u) << Described(frames);
  EXPECT_EQ(frames[0].check, TFrameCheck::fcBadLength);
  EXPECT_FALSE(frames[0].report);
  EXPECT_EQ(frames[0].bytes, "A" + QByteArray(31, '5'));
}

// --- silence -------------------------------------------------------------------

TEST(QuietLine, AnHourOfLineNoiseRaisesNothingAndReadsZero) {
  TSpanPtr<awgn_state_t, awgn_free> noise(awgn_init_dbm0(nullptr, 7, -65));
  TLineDecoder decoder;
  std::vector<int16_t> block(kRate);
  int highest = 0;
  for (int second = 0; second < 3600; ++second) {
    for (int16_t& s : block) s = awgn(noise.get());
    decoder.Process(block.data(), int(block.size()));
    highest = std::max(highest, MeterLevel(decoder.LevelDbm0()));
  }
  EXPECT_TRUE(decoder.TakeFrames().empty());
  EXPECT_EQ(decoder.SamplesHeard(), int64_t(3600) * kRate);
  EXPECT_EQ(highest, 0);
}

// --- levels --------------------------------------------------------------------

struct MeterRow {
  const char* name;
  double dbm0;
  int level;
};

void PrintTo(const MeterRow& row, std::ostream* os) { *os << row.name; }

class MeterScale : public ::testing::TestWithParam<MeterRow> {};

INSTANTIATE_TEST_SUITE_P(Readings, MeterScale,
                         ::testing::Values(MeterRow{"Silence", -99, 0}, MeterRow{"Floor", -60, 0},
                                           MeterRow{"FirstStep", -58, 1}, MeterRow{"QuietLineMost", -56, 2},
                                           MeterRow{"Minus40", -40, 10}, MeterRow{"Minus20", -20, 20},
                                           MeterRow{"RoundsHalfUp", -19, 21}, MeterRow{"ZeroDbm0", 0, 30},
                                           MeterRow{"AboveZeroIsFull", 3.14, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(MeterScale, MapsDbm0ToTheBar) { EXPECT_EQ(MeterLevel(GetParam().dbm0), GetParam().level); }

TEST(MeasuredLevel, ToneLevelsAsSpanDspDefinesThem) {
  for (int dbm0 : {0, -10, -26, -45}) {
    TLineDecoder decoder;
    const auto tone = Tone(1000, dbm0, 1000);
    decoder.Process(tone.data(), int(tone.size()));
    EXPECT_NEAR(decoder.LevelDbm0(), dbm0, 0.3) << dbm0;
  }
  TLineDecoder decoder;
  const auto quiet = Silence(400);
  decoder.Process(quiet.data(), int(quiet.size()));
  EXPECT_EQ(decoder.LevelDbm0(), -99);
}

TEST(MeasuredLevel, ReadingChangesOnlyAtTheEndOfEachFifthOfASecond) {
  TLineDecoder decoder;
  const auto tone = Tone(1000, -10, 1000);
  decoder.Process(tone.data(), TLineDecoder::kLevelWindow - 1);
  EXPECT_EQ(decoder.LevelDbm0(), -99);
  decoder.Process(tone.data(), 1);
  EXPECT_NEAR(decoder.LevelDbm0(), -10, 0.3);
}

// --- rings ---------------------------------------------------------------------

struct RingRow {
  const char* name;
  std::vector<int16_t> line;
  int rings;
};

void PrintTo(const RingRow& row, std::ostream* os) { *os << row.name; }

class Rings : public ::testing::TestWithParam<RingRow> {};

INSTANTIATE_TEST_SUITE_P(Bursts, Rings,
                         ::testing::Values(RingRow{"OneSecondOnFourOff", Cadence(1000, 4000, 3), 3},
                                           RingRow{"TwoSecondsOnFourOff", Cadence(2000, 4000, 2), 2},
                                           RingRow{"TooShort", Cadence(400, 1000, 3), 0},
                                           RingRow{"TooLong", Cadence(5000, 1000, 1), 0},
                                           RingRow{"QuietRing",
                                                   [] {
                                                     auto line = Tone(25, -30, 1000);
                                                     return line += Silence(1000);
                                                   }(),
                                                   0},
                                           RingRow{"LoudCallerIdIsNoRing",
                                                   [] {
                                                     TBurstRequest s = Request(TSignalKind::skDtmf);
                                                     s.levelDbm0 = 0;
                                                     return GenerateBurst(s);
                                                   }(),
                                                   0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(Rings, CountLoudBurstsWithoutData) {
  int rings = 0;
  for (const TReceivedFrame& f : Decode(GetParam().line)) rings += f.what == TReceivedFrame::rfRing;
  EXPECT_EQ(rings, GetParam().rings);
}

}  // namespace

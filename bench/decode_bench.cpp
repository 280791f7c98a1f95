// Line-audio decoding against the work every reader of the audio does
// anyway: one minute of four-line 8 kHz audio (quiet line noise with a
// caller-ID burst of each standard on every line) decoded by the line-audio
// device control, against reading and de-interleaving the same minute.
// "core_percent" is the share of one core that decoding takes in real time.
//
//   build/bench/decode_bench --benchmark_repetitions=3

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <ctime>

#include "device/AudioZarvo.h"
#include "device/CallerIdGenerator.h"
#include "device/SpanDsp.h"

namespace {

constexpr int kLines = 4;
constexpr int kSeconds = 60;
constexpr int kRate = TLineDecoder::kSampleRate;

// A minute of one line: noise at -65 dBm0 and three bursts, each standard
// once, at a different time on every line.
std::vector<int16_t> Line(int line) {
  TSpanPtr<awgn_state_t, awgn_free> noise(awgn_init_dbm0(nullptr, line + 1, -65));
  std::vector<int16_t> samples(size_t(kSeconds) * kRate);
  for (int16_t& s : samples) s = awgn(noise.get());
  int at = (line + 1) * 3 * kRate;
  for (TSignalKind kind : {TSignalKind::skBell202, TSignalKind::skV23, TSignalKind::skDtmf}) {
    TBurstRequest request;
    request.kind = kind;
    request.number = QStringLiteral("0532123456%1").arg(line);
    request.name = QStringLiteral("BENCH");
    request.dateTime = QStringLiteral("03211405");
    request.levelDbm0 = -20;
    for (int16_t s : GenerateBurst(request)) samples[size_t(at++)] += s;
    at += 15 * kRate;
  }
  return samples;
}

const TLineAudio& Minute() {
  static const TLineAudio audio = [] {
    TLineAudio a;
    a.channels = kLines;
    a.samples.resize(size_t(kSeconds) * kRate * kLines);
    for (int c = 0; c < kLines; ++c) {
      const std::vector<int16_t> line = Line(c);
      for (size_t i = 0; i < line.size(); ++i) a.samples[i * kLines + size_t(c)] = line[i];
    }
    return a;
  }();
  return audio;
}

// The share of a core that one iteration's work on a minute of audio takes,
// from the processor time the loop used (other programs on the machine do
// not count).
void ReportCoreShare(benchmark::State& state, std::clock_t started) {
  const double cpuSeconds = double(std::clock() - started) / CLOCKS_PER_SEC;
  state.counters["core_percent"] = 100.0 * cpuSeconds / (double(kSeconds) * double(state.iterations()));
}

void DecodeMinute(benchmark::State& state) {
  const TLineAudio& audio = Minute();
  const std::clock_t started = std::clock();
  for (auto _ : state)
    if (CallsInRecording(audio).size() != kLines * 3) state.SkipWithError("a burst was not decoded");
  ReportCoreShare(state, started);
}
BENCHMARK(DecodeMinute)->Unit(benchmark::kMillisecond);

// Baseline: the same minute read from memory and split into its lines.
void DeinterleaveMinute(benchmark::State& state) {
  const TLineAudio& audio = Minute();
  std::vector<int16_t> buffer(4096 * kLines), line(4096);
  const std::clock_t started = std::clock();
  for (auto _ : state) {
    TMemorySource source(audio);
    int64_t sum = 0;
    for (int n; (n = source.Read(buffer.data(), 4096)) > 0;) {
      for (int c = 0; c < kLines; ++c) {
        for (int i = 0; i < n; ++i) line[size_t(i)] = buffer[size_t(i) * kLines + size_t(c)];
        sum += line[size_t(n - 1)];
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  ReportCoreShare(state, started);
}
BENCHMARK(DeinterleaveMinute)->Name("Baseline/DeinterleaveMinute")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Line audio fed to the decoder in pieces the input chooses, against the
// same samples fed at once: the same frames in the same order, each heard
// no earlier than the one before, and no call from a message whose check
// fails.
//
// Input: a byte of how many piece lengths follow (two bytes each), a byte
// choosing whether a generated caller-ID burst comes first (and its
// standard, level and noise, with the digits of the next bytes as its
// number), then the rest as 16-bit samples added to the line.

#include <algorithm>
#include <array>

#include "FuzzSupport.h"
#include "device/CallerIdGenerator.h"
#include "device/DeviceError.h"
#include "device/LineDecoder.h"

namespace {

std::vector<TReceivedFrame> Decode(const std::vector<int16_t>& samples, const std::vector<int>& pieces) {
  TLineDecoder decoder;
  std::vector<TReceivedFrame> frames;
  size_t at = 0;
  for (size_t i = 0; at < samples.size(); ++i) {
    const size_t n = i < pieces.size() ? std::min(size_t(pieces[i]), samples.size() - at) : samples.size() - at;
    decoder.Process(samples.data() + at, int(n));
    at += n;
    for (TReceivedFrame& f : decoder.TakeFrames()) frames.push_back(std::move(f));
  }
  return frames;
}

std::vector<int16_t> Burst(FuzzInput& in) {
  const uint8_t choice = in.Byte();
  TBurstRequest request;
  request.kind = std::array{TSignalKind::skBell202, TSignalKind::skV23, TSignalKind::skDtmf}[choice % 3];
  request.singleData = choice & 4;
  request.levelDbm0 = -double(in.Byte() % 50);
  if (choice & 8) request.snrDb = double(in.Byte() % 30);
  request.noiseSeed = in.Byte();
  request.leadMs = request.tailMs = 20 * (in.Byte() % 16);
  for (int digits = in.Byte() % 20; digits > 0; --digits) request.number += QChar(u'0' + in.Byte() % 10);
  try {
    return GenerateBurst(request);
  } catch (const EDeviceError&) {
    return {};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return -1;
  FuzzInput in(data, size);
  std::vector<int> pieces(in.Byte() % 16);
  for (int& n : pieces) {
    const int high = in.Byte();
    n = 1 + high * 256 + in.Byte();
  }
  std::vector<int16_t> line;
  if (in.Byte() & 1) line = Burst(in);
  for (size_t i = 0; !in.Empty(); ++i) {
    const int low = in.Byte();
    const int16_t sample = int16_t(low | in.Byte() << 8);
    if (i < line.size())
      line[i] = int16_t(std::clamp(int(line[i]) + sample, -32768, 32767));
    else
      line.push_back(sample);
  }
  const std::vector<TReceivedFrame> whole = Decode(line, {});
  for (size_t i = 0; i < whole.size(); ++i) {
    const TReceivedFrame& f = whole[i];
    if (f.report && f.check != TFrameCheck::fcGood) FuzzFailure(QStringLiteral("a call from a failed message"));
    if (f.report && f.report->isCall && LacksNumber(*f.report)) FuzzFailure(QStringLiteral("a call without number"));
    if (i > 0 && f.atSample < whole[i - 1].atSample)
      FuzzFailure(QStringLiteral("frame heard at %1 after one at %2").arg(f.atSample).arg(whole[i - 1].atSample));
  }
  if (Decode(line, pieces) != whole)
    FuzzFailure(QStringLiteral("%1 frames at once, other frames in %2 pieces").arg(whole.size()).arg(pieces.size()));
  return 0;
}

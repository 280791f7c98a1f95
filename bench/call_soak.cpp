// A long shift at the bench: 100,000 caller-ID reports through the main
// window's real handler into the real, shown call list, with the tone and the
// tray balloon recorded instead of played. Checks that the list stays at six
// rows, that the counter reaches the number of calls and that resident memory
// stops growing once the first calls are in; prints calls per second and the
// memory figures. Exits non-zero when a check fails.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/zarvocallerid_TLB.h"
#include "grid/GridView.h"
#include "platform/Application.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "platform/SysUtils.h"

namespace {

constexpr int kDefaultCalls = 100000;
constexpr int kWarmUpCalls = 1000;
constexpr long kAllowedGrowthKb = 1024;

// A device control that only passes reports on.
class TReportingZarvo : public IZarvo {
 public:
  HRESULT GetFormVisible(bool& v) override {
    v = false;
    return S_OK;
  }
  HRESULT SetFormVisible(bool) override { return S_OK; }
  HRESULT ShowAbout() override { return S_OK; }
  HRESULT Start() override { return S_OK; }
  HRESULT Command(const QString&, QString& result) override {
    result.clear();
    return S_OK;
  }
  void Advise(IZarvoEvents* s) override { sink = s; }
  IZarvoEvents* sink = nullptr;
};

long ResidentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

QString PhoneNumber(int call) { return QStringLiteral("05%1").arg(call % 1000000000, 9, 10, QLatin1Char('0')); }

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A shorter run for looking into a failure: call_soak CALLS.
  const int kCalls = argc > 1 ? std::max(kWarmUpCalls + 1000, std::atoi(argv[1])) : kDefaultCalls;
  TApplication application;
  FormatSettings = TFormatSettings::Turkish();

  auto shell = std::make_shared<TShellRecorder>();
  SetShellBackend(shell);
  long tones = 0;
  Sound::SetBeepHook([&tones](uint32_t, uint32_t) { ++tones; });
  TReportingZarvo* device = nullptr;
  RegisterZarvoClass(CLASS_Zarvo, [&device] {
    auto made = std::make_unique<TReportingZarvo>();
    device = made.get();
    return made;
  });

  long balloons = 0, warmKb = 0, peakKb = 0;
  double seconds = 0;
  int rows = 0, counter = 0, errorLines = 0;
  {
    TForms forms = CreateForms();
    TForm1& form = *forms.Form1;
    form.show();
    QCoreApplication::processEvents();
    const QString before = form.Memo2->toPlainText();
    QElapsedTimer clock;
    clock.start();
    for (int call = 1; call <= kCalls; ++call) {
      device->sink->Invoke(DISPID_OnCallerID, {QStringLiteral("ZR-0042"), QString::number(1 + call % 4),
                                               PhoneNumber(call), QString(), QString()});
      // Every number here is non-empty, so a balloon is a request with text;
      // the recorder is emptied as it would otherwise keep the whole run.
      for (const auto& request : shell->Requests)
        if ((request.data.uFlags & NIF_INFO) && request.data.szInfo[0]) ++balloons;
      shell->Requests.clear();
      // Let the grid paint what the call changed, as the running program would.
      QCoreApplication::processEvents();
      if (call == kWarmUpCalls) warmKb = ResidentKb();
      if (call > kWarmUpCalls && call % 1000 == 0) peakKb = std::max(peakKb, ResidentKb());
    }
    seconds = clock.elapsed() / 1000.0;
    rows = form.GridView1->RowCount();
    counter = form.CallCounter();
    errorLines = form.Memo2->toPlainText() == before ? 0 : 1;
  }
  UnregisterZarvoClass(CLASS_Zarvo);
  Sound::SetBeepHook(nullptr);
  SetShellBackend(nullptr);

  const long growthKb = peakKb - warmKb;
  std::printf("calls: %d in %.2f s, %.0f calls/s\n", kCalls, seconds, kCalls / seconds);
  std::printf("rows: %d, counter: %d, tones: %ld, balloons: %ld\n", rows, counter, tones, balloons);
  std::printf("resident memory: %ld kB after %d calls, peak %ld kB after, growth %ld kB (allowed %ld kB)\n", warmKb,
              kWarmUpCalls, peakKb, growthKb, kAllowedGrowthKb);
  const bool ok = rows == TForm1::kCallListRows && counter == kCalls && tones == kCalls && balloons == kCalls &&
                  errorLines == 0 && warmKb > 0 && growthKb <= kAllowedGrowthKb;
  std::printf("%s\n", ok ? "ok" : "FAILED");
  return ok ? 0 : 1;
}

#pragma once
// Helpers of the device tests: line audio made with spandsp's transmitters,
// and recorders of what a device control raises.

#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <vector>

#include "TestSupport.h"
#include "app/zarvocallerid_TLB.h"
#include "device/CallerIdGenerator.h"
#include "device/SpanDsp.h"
#include "device/TestRecorder.h"
#include "platform/Application.h"

namespace devtest {

constexpr int kRate = TLineDecoder::kSampleRate;

inline std::vector<int16_t> Silence(int ms) { return std::vector<int16_t>(size_t(ms) * kRate / 1000, 0); }

inline TBurstRequest Request(TSignalKind kind, QString number = QStringLiteral("05321234567")) {
  TBurstRequest s;
  s.kind = kind;
  s.number = std::move(number);
  s.name = QStringLiteral("AHMET YILMAZ");
  s.dateTime = QStringLiteral("03211405");
  return s;
}

inline std::vector<int16_t>& operator+=(std::vector<int16_t>& a, const std::vector<int16_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline int FreeToneDescriptor(tone_gen_descriptor_t* d) {
  tone_gen_descriptor_free(d);
  return 0;
}

// A steady tone at a level in dBm0, from spandsp's tone generator.
inline std::vector<int16_t> Tone(int hz, int dbm0, int ms) {
  TSpanPtr<tone_gen_descriptor_t, FreeToneDescriptor> descriptor(
      tone_gen_descriptor_init(nullptr, hz, dbm0, 0, 0, ms, 0, 0, 0, false));
  TSpanPtr<tone_gen_state_t, tone_gen_free> state(tone_gen_init(nullptr, descriptor.get()));
  std::vector<int16_t> out(size_t(ms) * kRate / 1000);
  out.resize(size_t(tone_gen(state.get(), out.data(), int(out.size()))));
  return out;
}

// Bell 202 FSK carrying bytes exactly as given (checksum included): channel
// seizure, mark, then the bytes as start-stop characters. For messages the
// transmitter of the generator would not send, such as a wrong checksum.
inline std::vector<int16_t> RawFskBurst(const QByteArray& bytes) {
  std::vector<int> bits;
  for (int i = 0; i < 300; ++i) bits.push_back(i & 1);
  bits.insert(bits.end(), 180, 1);
  for (char c : bytes) {
    bits.push_back(0);
    for (int b = 0; b < 8; ++b) bits.push_back((quint8(c) >> b) & 1);
    bits.push_back(1);
  }
  bits.insert(bits.end(), 20, 1);
  struct Feed {
    std::vector<int>* bits;
    size_t next = 0;
    static int Get(void* self) {
      auto* f = static_cast<Feed*>(self);
      return f->next < f->bits->size() ? (*f->bits)[f->next++] : SIG_STATUS_END_OF_DATA;
    }
  } feed{&bits};
  TSpanPtr<fsk_tx_state_t, fsk_tx_free> tx(fsk_tx_init(nullptr, &preset_fsk_specs[FSK_BELL202], &Feed::Get, &feed));
  fsk_tx_power(tx.get(), -13);
  std::vector<int16_t> out(bits.size() * kRate / 1200 + kRate / 10);
  out.resize(size_t(fsk_tx(tx.get(), out.data(), int(out.size()))));
  return out;
}

// What a device control raised, as the form's handlers see it.
struct EventRecorder : IZarvoEvents {
  QList<QStringList> calls;
  QList<QStringList> levels;
  bool offThread = false;
  void Invoke(int dispId, const QStringList& args) override {
    offThread = offThread || QThread::currentThread() != qApp->thread();
    if (dispId == DISPID_OnCallerID) calls << args;
    if (dispId == DISPID_OnSignalA) levels << args;
  }
  // The latest reading of line (1-based), empty before the first.
  QString Level(int line) const { return levels.isEmpty() ? QString() : levels.last().value(line - 1); }
  QStringList LatestLevels() const { return levels.isEmpty() ? QStringList() : levels.last(); }
};

// Lines of the application's error report while it lives.
struct ErrorReport {
  QStringList lines;
  ErrorReport() {
    Application->OnException = [this](TObject*, const Exception& e) { lines << e.Message(); };
  }
  ~ErrorReport() { Application->OnException = nullptr; }
};

// Every device control started while it lives keeps its record in a fresh
// file of its own folder.
struct RecordFileForTest {
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("kayit.sqlite"));
  RecordFileForTest() { SetRecordFile(path); }
  ~RecordFileForTest() { SetRecordFile({}); }
};

// A control the test already holds, as the main window hosts it: commands
// go through TZarvo, so a failure comes back as the error the report shows.
class Hosted {
 public:
  explicit Hosted(IZarvo& control) {
    RegisterZarvoClass(CLASS_Zarvo, [&control] { return std::make_unique<Borrowed>(control); });
    zarvo_ = std::make_unique<TZarvo>(&owner_);
  }
  ~Hosted() {
    zarvo_.reset();
    UnregisterZarvoClass(CLASS_Zarvo);
  }
  // The error the command raises, or empty when it succeeds.
  QString ErrorOf(const QString& command) {
    try {
      zarvo_->Command(command);
    } catch (const Exception& e) {
      return e.Message();
    }
    return {};
  }

 private:
  // Passes commands on; the test keeps its own event sink and start.
  struct Borrowed : IZarvo {
    explicit Borrowed(IZarvo& c) : control(c) {}
    HRESULT GetFormVisible(bool& v) override { return control.GetFormVisible(v); }
    HRESULT SetFormVisible(bool v) override { return control.SetFormVisible(v); }
    HRESULT ShowAbout() override { return control.ShowAbout(); }
    HRESULT Start() override { return S_OK; }
    HRESULT Command(const QString& c, QString& r) override { return control.Command(c, r); }
    void Advise(IZarvoEvents*) override {}
    IZarvo& control;
  };

  TComponent owner_;
  std::unique_ptr<TZarvo> zarvo_;
};

}  // namespace devtest

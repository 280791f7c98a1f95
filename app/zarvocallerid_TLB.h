#pragma once
// The contract with the caller-ID device control (type library
// zarvocallerid_TLB). The program reaches the device only through TZarvo,
// which hosts whatever control is registered under CLASS_Zarvo.
//
// Interface slots count the 7 operations of the base dispatch interface
// first: ShowAbout is slot 45, Start 46, Command 49 (the last).

#include <QString>
#include <QStringList>
#include <QUuid>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/Classes.h"

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = HRESULT(0x80004005);
constexpr HRESULT E_UNEXPECTED = HRESULT(0x8000FFFF);
constexpr HRESULT REGDB_E_CLASSNOTREG = HRESULT(0x80040154);
inline bool Succeeded(HRESULT hr) { return hr >= 0; }

inline const QUuid CLASS_Zarvo{QStringLiteral("{EEA18052-171F-4293-8598-AB6E1D7257B2}")};
inline const QUuid IID_IZarvo{QStringLiteral("{0A16189E-10E9-4A76-8D2D-0A8F1AD4729A}")};
inline const QUuid DIID_IZarvoEvents{QStringLiteral("{B6A36C9A-2DC9-4CEF-AF6E-D6DDD2F91CC4}")};

// Dispatch identifiers of the events interface.
enum TZarvoEventDispId : int {
  DISPID_OnActivate = 201,
  DISPID_OnClick = 202,
  DISPID_OnCreate = 203,
  DISPID_OnDblClick = 204,
  DISPID_OnDestroy = 205,
  DISPID_OnDeactivate = 206,
  DISPID_OnKeyPress = 207,
  DISPID_OnPaint = 208,
  DISPID_OnCallerID = 209,
  DISPID_OnSignalA = 210,
};
constexpr int DISPID_FormVisible = 201;

// The text commands of the contract, spelled here only: the program sends
// them and every device control reads them through this table.
enum class TZarvoCommand { zcDeviceModel, zcSerial, zcLineOn, zcLineOff, zcDial, zcUnknown };

struct TZarvoCommandWord {
  TZarvoCommand command;
  const char* word;
  bool argument;  // the word is followed directly by a text ("dial" and the number)
};

inline constexpr TZarvoCommandWord kZarvoCommandWords[] = {
    {TZarvoCommand::zcDeviceModel, "devicemodel", false},
    {TZarvoCommand::zcSerial, "serial", false},
    {TZarvoCommand::zcLineOn, "LineStatus1", false},
    {TZarvoCommand::zcLineOff, "LineStatus0", false},
    {TZarvoCommand::zcDial, "dial", true},
};

// The command text to send: the word, and the argument after it.
QString ZarvoCommandText(TZarvoCommand command, const QString& argument = {});
// Which command text is, and its argument (the rest of the text).
TZarvoCommand ParseZarvoCommand(const QString& text, QString* argument = nullptr);

// Where a control sends its events: the dispatch identifier and the wide
// text arguments after the sender.
class IZarvoEvents {
 public:
  virtual ~IZarvoEvents() = default;
  virtual void Invoke(int DispId, const QStringList& Args) = 0;
};

// The device control's dual interface. Every operation answers a status.
class IZarvo {
 public:
  virtual ~IZarvo() = default;
  virtual HRESULT GetFormVisible(bool& Value) = 0;
  virtual HRESULT SetFormVisible(bool Value) = 0;
  virtual HRESULT ShowAbout() = 0;
  virtual HRESULT Start() = 0;
  virtual HRESULT Command(const QString& Cmd, QString& Result) = 0;
  // Connects the event sink (nullptr disconnects). Events are raised on the
  // user-interface thread only.
  virtual void Advise(IZarvoEvents* Sink) = 0;
  // The control's own window, placed on the hosting form.
  virtual QWidget* Window() { return nullptr; }
};

// A failing operation may leave a description of what went wrong, as a COM
// object leaves its error info; the caller's error then carries that text
// instead of the bare status. Each failure's description is used once.
void SetZarvoErrorInfo(const QString& Description);

// Controls are created by class identifier, as an embedded control is.
using TZarvoFactory = std::function<std::unique_ptr<IZarvo>()>;
void RegisterZarvoClass(const QUuid& Clsid, TZarvoFactory Factory);
void UnregisterZarvoClass(const QUuid& Clsid);
// Raises EOleError "Class not registered" when nothing is registered.
std::unique_ptr<IZarvo> CreateZarvoObject(const QUuid& Clsid);

using TZarvoOnCallerID =
    std::function<void(TObject* ASender, const QString& DeviceID, const QString& Line, const QString& PhoneNumber,
                       const QString& DateTime, const QString& OtherText)>;
using TZarvoOnSignalA = std::function<void(TObject* ASender, const QString& Level1, const QString& Level2,
                                           const QString& Level3, const QString& Level4, const QString& Level5,
                                           const QString& Level6, const QString& Level7, const QString& Level8)>;

// The control as placed on a form (Zarvo1). A failing status raises
// EOleError in the caller; events run inside the exception boundary.
class TZarvo : public TComponent, private IZarvoEvents {
  Q_OBJECT
 public:
  // Raises EOleError when no control is registered under CLASS_Zarvo.
  explicit TZarvo(TComponent* AOwner, QWidget* Parent = nullptr);
  ~TZarvo() override;

  bool FormVisible();
  void SetFormVisible(bool Value);
  void Start();
  void ShowAbout();
  QString Command(const QString& Cmd);

  QWidget* Widget() const { return widget_; }
  IZarvo* ControlInterface() const { return intf_.get(); }

  TZarvoOnCallerID OnCallerID;
  TZarvoOnSignalA OnSignalA;

 private:
  void Invoke(int DispId, const QStringList& Args) override;

  std::unique_ptr<IZarvo> intf_;
  QWidget* widget_ = nullptr;
};

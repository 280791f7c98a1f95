#pragma once
// Stored forms: objects written and read as text with their published
// properties (Qt meta-object properties) and their unnamed child objects.
//
//   object GridView1: TGridView
//     Options = [goGrid, goHeader]
//     object TTextualColumn
//       Header.Caption = 'Saat'
//       Width = 96
//     end
//   end
//
// Values: numbers, True/False, enumeration names, sets as [a, b], strings
// quoted ('it''s', control characters as #13), string lists as ('a' 'b'),
// pictures as {hex of a PNG}. Owned parts are written with dotted names.

#include <QByteArray>
#include <QMetaProperty>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

struct TFormValue {
  enum Kind { Identifier, Number, String, Set, List, Binary };
  Kind Type = Identifier;
  QString Text;       // identifier, number or string
  QStringList Items;  // set members or list strings
  QByteArray Data;    // binary
};

struct TFormProperty {
  QString Name;
  TFormValue Value;
  int Line = 0;
};

struct TFormObject {
  QString Name;  // empty for unnamed children
  QString ClassName;
  int Line = 0;
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;
};

// An object that keeps child objects of its own in its form (a grid keeps its
// columns). Reading must raise EReadError and change nothing on a bad form.
class IStoredChildren {
 public:
  virtual ~IStoredChildren() = default;
  virtual std::vector<TFormObject> StoredChildForms() const = 0;
  virtual void ReadStoredChildForms(const std::vector<TFormObject>& forms) = 0;
};

// ---- classes creatable by name ----------------------------------------------

using TObjectFactory = std::function<QObject*()>;
void RegisterClass(const QString& className, TObjectFactory factory);
template <class T>
void RegisterClass() {
  RegisterClass(QString::fromLatin1(T::staticMetaObject.className()), [] { return new T; });
}
// Raises EReadError naming the line when nothing is registered under the name.
// While a form is being read, the new object is one of the objects read.
std::unique_ptr<QObject> CreateRegistered(const QString& className, int line);

// ---- objects to forms and back ----------------------------------------------

TFormObject ObjectToForm(const QObject* object, const QString& name = {});
QString FormToText(const TFormObject& form);
// Parses the text; raises EReadError naming the line on a syntax error.
TFormObject TextToForm(const QString& text);

// One property value checked and converted, ready to be written.
struct TPropertyBinding {
  QObject* Target = nullptr;
  QMetaProperty Property;
  QVariant Value;
  int Line = 0;
};
// Finds and converts every property of the form; raises EReadError naming
// the line and the property for an unknown property or a bad value.
std::vector<TPropertyBinding> ResolveProperties(QObject* object, const TFormObject& form);
void ApplyProperties(const std::vector<TPropertyBinding>& bindings);

QString WriteObjectText(const QObject* object, const QString& name = {});
// Reads the form into the object; on a bad form raises EReadError before
// anything is changed. Components among the objects read are loading while
// it reads; once all are read, each gets Loaded, the object first.
void ReadObjectText(QObject* object, const QString& text);

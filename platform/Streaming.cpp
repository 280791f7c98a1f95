#include "platform/Streaming.h"

#include <QBuffer>
#include <QImage>
#include <QMetaEnum>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <cstring>
#include <limits>
#include <map>

#include "platform/Classes.h"
#include "platform/Exceptions.h"

namespace {

// ---- registry ----------------------------------------------------------------

std::map<QString, TObjectFactory>& Registry() {
  static std::map<QString, TObjectFactory> registry;
  return registry;
}

[[noreturn]] void LineError(int line, const QString& message) {
  throw EReadError(QStringLiteral("Line %1: %2").arg(line).arg(message));
}

[[noreturn]] void PropertyError(const TFormProperty& p, const QObject* target, const QString& message) {
  LineError(p.Line, QStringLiteral("property %1 of %2: %3")
                        .arg(p.Name, QString::fromLatin1(target->metaObject()->className()), message));
}

// ---- which properties are published ------------------------------------------

// Qt's own classes (QObject, QWidget) carry properties of their own that are
// not part of our forms.
bool DeclaredByQt(const QMetaObject* meta, int index) {
  while (meta && meta->propertyOffset() > index) meta = meta->superClass();
  return meta && meta->className()[0] == 'Q';
}

QMetaProperty PublishedProperty(const QObject* object, const QString& name) {
  const QMetaObject* meta = object->metaObject();
  const int index = meta->indexOfProperty(name.toLatin1().constData());
  if (index < 0 || DeclaredByQt(meta, index)) return {};
  return meta->property(index);
}

bool IsObjectProperty(const QMetaProperty& p) { return p.metaType().flags().testFlag(QMetaType::PointerToQObject); }

QObject* NestedObject(const QObject* owner, const QMetaProperty& p) { return p.read(owner).value<QObject*>(); }

// ---- enumerations and sets as raw integers -------------------------------------

qint64 RawInteger(const QVariant& v) {
  const void* data = v.constData();
  switch (v.metaType().sizeOf()) {
    case 1: {
      uint8_t x;
      std::memcpy(&x, data, 1);
      return x;
    }
    case 2: {
      uint16_t x;
      std::memcpy(&x, data, 2);
      return x;
    }
    case 8: {
      qint64 x;
      std::memcpy(&x, data, 8);
      return x;
    }
    default: {
      uint32_t x;
      std::memcpy(&x, data, 4);
      return x;
    }
  }
}

QVariant FromRawInteger(QMetaType type, qint64 value) {
  uint8_t b = uint8_t(value);
  uint16_t w = uint16_t(value);
  uint32_t d = uint32_t(value);
  switch (type.sizeOf()) {
    case 1:
      return QVariant(type, &b);
    case 2:
      return QVariant(type, &w);
    case 8:
      return QVariant(type, &value);
    default:
      return QVariant(type, &d);
  }
}

// ---- writing values ----------------------------------------------------------

QString QuoteString(const QString& s) {
  if (s.isEmpty()) return QStringLiteral("''");
  QString out;
  bool open = false;
  for (QChar c : s) {
    if (c.unicode() < 32) {
      if (open) out += QLatin1Char('\'');
      open = false;
      out += QLatin1Char('#') + QString::number(c.unicode());
      continue;
    }
    if (!open) out += QLatin1Char('\'');
    open = true;
    out += c;
    if (c == QLatin1Char('\'')) out += c;
  }
  if (open) out += QLatin1Char('\'');
  return out;
}

QString ValueText(const TFormValue& v) {
  switch (v.Type) {
    case TFormValue::String:
      return QuoteString(v.Text);
    case TFormValue::Set:
      return QLatin1Char('[') + v.Items.join(QStringLiteral(", ")) + QLatin1Char(']');
    case TFormValue::List: {
      QStringList quoted;
      for (const QString& s : v.Items) quoted << QuoteString(s);
      return QLatin1Char('(') + quoted.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    case TFormValue::Binary:
      return QLatin1Char('{') + QString::fromLatin1(v.Data.toHex().toUpper()) + QLatin1Char('}');
    default:
      return v.Text;
  }
}

QStringList SetMembers(const QMetaEnum& e, qint64 bits) {
  QStringList members;
  for (int k = 0; k < e.keyCount(); ++k)
    if (e.value(k) != 0 && (bits & e.value(k)) == e.value(k)) members << QString::fromLatin1(e.key(k));
  return members;
}

TFormValue ToFormValue(const QMetaProperty& p, const QVariant& v) {
  if (p.isEnumType()) {
    const QMetaEnum e = p.enumerator();
    const qint64 raw = RawInteger(v);
    if (p.isFlagType()) return {TFormValue::Set, {}, SetMembers(e, raw), {}};
    const char* key = e.valueToKey(int(raw));
    return key ? TFormValue{TFormValue::Identifier, QString::fromLatin1(key), {}, {}}
               : TFormValue{TFormValue::Number, QString::number(raw), {}, {}};
  }
  switch (p.metaType().id()) {
    case QMetaType::Bool:
      return {TFormValue::Identifier, v.toBool() ? QStringLiteral("True") : QStringLiteral("False"), {}, {}};
    case QMetaType::Double:
    case QMetaType::Float:
      return {TFormValue::Number, QString::number(v.toDouble(), 'g', 17), {}, {}};
    case QMetaType::QString:
      return {TFormValue::String, v.toString(), {}, {}};
    case QMetaType::QStringList:
      return {TFormValue::List, {}, v.toStringList(), {}};
    case QMetaType::QImage: {
      QBuffer buffer;
      buffer.open(QIODevice::WriteOnly);
      v.value<QImage>().save(&buffer, "PNG");
      return {TFormValue::Binary, {}, {}, buffer.data()};
    }
    default:
      return {TFormValue::Number, QString::number(v.toLongLong()), {}, {}};
  }
}

// Calls visit(dotted name, property, value) for every stored published
// property of the object and of its owned parts.
void ForEachStoredValue(const QObject* object, const QString& prefix,
                        const std::function<void(const QString&, const QMetaProperty&, const QVariant&)>& visit) {
  const QMetaObject* meta = object->metaObject();
  for (int i = 0; i < meta->propertyCount(); ++i) {
    const QMetaProperty p = meta->property(i);
    if (DeclaredByQt(meta, i) || !p.isReadable() || !p.isStored()) continue;
    const QString name = prefix + QString::fromLatin1(p.name());
    if (!IsObjectProperty(p))
      visit(name, p, p.read(object));
    else if (const QObject* nested = NestedObject(object, p))
      ForEachStoredValue(nested, name + QLatin1Char('.'), visit);
  }
}

// ---- which values a form leaves out --------------------------------------------

bool IsEmptyValue(const QVariant& v) {
  switch (v.metaType().id()) {
    case QMetaType::QString:
      return v.toString().isEmpty();
    case QMetaType::QStringList:
      return v.toStringList().isEmpty();
    case QMetaType::QImage:
      return v.value<QImage>().isNull();
    default:
      return false;
  }
}

// Per registered class, the dotted names of the properties a new object
// leaves empty.
std::map<QString, QSet<QString>>& EmptyDefaultsCache() {
  static std::map<QString, QSet<QString>> cache;
  return cache;
}

// Null when the class is not registered and so its defaults are unknown.
const QSet<QString>* EmptyDefaults(const QString& className) {
  auto& cache = EmptyDefaultsCache();
  auto it = cache.find(className);
  if (it == cache.end()) {
    const auto factory = Registry().find(className);
    if (factory == Registry().end()) return nullptr;
    const std::unique_ptr<QObject> fresh(factory->second());
    QSet<QString> empty;
    ForEachStoredValue(fresh.get(), QString(), [&empty](const QString& name, const QMetaProperty&, const QVariant& v) {
      if (IsEmptyValue(v)) empty.insert(name);
    });
    it = cache.emplace(className, std::move(empty)).first;
  }
  return &it->second;
}

// An empty value is left out only where reading the form without it gives
// the same value: when the class's own default is empty too. A missing
// picture has no written form and is always left out.
bool LeftOut(const QString& className, const QString& name, const QVariant& value) {
  if (!IsEmptyValue(value)) return false;
  if (value.metaType().id() == QMetaType::QImage) return true;
  const QSet<QString>* empty = EmptyDefaults(className);
  return empty && empty->contains(name);
}

void AppendProperties(const QObject* object, std::vector<TFormProperty>& out) {
  const QString className = QString::fromLatin1(object->metaObject()->className());
  ForEachStoredValue(object, QString(), [&](const QString& name, const QMetaProperty& p, const QVariant& value) {
    if (!LeftOut(className, name, value)) out.push_back({name, ToFormValue(p, value), 0});
  });
}

void AppendText(const TFormObject& form, int depth, QString& out) {
  const QString indent(depth * 2, QLatin1Char(' '));
  out += indent + QStringLiteral("object ");
  out += form.Name.isEmpty() ? form.ClassName : form.Name + QStringLiteral(": ") + form.ClassName;
  out += QLatin1Char('\n');
  for (const TFormProperty& p : form.Properties)
    out += indent + QStringLiteral("  ") + p.Name + QStringLiteral(" = ") + ValueText(p.Value) + QLatin1Char('\n');
  for (const TFormObject& child : form.Children) AppendText(child, depth + 1, out);
  out += indent + QStringLiteral("end\n");
}

// ---- parsing -------------------------------------------------------------------

// A form nested deeper is refused as it is read, before its tree grows that
// deep: taking a tree apart recurses once per level.
constexpr size_t kMaxFormDepth = 256;

void CheckNesting(size_t openObjects, int line) {
  if (openObjects >= kMaxFormDepth)
    LineError(line, QStringLiteral("objects nested deeper than %1 levels").arg(kMaxFormDepth));
}

const QRegularExpression& IdentifierPattern() {
  static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
  return re;
}

bool IsIdentifier(const QString& s) { return IdentifierPattern().match(s).hasMatch(); }

// Reads a string of quoted parts and #n characters from position i.
QString ParseString(const QString& s, int& i, int line) {
  QString out;
  while (i < s.size()) {
    if (s[i] == QLatin1Char('\'')) {
      ++i;
      for (;;) {
        if (i >= s.size()) LineError(line, QStringLiteral("unterminated string"));
        if (s[i] == QLatin1Char('\'')) {
          if (i + 1 < s.size() && s[i + 1] == QLatin1Char('\'')) {
            out += QLatin1Char('\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += s[i++];
      }
    } else if (s[i] == QLatin1Char('#')) {
      const int start = ++i;
      while (i < s.size() && s[i].isDigit()) ++i;
      bool ok = false;
      const uint code = s.mid(start, i - start).toUInt(&ok);
      if (!ok || code > 0xFFFF) LineError(line, QStringLiteral("bad character code in string"));
      out += QChar(char16_t(code));
    } else {
      break;
    }
  }
  return out;
}

QString Enclosed(const QString& s, QChar close, int line) {
  if (!s.endsWith(close)) LineError(line, QStringLiteral("'%1' expected").arg(close));
  return s.mid(1, s.size() - 2).trimmed();
}

TFormValue ParseValue(const QString& s, int line) {
  static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]+(\\.[0-9]+)?([eE][-+]?[0-9]+)?$"));
  TFormValue v;
  if (s.isEmpty()) LineError(line, QStringLiteral("value expected"));
  const QChar first = s[0];
  if (first == QLatin1Char('\'') || first == QLatin1Char('#')) {
    int i = 0;
    v.Type = TFormValue::String;
    v.Text = ParseString(s, i, line);
    if (i != s.size()) LineError(line, QStringLiteral("unexpected text after string"));
  } else if (first == QLatin1Char('[')) {
    v.Type = TFormValue::Set;
    const QString inner = Enclosed(s, QLatin1Char(']'), line);
    if (!inner.isEmpty())
      for (const QString& member : inner.split(QLatin1Char(','))) {
        if (!IsIdentifier(member.trimmed()))
          LineError(line, QStringLiteral("bad set member '%1'").arg(member.trimmed()));
        v.Items << member.trimmed();
      }
  } else if (first == QLatin1Char('(')) {
    v.Type = TFormValue::List;
    const QString inner = Enclosed(s, QLatin1Char(')'), line);
    for (int i = 0; i < inner.size();) {
      if (inner[i].isSpace()) {
        ++i;
        continue;
      }
      const int start = i;
      v.Items << ParseString(inner, i, line);
      if (i == start) LineError(line, QStringLiteral("string expected in list"));
    }
  } else if (first == QLatin1Char('{')) {
    v.Type = TFormValue::Binary;
    const QString hex = Enclosed(s, QLatin1Char('}'), line).remove(QLatin1Char(' '));
    static const QRegularExpression hexDigits(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    if (!hexDigits.match(hex).hasMatch()) LineError(line, QStringLiteral("bad binary data"));
    v.Data = QByteArray::fromHex(hex.toLatin1());
  } else if (number.match(s).hasMatch()) {
    v.Type = TFormValue::Number;
    v.Text = s;
  } else if (IsIdentifier(s)) {
    v.Type = TFormValue::Identifier;
    v.Text = s;
  } else {
    LineError(line, QStringLiteral("bad value '%1'").arg(s));
  }
  return v;
}

bool IsPropertyName(const QString& name) {
  const QStringList parts = name.split(QLatin1Char('.'));
  for (const QString& part : parts)
    if (!IsIdentifier(part)) return false;
  return true;
}

// ---- reading values ------------------------------------------------------------

QVariant IntegerValue(const TFormValue& v, QMetaType type, const TFormProperty& p, const QObject* target) {
  bool ok = v.Type == TFormValue::Number;
  const qlonglong n = ok ? v.Text.toLongLong(&ok) : 0;
  QVariant out(n);
  if (!ok || !out.convert(type) || out.toLongLong() != n)
    PropertyError(p, target, QStringLiteral("'%1' is not a valid integer value").arg(ValueText(v)));
  return out;
}

QVariant EnumValue(const TFormValue& v, const QMetaProperty& mp, const TFormProperty& p, const QObject* target) {
  const QMetaEnum e = mp.enumerator();
  qint64 bits = 0;
  if (mp.isFlagType()) {
    if (v.Type != TFormValue::Set) PropertyError(p, target, QStringLiteral("a set is expected"));
    for (const QString& member : v.Items) {
      bool ok = false;
      bits |= e.keyToValue(member.toLatin1().constData(), &ok);
      if (!ok)
        PropertyError(p, target,
                      QStringLiteral("'%1' is not a member of %2").arg(member, QString::fromLatin1(e.name())));
    }
  } else {
    bool ok = v.Type == TFormValue::Identifier;
    if (ok) bits = e.keyToValue(v.Text.toLatin1().constData(), &ok);
    if (!ok)
      PropertyError(p, target,
                    QStringLiteral("'%1' is not a value of %2").arg(ValueText(v), QString::fromLatin1(e.name())));
  }
  return FromRawInteger(mp.metaType(), bits);
}

QVariant ConvertValue(const TFormProperty& p, const QMetaProperty& mp, const QObject* target) {
  const TFormValue& v = p.Value;
  if (mp.isEnumType()) return EnumValue(v, mp, p, target);
  auto expect = [&](bool ok, const char* what) {
    if (!ok) PropertyError(p, target, QStringLiteral("%1 expected, found %2").arg(QLatin1String(what), ValueText(v)));
  };
  switch (mp.metaType().id()) {
    case QMetaType::Bool: {
      const bool isTrue = v.Text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
      const bool isFalse = v.Text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0;
      expect(v.Type == TFormValue::Identifier && (isTrue || isFalse), "True or False");
      return isTrue;
    }
    case QMetaType::Double:
    case QMetaType::Float:
      expect(v.Type == TFormValue::Number, "a number");
      return v.Text.toDouble();
    case QMetaType::QString:
      expect(v.Type == TFormValue::String, "a string");
      return v.Text;
    case QMetaType::QStringList:
      expect(v.Type == TFormValue::List, "a list of strings");
      return v.Items;
    case QMetaType::QImage: {
      expect(v.Type == TFormValue::Binary, "binary data");
      QImage image;
      expect(image.loadFromData(v.Data, "PNG"), "a PNG picture");
      return image;
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
      return IntegerValue(v, mp.metaType(), p, target);
    default:
      PropertyError(p, target,
                    QStringLiteral("values of type %1 cannot be read").arg(QString::fromLatin1(mp.typeName())));
  }
}

// The objects the form being read has made so far, its root first; none
// while no form is being read.
std::vector<QPointer<QObject>>* objectsRead = nullptr;

// Components are loading while their form is read.
void NoteObjectRead(QObject* object) {
  if (!objectsRead) return;
  objectsRead->emplace_back(object);
  if (auto* c = dynamic_cast<TComponentBase*>(object)) {
    c->Include(csLoading);
    c->Include(csReading);
  }
}

// One form being read: once every object is read, each gets Loaded, root
// first; when reading fails, nothing is loaded and nothing stays loading.
class TFormReading {
 public:
  explicit TFormReading(QObject* root) : outer_(std::exchange(objectsRead, &objects_)) { NoteObjectRead(root); }
  ~TFormReading() {
    objectsRead = outer_;
    for (TComponentBase* c : Components()) {
      c->Exclude(csReading);
      c->Exclude(csLoading);
    }
  }
  TFormReading(const TFormReading&) = delete;
  TFormReading& operator=(const TFormReading&) = delete;

  void Finish() {
    objectsRead = outer_;
    const std::vector<TComponentBase*> read = Components();
    objects_.clear();
    for (TComponentBase* c : read) c->Exclude(csReading);
    for (TComponentBase* c : read) c->Loaded();
  }

 private:
  std::vector<TComponentBase*> Components() const {
    std::vector<TComponentBase*> out;
    for (const QPointer<QObject>& o : objects_)
      if (auto* c = dynamic_cast<TComponentBase*>(o.data())) out.push_back(c);
    return out;
  }

  std::vector<QPointer<QObject>>* outer_;
  std::vector<QPointer<QObject>> objects_;
};

TPropertyBinding Resolve(QObject* object, const TFormProperty& p) {
  const QStringList parts = p.Name.split(QLatin1Char('.'));
  QObject* target = object;
  for (int k = 0; k + 1 < parts.size(); ++k) {
    const QMetaProperty nested = PublishedProperty(target, parts[k]);
    QObject* next = nested.isValid() && IsObjectProperty(nested) ? NestedObject(target, nested) : nullptr;
    if (!next) PropertyError(p, object, QStringLiteral("%1 is not a part that can be read into").arg(parts[k]));
    target = next;
  }
  const QMetaProperty mp = PublishedProperty(target, parts.last());
  if (!mp.isValid()) PropertyError(p, object, QStringLiteral("no such property"));
  if (IsObjectProperty(mp)) PropertyError(p, object, QStringLiteral("a part takes its values through dotted names"));
  if (!mp.isWritable()) PropertyError(p, object, QStringLiteral("the property cannot be written"));
  return {target, mp, ConvertValue(p, mp, target), p.Line};
}

}  // namespace

// ---- public --------------------------------------------------------------------

void RegisterClass(const QString& className, TObjectFactory factory) {
  Registry()[className] = std::move(factory);
  EmptyDefaultsCache().erase(className);
}

std::unique_ptr<QObject> CreateRegistered(const QString& className, int line) {
  const auto it = Registry().find(className);
  if (it == Registry().end()) LineError(line, QStringLiteral("class %1 is not registered").arg(className));
  std::unique_ptr<QObject> object(it->second());
  NoteObjectRead(object.get());
  return object;
}

TFormObject ObjectToForm(const QObject* object, const QString& name) {
  TFormObject form;
  form.Name = name;
  form.ClassName = QString::fromLatin1(object->metaObject()->className());
  AppendProperties(object, form.Properties);
  if (auto* parent = dynamic_cast<const IStoredChildren*>(object)) form.Children = parent->StoredChildForms();
  return form;
}

QString FormToText(const TFormObject& form) {
  QString out;
  AppendText(form, 0, out);
  return out;
}

TFormObject TextToForm(const QString& text) {
  static const QRegularExpression header(
      QStringLiteral("^object\\s+(?:([A-Za-z_][A-Za-z0-9_]*)\\s*:\\s*)?([A-Za-z_][A-Za-z0-9_]*)$"));
  const QStringList lines = text.split(QLatin1Char('\n'));
  std::vector<TFormObject> open;
  TFormObject root;
  bool haveRoot = false;
  int line = 0, lastLine = 0;
  for (const QString& raw : lines) {
    ++line;
    const QString s = raw.trimmed();
    if (s.isEmpty()) continue;
    lastLine = line;
    if (haveRoot && open.empty()) LineError(line, QStringLiteral("text after the end of the form"));
    if (s == QLatin1String("end")) {
      if (open.empty()) LineError(line, QStringLiteral("'end' without an object"));
      TFormObject done = std::move(open.back());
      open.pop_back();
      if (open.empty()) {
        root = std::move(done);
        haveRoot = true;
      } else
        open.back().Children.push_back(std::move(done));
      continue;
    }
    const auto m = header.match(s);
    if (m.hasMatch()) {
      CheckNesting(open.size(), line);
      TFormObject object;
      object.Name = m.captured(1);
      object.ClassName = m.captured(2);
      object.Line = line;
      open.push_back(std::move(object));
      continue;
    }
    if (open.empty()) LineError(line, QStringLiteral("'object' expected"));
    const int eq = s.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? s : s.left(eq).trimmed();
    if (eq < 0 || !IsPropertyName(name))
      LineError(line, QStringLiteral("property assignment expected, found '%1'").arg(s));
    open.back().Properties.push_back({name, ParseValue(s.mid(eq + 1).trimmed(), line), line});
  }
  if (!open.empty())
    LineError(lastLine, QStringLiteral("'end' expected for object %1 opened at line %2")
                            .arg(open.back().ClassName)
                            .arg(open.back().Line));
  if (!haveRoot) LineError(lastLine, QStringLiteral("the text holds no object"));
  return root;
}

std::vector<TPropertyBinding> ResolveProperties(QObject* object, const TFormObject& form) {
  std::vector<TPropertyBinding> bindings;
  bindings.reserve(form.Properties.size());
  for (const TFormProperty& p : form.Properties) bindings.push_back(Resolve(object, p));
  return bindings;
}

void ApplyProperties(const std::vector<TPropertyBinding>& bindings) {
  for (const TPropertyBinding& b : bindings) {
    try {
      if (!b.Property.write(b.Target, b.Value))
        LineError(b.Line,
                  QStringLiteral("property %1 could not be written").arg(QString::fromLatin1(b.Property.name())));
    } catch (const EReadError&) {
      throw;
    } catch (const Exception& e) {
      LineError(b.Line, QStringLiteral("property %1: %2").arg(QString::fromLatin1(b.Property.name()), e.Message()));
    }
  }
}

QString WriteObjectText(const QObject* object, const QString& name) { return FormToText(ObjectToForm(object, name)); }

void ReadObjectText(QObject* object, const QString& text) {
  TFormReading reading(object);
  const TFormObject form = TextToForm(text);
  const QString className = QString::fromLatin1(object->metaObject()->className());
  if (form.ClassName != className)
    LineError(form.Line, QStringLiteral("the form holds a %1, not a %2").arg(form.ClassName, className));
  const std::vector<TPropertyBinding> bindings = ResolveProperties(object, form);
  auto* parent = dynamic_cast<IStoredChildren*>(object);
  if (parent)
    parent->ReadStoredChildForms(form.Children);
  else if (!form.Children.empty())
    LineError(form.Children.front().Line, QStringLiteral("%1 keeps no child objects").arg(className));
  ApplyProperties(bindings);
  reading.Finish();
}

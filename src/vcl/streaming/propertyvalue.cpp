#include "vcl/streaming/propertyvalue.h"

#include "vcl/core/strings.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/colors.h"
#include "vcl/streaming/classregistry.h"

#include <QMetaEnum>
#include <climits>

namespace vcl::formfile {

namespace {

[[noreturn]] void Refuse(const QMetaProperty& P, const QString& Reason)
{
    throw EConvertError(QStringLiteral("Invalid value for %1: %2").arg(QString::fromLatin1(P.name()), Reason));
}

// The form-file spelling of a value when it is not a name: a number, a string, a list.
QString Spelling(const Value& V)
{
    return V.Type == Value::Ident ? V.Text : Render(V, 0);
}

bool IsIntegerType(const QMetaType& Type)
{
    switch (Type.id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

Value Named(const QString& Name)
{
    Value v;
    v.Type = Value::Ident;
    v.Text = Name;
    return v;
}

// ---------------------------------------------------------------- reading, one per kind

QVariant EnumFromValue(const QMetaProperty& P, const Value& V)
{
    const QMetaEnum e = P.enumerator();
    if (V.Type == Value::Ident) {
        bool ok = false;
        const int value = e.keyToValue(V.Text.toLatin1().constData(), &ok);
        if (!ok)
            Refuse(P, QStringLiteral("%1 is not a value of %2").arg(V.Text, QString::fromLatin1(e.name())));
        return value;
    }
    if (V.Type == Value::Integer) {
        if (V.IntValue < INT_MIN || V.IntValue > INT_MAX || e.valueToKey(int(V.IntValue)) == nullptr)
            Refuse(P, QStringLiteral("%1 is out of the range of %2").arg(V.IntValue).arg(QString::fromLatin1(e.name())));
        return int(V.IntValue);
    }
    Refuse(P, QStringLiteral("a name of %1 expected").arg(QString::fromLatin1(e.name())));
}

QVariant SetFromValue(const QMetaProperty& P, const Value& V)
{
    const QMetaEnum e = P.enumerator();
    int all = 0;
    for (int i = 0; i < e.keyCount(); ++i)
        all |= e.value(i);
    if (V.Type == Value::Integer) {
        if (V.IntValue < 0 || (V.IntValue & ~int64_t(uint32_t(all))) != 0)
            Refuse(P, QStringLiteral("%1 is not a set of %2").arg(V.IntValue).arg(QString::fromLatin1(e.name())));
        return int(V.IntValue);
    }
    if (V.Type != Value::Set)
        Refuse(P, QStringLiteral("a set of %1 expected").arg(QString::fromLatin1(e.name())));
    int bits = 0;
    for (const QString& name : V.Names) {
        bool ok = false;
        bits |= e.keyToValue(name.toLatin1().constData(), &ok);
        if (!ok)
            Refuse(P, QStringLiteral("%1 is not a value of %2").arg(name, QString::fromLatin1(e.name())));
    }
    return bits;
}

QVariant ColorFromValue(const QMetaProperty& P, const Value& V)
{
    TColor color = 0;
    if (V.Type == Value::Ident && IdentToColor(V.Text, color))
        return QVariant::fromValue(color);
    // Colours are 32-bit patterns: $80000005 and -2147483643 are the same system colour.
    if (V.Type == Value::Integer && V.IntValue >= INT32_MIN && V.IntValue <= int64_t(UINT32_MAX))
        return QVariant::fromValue(TColorOf(uint32_t(V.IntValue)));
    Refuse(P, QStringLiteral("%1 is not a colour").arg(Spelling(V)));
}

QVariant BoolFromValue(const QMetaProperty& P, const Value& V)
{
    if (V.Type == Value::Ident && SameText(V.Text, QStringLiteral("True")))
        return true;
    if (V.Type == Value::Ident && SameText(V.Text, QStringLiteral("False")))
        return false;
    Refuse(P, QStringLiteral("True or False expected, not %1").arg(Spelling(V)));
}

QVariant IntegerFromValue(const QMetaProperty& P, const Value& V)
{
    if (V.Type != Value::Integer)
        Refuse(P, QStringLiteral("a number expected, not %1").arg(Spelling(V)));
    // A value the property's type cannot hold is refused, not cut.
    QVariant out = QVariant::fromValue(V.IntValue);
    if (!out.convert(P.metaType()) || out.toLongLong() != V.IntValue)
        Refuse(P, QStringLiteral("%1 is out of range").arg(V.IntValue));
    return out;
}

QVariant FloatFromValue(const QMetaProperty& P, const Value& V)
{
    if (V.Type != Value::Float && V.Type != Value::Integer)
        Refuse(P, QStringLiteral("a number expected, not %1").arg(Spelling(V)));
    const long double value = V.Type == Value::Float ? V.FloatValue : static_cast<long double>(V.IntValue);
    if (P.metaType() == QMetaType::fromType<long double>())
        return QVariant::fromValue(value);
    return double(value);
}

QVariant TextFromValue(const QMetaProperty& P, const Value& V)
{
    if (V.Type == Value::String && P.metaType().id() == QMetaType::QString)
        return V.Text;
    if (V.Type == Value::Binary && P.metaType().id() == QMetaType::QByteArray)
        return V.Bytes;
    if (V.Type == Value::List && P.metaType().id() == QMetaType::QStringList) {
        QStringList list;
        for (const Value& item : V.Items) {
            if (item.Type != Value::String)
                Refuse(P, QStringLiteral("a list of strings expected"));
            list.push_back(item.Text);
        }
        return list;
    }
    Refuse(P, QStringLiteral("%1 does not fit a property of type %2").arg(Spelling(V), QString::fromLatin1(P.typeName())));
}

} // namespace

Value StringListValue(const QStringList& Lines)
{
    Value list;
    list.Type = Value::List;
    for (const QString& line : Lines) {
        Value item;
        item.Type = Value::String;
        item.Text = line;
        list.Items.push_back(item);
    }
    return list;
}

bool IsPlainType(const QMetaProperty& Property)
{
    const QMetaType type = Property.metaType();
    if (Property.isEnumType() || IsColorProperty(Property) || IsIntegerType(type)
        || type == QMetaType::fromType<long double>())
        return true;
    switch (type.id()) {
    case QMetaType::Bool: case QMetaType::Double: case QMetaType::Float: case QMetaType::QString:
    case QMetaType::QStringList: case QMetaType::QByteArray:
        return true;
    default:
        return false;
    }
}

bool ToValue(const QMetaProperty& P, const QVariant& V, Value& Out)
{
    const QMetaType type = P.metaType();
    if (P.isFlagType()) {
        Out.Type = Value::Set;
        const int bits = V.toInt();
        if (bits != 0)
            for (const QByteArray& key : P.enumerator().valueToKeys(bits).split('|'))
                Out.Names.push_back(QString::fromLatin1(key));
    } else if (P.isEnumType()) {
        // Every value an enumeration holds has a name: setters take only the type.
        const char* key = P.enumerator().valueToKey(V.toInt());
        if (key == nullptr)
            return false;
        Out = Named(QString::fromLatin1(key));
    } else if (IsColorProperty(P)) {
        Out = Named(ColorToString(V.value<TColor>()));
    } else if (type.id() == QMetaType::Bool) {
        Out = Named(V.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
    } else if (IsIntegerType(type)) {
        Out.Type = Value::Integer;
        Out.IntValue = V.toLongLong();
    } else if (type == QMetaType::fromType<long double>() || type.id() == QMetaType::Double || type.id() == QMetaType::Float) {
        Out.Type = Value::Float;
        Out.FloatValue = type == QMetaType::fromType<long double>() ? V.value<long double>() : V.toDouble();
    } else if (type.id() == QMetaType::QString) {
        Out.Type = Value::String;
        Out.Text = V.toString();
    } else if (type.id() == QMetaType::QStringList) {
        Out = StringListValue(V.toStringList());
    } else if (type.id() == QMetaType::QByteArray) {
        Out.Type = Value::Binary;
        Out.Bytes = V.toByteArray();
    } else {
        return false;
    }
    return true;
}

QVariant FromValue(const QMetaProperty& P, const Value& V)
{
    const QMetaType type = P.metaType();
    if (P.isFlagType())
        return SetFromValue(P, V);
    if (P.isEnumType())
        return EnumFromValue(P, V);
    if (IsColorProperty(P))
        return ColorFromValue(P, V);
    if (type.id() == QMetaType::Bool)
        return BoolFromValue(P, V);
    if (IsIntegerType(type))
        return IntegerFromValue(P, V);
    if (type == QMetaType::fromType<long double>() || type.id() == QMetaType::Double || type.id() == QMetaType::Float)
        return FloatFromValue(P, V);
    return TextFromValue(P, V);
}

QString ValueText(const QMetaProperty& Property, const QVariant& V)
{
    Value value;
    if (Property.metaType().id() == QMetaType::QString || !ToValue(Property, V, value))
        return V.toString();
    return Render(value, 0);
}

QVariant ValueFromText(const QMetaProperty& Property, const QString& Text)
{
    const int type = Property.metaType().id();
    if (type == QMetaType::QString)
        return Text;
    QString text = Text.trimmed();
    if (Property.isFlagType() && !text.startsWith(u'['))
        text = u'[' + text + u']';
    Value value;
    try {
        value = ParseValue(text);
    } catch (const Exception&) {
        Refuse(Property, QStringLiteral("'%1' cannot be read").arg(Text));
    }
    return FromValue(Property, value);
}

} // namespace vcl::formfile

#pragma once
// The form-file value of a published property and back: the one conversion that the
// form writer, the form reader and the inspector share. Enumerations are written by
// name (qvRadial1), sets as lists of names ([fsBold, fsItalic]), colours by name
// (clBtnFace) or as $00BBGGRR, Booleans as True/False.
#include "vcl/streaming/formtree.h"

#include <QMetaProperty>
#include <QVariant>

namespace vcl::formfile {

// True for the types a property value is held in directly (numbers, texts, Booleans,
// enumerations, sets, colours, lists of texts, binary data).
bool IsPlainType(const QMetaProperty& Property);

// The form-file value of V, the value of Property; false for a type form files do
// not hold.
bool ToValue(const QMetaProperty& Property, const QVariant& V, Value& Out);

// The property value for the form-file value V. An enumeration takes one of its names,
// or a number that is one of its values (files written before enumerations were
// stored by name); a set takes names or a number made of its bits; a colour a name or
// a 32-bit number. Raises EConvertError naming the property and the refused value.
QVariant FromValue(const QMetaProperty& Property, const Value& V);

// A list of strings as a form file holds it.
Value StringListValue(const QStringList& Lines);

// The inspector's text of a property value: as in a form file, but texts unquoted.
QString ValueText(const QMetaProperty& Property, const QVariant& V);
// The property value for text typed into the inspector ("fsBold, fsItalic" may omit
// the brackets). Raises EConvertError for text the property cannot take.
QVariant ValueFromText(const QMetaProperty& Property, const QString& Text);

} // namespace vcl::formfile

#pragma once
// The captions of the package's palette pages, exactly as the host shows them
// ("&&" displays as one ampersand).
#include <QString>

namespace Palettepages {

inline const QString Internet = QStringLiteral("<Velnor Software Internet>");
inline const QString System = QStringLiteral("<Velnor Software System>");
inline const QString Misc = QStringLiteral("<Velnor Software Misc>");
inline const QString Dialogs = QStringLiteral("<Velnor Software Dialogs>");
inline const QString Win32 = QStringLiteral("<Velnor Software Win32>");
inline const QString Edit = QStringLiteral("<Velnor Software Edit>");
inline const QString ListAndCombos = QStringLiteral("<Velnor Software List && Combos>");
inline const QString ZiruRode = QStringLiteral("<Velnor Software ZiruRode>");

} // namespace Palettepages

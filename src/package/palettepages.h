#pragma once
// The captions of the package's palette pages, exactly as the host shows them
// ("&&" displays as one ampersand).
#include <QString>

namespace Palettepages {

// Internet components: the FTP browser panel and upload button.
inline const QString Internet = QStringLiteral("<Velnor Software Internet>");
// System utilities: tray icon, system information, exiting the session.
inline const QString System = QStringLiteral("<Velnor Software System>");
// Colour selection and other miscellaneous controls.
inline const QString Misc = QStringLiteral("<Velnor Software Misc>");
// Dialog components: tip of the day, message dialog.
inline const QString Dialogs = QStringLiteral("<Velnor Software Dialogs>");
// Window and progress controls, form state, splitters, file list view.
inline const QString Win32 = QStringLiteral("<Velnor Software Win32>");
// Text and editing components: tab editors, link parser.
inline const QString Edit = QStringLiteral("<Velnor Software Edit>");
// List boxes and combo boxes (the doubled ampersand shows as one).
inline const QString ListAndCombos = QStringLiteral("<Velnor Software List && Combos>");
// Cool-look gradient controls.
inline const QString ZiruRode = QStringLiteral("<Velnor Software ZiruRode>");

} // namespace Palettepages

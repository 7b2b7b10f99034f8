#pragma once
// The built programs under test, and how a test runs one of them.
#include "support/programrun.h"

namespace qvprograms {

inline const QString Qvcalc = QStringLiteral(QVCALC_PROGRAM);
inline const QString Qvgallery = QStringLiteral(QVGALLERY_PROGRAM);
inline const QString Qvimage = QStringLiteral(QVIMAGE_PROGRAM);
inline const QString Qvreg = QStringLiteral(QVREG_PROGRAM);

} // namespace qvprograms

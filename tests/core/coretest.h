#pragma once
// Shared by the core test programs: readable QString values in failure messages.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

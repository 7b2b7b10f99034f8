#include "shell/systemlistdetails.h"

#include "platform/shell/shellapi.h"
#include "vcl/core/resstrings.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>

namespace Systemlistview {

namespace {

enum : int { SKiloBytes = 65504, SReadOnly = 65507, SHidden = 65508 };

// 100-nanosecond intervals from 1601-01-01 to 1970-01-01.
constexpr uint64_t FileTimeUnixEpoch = 116444736000000000ULL;
constexpr uint64_t FileTimeTicksPerMs = 10000;

} // namespace

QString SizeText(uint64_t Bytes)
{
    const uint64_t kilobytes = Bytes / 1024 + (Bytes % 1024 != 0 ? 1 : 0);
    const QString digits = QString::number(kilobytes);
    QString grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += u',';
        grouped += digits[i];
    }
    return grouped + vcl::LoadResString(SKiloBytes);
}

QString ModifiedText(const platform::FILETIME& Time)
{
    if (Time.dwLowDateTime == 0 || Time.dwHighDateTime == 0)
        return {};
    const uint64_t ticks = (uint64_t(Time.dwHighDateTime) << 32) | Time.dwLowDateTime;
    const qint64 ms = (qint64(ticks) - qint64(FileTimeUnixEpoch)) / qint64(FileTimeTicksPerMs);
    // The short formats show no fractions of a second, and the files of a folder often
    // share their second, so the texts are kept per whole second (a bounded number of
    // them: a folder of files from many seconds starts the table over now and then).
    const qint64 second = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    constexpr qsizetype KeptTexts = 4096;
    thread_local QHash<qint64, QString> texts;
    if (const auto known = texts.constFind(second); known != texts.cend())
        return *known;
    if (texts.size() >= KeptTexts)
        texts.clear();
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(second * 1000).toLocalTime();
    static const QLocale locale = QLocale::system();
    return *texts.insert(second, locale.toString(local.date(), QLocale::ShortFormat) + u' '
                                     + locale.toString(local.time(), QLocale::ShortFormat));
}

QString AttributesText(platform::DWORD FileAttributes)
{
    QString text;
    if (FileAttributes & platform::shell::FILE_ATTRIBUTE_READONLY)
        text += vcl::LoadResString(SReadOnly);
    if (FileAttributes & platform::shell::FILE_ATTRIBUTE_HIDDEN)
        text += vcl::LoadResString(SHidden);
    return text;
}

} // namespace Systemlistview

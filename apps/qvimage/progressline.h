#pragma once
// "[12/340] photos/scan.tif" on standard error, rewritten in place, while a long run
// goes on; only when standard error is a terminal, and only once the run has taken a
// moment, so short runs and scripts never see it.
#include <QElapsedTimer>
#include <QString>

namespace qvimage {

class TProgressLine {
public:
    explicit TProgressLine(qsizetype Total);
    ~TProgressLine();

    // Shows that the file numbered Done + 1 is being worked on.
    void Show(qsizetype Done, const QString& FileName);
    // Removes the line, so that a result line can take its place.
    void Clear();

private:
    // Under half a second a run is short enough to need no progress line.
    static constexpr qint64 QuietMilliseconds = 500;

    qsizetype FTotal;
    bool FTerminal;
    bool FShown = false;
    QElapsedTimer FClock;
};

} // namespace qvimage

#pragma once
// TPrinter: the print system's printers, the one chosen, and the fonts it prints with.
// Without printers every list is empty and nothing fails.
#include "vcl/core/sysutils.h"
#include "vcl/graphics/gdi.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace vcl {

class EPrinter : public Exception { public: using Exception::Exception; };

class TPrinter {
public:
    // The printers the print system offers and its default one.
    struct TPrinterList {
        QStringList Names;
        QString DefaultName;
    };
    using TPrinterSource = std::function<TPrinterList()>;
    // Replaces the print system as the source of printers (tests); null restores it.
    static void SetPrinterSource(TPrinterSource Source);

    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The printers' names, read when first asked and again after Refresh.
    const QStringList& Printers();
    // The chosen printer's index: the default printer until one is chosen; -1 when
    // there are no printers.
    int PrinterIndex();
    // -1 chooses the default printer; an index outside Printers raises EPrinter.
    void SetPrinterIndex(int Value);
    // The font families the chosen printer prints with (the installed families: print
    // jobs are rendered with the same fonts), sorted; empty without a printer.
    QStringList Fonts();
    // An information context of the chosen printer for font enumeration and text
    // metrics; null without a printer. The printer keeps it until the choice changes.
    HDC Handle();
    // Forgets the printer list and the choice so that both are read again.
    void Refresh();

    // Printing itself (BeginDoc, Canvas, EndDoc) is not offered: no unit prints.

private:
    void ReleaseHandle();

    bool FLoaded = false;
    TPrinterList FList;
    int FPrinterIndex = -1;
    HDC FHandle = nullptr;
};

// The process's printer object, made on first use.
TPrinter* Printer();

} // namespace vcl

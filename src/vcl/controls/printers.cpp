#include "vcl/controls/printers.h"

#include "vcl/graphics/fontenum.h"

#include <QPrinterInfo>

namespace vcl {

namespace {

TPrinter::TPrinterList PrintSystemPrinters()
{
    return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName()};
}

TPrinter::TPrinterSource& Source()
{
    static TPrinter::TPrinterSource source;
    return source;
}

} // namespace

void TPrinter::SetPrinterSource(TPrinterSource Source_)
{
    Source() = std::move(Source_);
}

TPrinter::TPrinter() = default;

TPrinter::~TPrinter()
{
    ReleaseHandle();
}

const QStringList& TPrinter::Printers()
{
    if (!FLoaded) {
        FList = Source() ? Source()() : PrintSystemPrinters();
        FLoaded = true;
        FPrinterIndex = -1;
    }
    return FList.Names;
}

int TPrinter::PrinterIndex()
{
    const QStringList& names = Printers();
    if (FPrinterIndex < 0 && !names.isEmpty())
        FPrinterIndex = std::max<int>(0, names.indexOf(FList.DefaultName));
    return FPrinterIndex;
}

void TPrinter::SetPrinterIndex(int Value)
{
    if (Value < -1 || Value >= Printers().size())
        throw EPrinter(QStringLiteral("Printer index out of range"));
    if (Value == FPrinterIndex)
        return;
    ReleaseHandle();
    FPrinterIndex = Value;
}

QStringList TPrinter::Fonts()
{
    return PrinterIndex() < 0 ? QStringList() : InstalledFontFamilies();
}

HDC TPrinter::Handle()
{
    if (FHandle == nullptr && PrinterIndex() >= 0)
        FHandle = CreateCompatibleDC(nullptr);
    return FHandle;
}

void TPrinter::Refresh()
{
    ReleaseHandle();
    FLoaded = false;
    FList = {};
    FPrinterIndex = -1;
}

void TPrinter::ReleaseHandle()
{
    if (FHandle != nullptr)
        DeleteDC(FHandle);
    FHandle = nullptr;
}

TPrinter* Printer()
{
    static TPrinter printer;
    return &printer;
}

} // namespace vcl

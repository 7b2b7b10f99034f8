#include "imaging/allmap.h"

#include "vcl/core/unitstartup.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <concepts>

namespace Allmap {

// The unit needs nothing set up or torn down; it starts after the readers it dispatches to.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Allmap"), {"Cdrmap", "Gifmap", "Pcxmap", "Tifmap"});

namespace {

QString Extension(const QString& FileName)
{
    return QFileInfo(FileName).suffix().toLower();
}

} // namespace

TAnymap::TAnymap() = default;

TAnymap::~TAnymap() = default;

bool TAnymap::Supported(const QString& FileName)
{
    static const QStringList extensions = {"bmp", "ico", "wmf", "emf", "gif", "tif", "cdr", "pcx"};
    return extensions.contains(Extension(FileName));
}

void TAnymap::LoadFromFile(const QString& FileName)
{
    FLastError.clear();
    const QString extension = Extension(FileName);
    if (extension == "bmp")
        vcl::TBitmap::LoadFromFile(FileName);
    else if (extension == "ico" || extension == "wmf" || extension == "emf")
        LoadPicture(FileName);
    else if (extension == "gif")
        LoadWithReader(FGifmap, FileName);
    else if (extension == "tif")
        LoadWithReader(FTifmap, FileName);
    else if (extension == "cdr")
        LoadWithReader(FCdrMap, FileName);
    else if (extension == "pcx")
        LoadWithReader(FPcxmap, FileName);
}

void TAnymap::LoadPicture(const QString& FileName)
{
    FPicture = std::make_unique<vcl::TPicture>();
    const auto release = qScopeGuard([this] { FPicture.reset(); });
    FPicture->LoadFromFile(FileName);
    // Both sides at once: an empty bitmap given only a height would still have none.
    SetSize(FPicture->Width(), FPicture->Height());
    Canvas()->Draw(0, 0, FPicture->Graphic());
}

template <typename TReader>
void TAnymap::LoadWithReader(std::unique_ptr<TReader>& Reader, const QString& FileName)
{
    Reader = std::make_unique<TReader>();
    const auto release = qScopeGuard([&Reader] { Reader.reset(); });
    Reader->LoadFromFile(FileName);
    if constexpr (requires { Reader->LastError(); })
        FLastError = Reader->LastError();
    Assign(Reader.get());
}

} // namespace Allmap

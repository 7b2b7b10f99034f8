#include "imaging/allmap.h"

#include "imaging/cdrmap.h"
#include "imaging/gifmap.h"
#include "imaging/pcxmap.h"
#include "imaging/tifmap.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/picture.h"

#include <QFileInfo>
#include <new>

namespace Allmap {

// The unit needs nothing set up or torn down; it starts after the readers it dispatches to.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Allmap"), {"Cdrmap", "Gifmap", "Pcxmap", "Tifmap"});

struct TAnymap::TLoader {
    const char* Extension;
    void (TAnymap::*Load)(const QString& FileName);
};

TAnymap::TAnymap() = default;

TAnymap::~TAnymap() = default;

// The extensions TAnymap loads, in lower case, each with its loader.
const TAnymap::TLoader* TAnymap::LoaderOf(const QString& FileName)
{
    static const TLoader loaders[] = {
        {"bmp", &TAnymap::LoadBitmap},
        {"ico", &TAnymap::LoadPicture},
        {"wmf", &TAnymap::LoadPicture},
        {"emf", &TAnymap::LoadPicture},
        {"gif", &TAnymap::LoadWithReader<Gifmap::TGifmap>},
        {"tif", &TAnymap::LoadWithReader<Tifmap::TTifmap>},
        {"cdr", &TAnymap::LoadWithReader<Cdrmap::TCdrMap>},
        {"pcx", &TAnymap::LoadWithReader<Pcxmap::TPcxmap>},
    };
    const QString extension = QFileInfo(FileName).suffix().toLower();
    for (const TLoader& loader : loaders) {
        if (extension == QLatin1String(loader.Extension))
            return &loader;
    }
    return nullptr;
}

bool TAnymap::Supported(const QString& FileName)
{
    return LoaderOf(FileName) != nullptr;
}

void TAnymap::LoadFromFile(const QString& FileName)
{
    FLastError.clear();
    const TLoader* loader = LoaderOf(FileName);
    if (!loader)
        return;
    // Running out of memory (or any other failure of the libraries below) becomes an
    // invalid-graphic error.
    try {
        (this->*loader->Load)(FileName);
    } catch (const vcl::Exception&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw vcl::EInvalidGraphic(QStringLiteral("Not enough memory to load %1").arg(FileName));
    } catch (const std::exception& e) {
        throw vcl::EInvalidGraphic(QStringLiteral("Cannot load %1: %2").arg(FileName, QString::fromUtf8(e.what())));
    }
}

void TAnymap::LoadBitmap(const QString& FileName)
{
    vcl::TBitmap::LoadFromFile(FileName);
}

void TAnymap::LoadPicture(const QString& FileName)
{
    vcl::TPicture picture;
    picture.LoadFromFile(FileName);
    // Both sides at once: an empty bitmap given only a height would still have none.
    SetSize(picture.Width(), picture.Height());
    Canvas()->Draw(0, 0, picture.Graphic());
}

template <typename TReader>
void TAnymap::LoadWithReader(const QString& FileName)
{
    TReader reader;
    reader.LoadFromFile(FileName);
    FLastError = reader.LastError();
    Assign(&reader);
}

} // namespace Allmap

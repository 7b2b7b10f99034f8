#pragma once
// Thumbnails of picture files for the file list view, decoded on a worker thread so a
// folder of large pictures never holds up the user interface.
#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <cstdint>
#include <functional>

namespace Qvfilectrls {

// True when the name's extension is a picture format this library or Qt can read.
bool IsPictureFile(const QString& FileName);

// The picture in Path scaled to fit an Edge x Edge square (keeping its proportions,
// centred on a transparent square); a null image when the file cannot be read as a
// picture. BMP, GIF, TIFF, PCX and CorelDRAW previews go through the library's own
// readers, other formats through Qt's. Safe to call on any thread.
QImage DecodeThumbnail(const QString& Path, int Edge);

// Decodes thumbnails one at a time on a thread of its own and hands each result to
// Done on the thread that owns the loader. Requests of an earlier batch that are still
// waiting are dropped when a new batch starts.
class TThumbnailLoader : public QObject {
    Q_OBJECT
public:
    // Slot: the caller's number for the picture (its place in the thumbnail list).
    using TDone = std::function<void(int Slot, const QImage& Thumbnail)>;

    // The loader hands every result to Done.
    explicit TThumbnailLoader(TDone Done, QObject* Parent = nullptr);
    // Waits for the picture being decoded, if any; the others are dropped.
    ~TThumbnailLoader() override;

    // Forgets every waiting request; results of the earlier batch are not delivered.
    void StartBatch();
    // Asks for the thumbnail of the picture at Path, scaled to fit Edge x Edge pixels; Done
    // gets a null image when the file cannot be decoded.
    void Request(int Slot, const QString& Path, int Edge);
    // True while requests of the current batch are waiting or being decoded.
    bool Busy() const { return FPending > 0; }

private:
    void Deliver(uint64_t Batch, int Slot, const QImage& Thumbnail);

    TDone FDone;
    QThreadPool FPool;
    uint64_t FBatch = 0;
    int FPending = 0;
};

} // namespace Qvfilectrls

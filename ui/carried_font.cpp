#include "carried_font.h"

#include <fontconfig/fontconfig.h>

#include <QByteArray>
#include <QFontDatabase>
#include <QResource>
#include <QtGlobal>
#include <array>

namespace tarnwick {

namespace {

// Regular for the captions and boxes, bold for the run button and the
// result headings; no other face is used.
constexpr std::array carriedFaces{":/tarnwick/fonts/LiberationSans-Regular.ttf",
                                  ":/tarnwick/fonts/LiberationSans-Bold.ttf"};

// Left to itself, fontconfig reads the system's whole font configuration at
// the first text drawn, 10 to 15 ms of every start, only for Qt to offer fonts
// the windows never use. An empty configuration knows no system font, so
// nothing else is read, and no other copy or version of Liberation Sans on
// the system can be picked instead of the carried one.
void emptyFontConfiguration() {
    FcConfig* empty = FcConfigCreate();
    if (empty == nullptr || FcConfigSetCurrent(empty) == FcFalse) {
        qWarning("Tarnwick: could not set an empty font configuration; the system's is read");
    }
    // The current configuration holds its own reference.
    if (empty != nullptr) {
        FcConfigDestroy(empty);
    }
}

void addFace(const char* path) {
    const QResource face(QString::fromLatin1(path));
    // Stored uncompressed, a face is read where it lies in the program
    // instead of being copied.
    const QByteArray data =
        face.compressionAlgorithm() == QResource::NoCompression
            ? QByteArray::fromRawData(reinterpret_cast<const char*>(face.data()),
                                      static_cast<qsizetype>(face.size()))
            : face.uncompressedData();
    if (data.isEmpty() || QFontDatabase::addApplicationFontFromData(data) < 0) {
        qWarning("Tarnwick: the font face %s could not be added", path);
    }
}

}  // namespace

void useCarriedFontOnly() {
    emptyFontConfiguration();
    for (const char* path : carriedFaces) {
        addFace(path);
    }
}

}  // namespace tarnwick

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

void addCarriedFont() {
    for (const char* path : carriedFaces) {
        addFace(path);
    }
}

void loadSystemFontConfiguration() {
    if (FcInit() == FcFalse) {
        qWarning("Tarnwick: the system's font configuration could not be read");
    }
}

}  // namespace tarnwick

#include "ui/CursorFile.h"

#include "core/Failure.h"
#include "core/Procedure.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

#include <optional>

namespace orvella::ui {
namespace {

struct HotSpot {
    int x = 0;
    int y = 0;
};

// A .cur file starts like an icon file (reserved 0, type 2, image count) followed by
// one 16-byte entry per image; bytes 4..7 of an entry are the hot spot.
std::optional<HotSpot> curHotSpot(const QByteArray &head)
{
    if (head.size() < 6 + 16)
        return std::nullopt;
    const auto *bytes = reinterpret_cast<const uchar *>(head.constData());
    if (qFromLittleEndian<quint16>(bytes) != 0 || qFromLittleEndian<quint16>(bytes + 2) != 2
        || qFromLittleEndian<quint16>(bytes + 4) == 0)
        return std::nullopt;
    const uchar *entry = bytes + 6;
    return HotSpot{qFromLittleEndian<quint16>(entry + 4), qFromLittleEndian<quint16>(entry + 6)};
}

} // namespace

QString pointerFilePath(const QString &folder)
{
    return folder + QStringLiteral("/HAND-M.CUR");
}

bool pointerFileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void loadHandPointer(core::Procedure &p, const QString &folder, QCursor &pointer)
{
    const QString path = pointerFilePath(folder);
    if (p.test(104, [&] { return pointerFileExists(path); }))
        p.step(106, [&] { pointer = loadCursorFile(path); });
}

QCursor loadCursorFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw core::Failure(QStringLiteral("The pointer file %1 cannot be read: %2").arg(path, file.errorString()));
    const std::optional<HotSpot> hotSpot = curHotSpot(file.peek(6 + 16));

    // Qt's icon reader reads cursor files as well once told the format.
    QImageReader reader(&file, hotSpot ? QByteArray("cur") : QByteArray());
    QImage image = reader.read();
    if (image.isNull() && hotSpot) {
        file.seek(0);
        QImageReader anyFormat(&file);
        image = anyFormat.read();
    }
    if (image.isNull())
        throw core::Failure(QStringLiteral("The pointer file %1 is not a picture").arg(path));

    const QPixmap pixmap = QPixmap::fromImage(image);
    if (pixmap.isNull())
        throw core::Failure(QStringLiteral("The pointer file %1 is not a picture").arg(path));
    int x = hotSpot ? hotSpot->x : 0;
    int y = hotSpot ? hotSpot->y : 0;
    if (x >= pixmap.width() || y >= pixmap.height())
        x = y = 0;
    return QCursor(pixmap, x, y);
}

} // namespace orvella::ui

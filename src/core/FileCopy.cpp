#include "core/FileCopy.h"

#include "core/Failure.h"
#include "core/FileOutput.h"

#include <QFile>

namespace orvella::core {

void copyFileInto(const QString &path, core::FileOutput &out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw core::Failure(QStringLiteral("Cannot read the workbook %1: %2").arg(path, file.errorString()));
    constexpr qint64 kPiece = qint64(1) << 20;
    for (QByteArray piece = file.read(kPiece); !piece.isEmpty(); piece = file.read(kPiece))
        out.writeBytes(piece);
    if (file.error() != QFileDevice::NoError)
        throw core::Failure(QStringLiteral("Cannot read the workbook %1: %2").arg(path, file.errorString()));
}

} // namespace orvella::core

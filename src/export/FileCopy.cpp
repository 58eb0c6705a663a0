#include "export/FileCopy.h"

#include "core/Failure.h"
#include "lists/ListFileWriter.h"

#include <QFile>

namespace orvella::exporting {

void copyFileInto(const QString &path, lists::ListFileOutput &out)
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

} // namespace orvella::exporting

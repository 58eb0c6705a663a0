#include "TableSupport.h"

#include "FuzzTargets.h"
#include "core/Failure.h"
#include "tables/SheetRows.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <zip.h>

namespace orvella::fuzz {

QString scratchPath(const QString &name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

void writeScratch(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
               "cannot write " + path.toStdString());
}

QByteArray zipOf(const std::vector<std::pair<QString, QByteArray>> &parts)
{
    const QString path = scratchPath(QStringLiteral("made.zip"));
    QFile::remove(path);
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    FUZZ_CHECK(archive != nullptr, "cannot make an archive");
    for (const auto &[name, bytes] : parts) {
        zip_source_t *source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        FUZZ_CHECK(zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) >= 0,
                   "cannot add a part");
    }
    FUZZ_CHECK(zip_close(archive) == 0, "cannot write an archive");
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), "cannot read the archive back");
    return file.readAll();
}

TableRead readTable(const QString &path)
{
    static QuietTableDesktop desktop;
    TableRead read;
    try {
        read.rows = tables::readTableFile(path, tables::tableKindOf(path), desktop);
    } catch (const core::Failure &failure) {
        FUZZ_CHECK(!failure.description().isEmpty(), "a failure without a description");
        read.failure = failure.description();
    }
    return read;
}

void checkTable(const tables::TableRows &rows, bool sheet)
{
    if (sheet) {
        FUZZ_CHECK(rows.rowCount() <= tables::SheetRows::kMaxRows, "more rows than a sheet has");
        FUZZ_CHECK(rows.columns() <= tables::SheetRows::kMaxColumns, "more columns than a sheet has");
    }
    const auto checkRow = [&](qsizetype row) {
        const QStringList cells = rows.row(row);
        FUZZ_CHECK(cells.size() == rows.columns(), "a row read whole is not as wide as the table");
        for (const QString &cell : cells) {
            FUZZ_CHECK(!cell.contains(QChar(u'\0')), "a cell holds a NUL: " + shown(cell));
            FUZZ_CHECK(!sheet || cell.size() <= tables::SheetRows::kMaxCellUnits,
                       "a sheet's cell of " + std::to_string(cell.size()) + " characters");
        }
        FUZZ_CHECK(rows.cell(row, rows.columns()).isEmpty(), "a cell past the last column");
    };
    for (qsizetype row = 0; row < std::min<qsizetype>(rows.rowCount(), 16); ++row)
        checkRow(row);
    if (rows.rowCount() > 0)
        checkRow(rows.rowCount() - 1);
    FUZZ_CHECK(rows.row(rows.rowCount()).size() == rows.columns() && rows.cell(rows.rowCount(), 0).isEmpty(),
               "a row past the end is not empty");
}

void useFuzzBudget()
{
    tables::setDefaultTableBudget(qsizetype(256) << 20);
}

} // namespace orvella::fuzz

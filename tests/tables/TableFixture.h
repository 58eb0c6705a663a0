#pragma once

// What the table reader's tests share: a scratch folder, a desktop that counts its
// yields, and the rows of a table as lists of strings.

#include "core/Failure.h"
#include "tables/TableFileReader.h"
#include "support/Files.h"
#include "support/ScriptedDesktop.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <zip.h>

#include <utility>
#include <vector>

namespace orvella::testing {

using Rows = std::vector<QStringList>;

// The folder of the tests' own files (fixtures/, the Python script).
inline const QString kTablesTestDir = QStringLiteral(ORVELLA_TABLES_TEST_DIR);

// Every row as the table holds it, padded to the widest.
inline Rows rowsOf(const tables::TableRows &table)
{
    Rows rows;
    for (qsizetype row = 0; row < table.rowCount(); ++row)
        rows.push_back(table.row(row));
    return rows;
}

struct TableFixture {
    QTemporaryDir dir;
    ScriptedDesktop desktop;

    QString path(const QString &name) const { return dir.filePath(name); }
    tables::TableRows read(const QString &file)
    {
        return tables::readTableFile(file, tables::tableKindOf(file), desktop);
    }
    Rows read(const QString &name, const QByteArray &bytes)
    {
        writeBytes(path(name), bytes);
        return rowsOf(read(path(name)));
    }
    // The description of the failure the reader throws ("" when it does not throw).
    QString failureOf(const QString &file)
    {
        try {
            read(file);
        } catch (const core::Failure &failure) {
            return failure.description();
        }
        return QString();
    }
    // A ZIP archive of the given parts.
    QString writeZip(const QString &name, const std::vector<std::pair<const char *, QByteArray>> &parts)
    {
        const QString file = path(name);
        zip_t *archive = zip_open(QFile::encodeName(file).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
        EXPECT_NE(archive, nullptr);
        for (const auto &[part, bytes] : parts) {
            zip_source_t *source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
            EXPECT_GE(zip_file_add(archive, part, source, ZIP_FL_ENC_UTF_8), 0);
        }
        EXPECT_EQ(zip_close(archive), 0);
        return file;
    }
};

} // namespace orvella::testing

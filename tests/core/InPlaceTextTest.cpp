#include "core/Failure.h"
#include "core/InPlaceText.h"
#include "support/FileSizeLimit.h"
#include "support/Files.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

// A file that can only grow to a given size: the new text stops part-way, and the file
// must hold its whole old text again, or never have been touched.
TEST(ReplaceTextInPlace, FileHoldsTheWholeOldOrTheWholeNewText)
{
    const QByteArray old = "old text\n";
    QByteArray newText = QByteArray("new text\n").repeated(20); // 180 bytes
    struct Case {
        rlim_t limit;
        QByteArray file;
        QString failureEnd; // none: the write succeeds
    };
    const Case cases[] = {
        {RLIM_INFINITY, newText, {}},
        {0, old, QStringLiteral("File too large. It was left as it was")},
        {100, old, QStringLiteral("File too large. Its old text was put back")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.limit);
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        writeBytes(path, old);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        QBuffer source(&newText);
        source.open(QIODevice::ReadOnly);
        QString failure;
        {
            FileSizeLimit limit(c.limit);
            ASSERT_TRUE(limit.set());
            try {
                core::replaceTextInPlace(fd, path, source);
            } catch (const core::Failure &f) {
                failure = f.description();
            }
        }
        ::close(fd);
        EXPECT_EQ(readBytes(path), c.file);
        if (c.failureEnd.isEmpty())
            EXPECT_EQ(failure, QString());
        else
            EXPECT_TRUE(failure.endsWith(c.failureEnd)) << failure.toStdString();
    }
}

} // namespace

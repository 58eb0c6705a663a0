#include "PdfText.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvella::testing {
namespace {

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

QString savedPdf(const QTemporaryDir &folder, const QByteArray &pdf)
{
    const QString path = folder.filePath(QStringLiteral("pages.pdf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    return path;
}

} // namespace

QStringList pdfPages(const QByteArray &pdf)
{
    QTemporaryDir folder;
    const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"),
                                                {QStringLiteral("-layout"), savedPdf(folder, pdf), QStringLiteral("-")}));
    QStringList pages = text.split(u'\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QStringList textLines(const QString &page)
{
    QStringList lines;
    for (const QString &line : page.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            lines << line.simplified();
    }
    return lines;
}

std::vector<std::pair<QString, QRectF>> pdfWordBoxes(const QByteArray &pdf)
{
    QTemporaryDir folder;
    const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"),
                                                                             QStringLiteral("1"), savedPdf(folder, pdf),
                                                                             QStringLiteral("-")}));
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<std::pair<QString, QRectF>> boxes;
    for (auto match = word.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        const QPointF topLeft(found.captured(1).toDouble(), found.captured(2).toDouble());
        const QPointF bottomRight(found.captured(3).toDouble(), found.captured(4).toDouble());
        boxes.emplace_back(found.captured(5), QRectF(topLeft, bottomRight));
    }
    return boxes;
}

QImage pdfPicture(const QByteArray &pdf, int page, int dpi)
{
    QTemporaryDir folder;
    const QString prefix = folder.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-png"), QStringLiteral("-r"),
                                     QString::number(dpi), QStringLiteral("-f"), QString::number(page),
                                     QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"),
                                     savedPdf(folder, pdf), prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

commands::PaperRows paperRowsOf(const std::vector<RowText> &rows, const QStringList &captions)
{
    commands::PaperRows paper;
    paper.title = QStringLiteral("Roster");
    paper.captions = captions.isEmpty() ? QStringList{QStringLiteral("Last, First")} : captions;
    for (const RowText &row : rows) {
        commands::PaperRow out;
        out.cells << row.last + QStringLiteral(", ") + row.first;
        if (paper.captions.size() > 1)
            out.cells << row.extra;
        out.filedUnder = row.last;
        out.group = row.group;
        out.first = row.first;
        out.last = row.last;
        out.extra = row.extra;
        paper.rows.push_back(out);
    }
    return paper;
}

} // namespace orvella::testing

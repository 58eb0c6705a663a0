#include "ui/Skin.h"

#include "core/Failure.h"
#include "ui/WindowLayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStringDecoder>
#include <QWidget>

namespace orvella::ui {
namespace {

// A larger file is certainly no style sheet; refuse it rather than reading it whole.
constexpr qint64 kMaxSkinBytes = 4 * 1024 * 1024;

} // namespace

QString skinFilePath(const QString &programFolder)
{
    return programFolder + QStringLiteral("/x/o.cjs");
}

bool skinFileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

QString readSkinFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw core::Failure(QStringLiteral("The skin file %1 cannot be read: %2").arg(path, file.errorString()));
    if (file.size() > kMaxSkinBytes)
        throw core::Failure(QStringLiteral("The skin file %1 is too large").arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw core::Failure(QStringLiteral("The skin file %1 cannot be read: %2").arg(path, file.errorString()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError() || text.contains(QChar(u'\0')))
        throw core::Failure(QStringLiteral("The skin file %1 is not a text file").arg(path));
    return text;
}

void WindowColourSetUp(QWidget *window)
{
    if (!window)
        return;
    const QColor face = QApplication::palette(window).color(QPalette::Active, QPalette::Button);
    setBackgroundColour(window, face);
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (qobject_cast<QRadioButton *>(child) || qobject_cast<QCheckBox *>(child)
            || qobject_cast<QGroupBox *>(child) || qobject_cast<QLabel *>(child))
            setBackgroundColour(child, face);
    }
}

void SkinSetUp(QWidget *window, const QString &programFolder)
{
    const QString path = skinFilePath(programFolder);
    if (!skinFileExists(path))
        return;
    WindowColourSetUp(window);
    const QString styleSheet = readSkinFile(path);
    window->setStyleSheet(styleSheet);
}

} // namespace orvella::ui

#include "ui/Mnemonics.h"

#include <QAbstractButton>
#include <QSet>
#include <QWidget>

namespace orvella::ui {
namespace {

constexpr qsizetype kNone = -1;

bool startsWord(const QString &text, qsizetype at)
{
    return at == 0 || !text.at(at - 1).isLetterOrNumber();
}

// Where the caption's key letter stands: the first free letter that starts a word, or
// with anyLetter the first free letter at all.
qsizetype keyLetter(const QString &caption, const QSet<QChar> &taken, bool anyLetter)
{
    for (qsizetype at = 0; at < caption.size(); ++at) {
        const QChar c = caption.at(at);
        if (c.isLetter() && (anyLetter || startsWord(caption, at)) && !taken.contains(c.toUpper()))
            return at;
    }
    return kNone;
}

} // namespace

QStringList withMnemonics(const QStringList &captions, const QString &reserved)
{
    QSet<QChar> taken;
    for (QChar c : reserved)
        taken.insert(c.toUpper());
    QList<qsizetype> keys(captions.size(), kNone);
    for (const bool anyLetter : {false, true}) {
        for (qsizetype i = 0; i < captions.size(); ++i) {
            if (keys[i] != kNone)
                continue;
            keys[i] = keyLetter(captions[i], taken, anyLetter);
            if (keys[i] != kNone)
                taken.insert(captions[i].at(keys[i]).toUpper());
        }
    }
    QStringList marked;
    for (qsizetype i = 0; i < captions.size(); ++i) {
        QString text;
        for (qsizetype at = 0; at < captions[i].size(); ++at) {
            const QChar c = captions[i].at(at);
            if (at == keys[i])
                text += QLatin1Char('&');
            if (c == QLatin1Char('&'))
                text += QLatin1Char('&');
            text += c;
        }
        marked << text;
    }
    return marked;
}

QString shownCaption(const QString &caption)
{
    QString text;
    for (qsizetype at = 0; at < caption.size(); ++at) {
        if (caption.at(at) == QLatin1Char('&') && at + 1 < caption.size())
            ++at; // "&x" shows x, "&&" shows &
        text += caption.at(at);
    }
    return text;
}

void giveMnemonics(QWidget *window, std::span<const ControlLayout> table, const QString &reserved)
{
    QList<QAbstractButton *> buttons;
    QStringList captions;
    for (const ControlLayout &control : table) {
        if (control.kind != ControlKind::PushButton)
            continue;
        buttons << controlNamed<QAbstractButton>(window, control.name);
        captions << QString::fromUtf8(control.caption);
    }
    const QStringList marked = withMnemonics(captions, reserved);
    for (qsizetype i = 0; i < buttons.size(); ++i)
        buttons[i]->setText(marked[i]);
}

} // namespace orvella::ui

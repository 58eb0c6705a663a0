#include "lists/SuffixList.h"

namespace orvella::lists {

SuffixList::SuffixList(QObject *parent) : QObject(parent), m_model(QStringLiteral("Suffix List"))
{
    connect(&m_model, &NameListModel::itemsChanged, this, [this] { m_dirty = true; });
}

bool SuffixList::IsSuffix(QStringView word)
{
    if (m_dirty) {
        m_lowered.clear();
        for (const QString &entry : m_model.items()) {
            const QString lowered = entry.toLower();
            m_lowered.emplace(reinterpret_cast<const char16_t *>(lowered.utf16()), size_t(lowered.size()));
        }
        m_dirty = false;
    }
    if (m_lowered.empty())
        return false;
    // Asked once per name of a sort: the word is lowered in one kept text rather than
    // in two new strings, by hand where it is plain ASCII (as toLower() would). The text
    // is the thread's own: a script's sort reads names into keys on two threads.
    thread_local QString m_probe;
    m_probe.resize(0);
    m_probe.append(word);
    bool ascii = true;
    for (QChar &c : m_probe) {
        const char16_t u = c.unicode();
        if (u >= 0x80) {
            ascii = false;
            break;
        }
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + (u'a' - u'A')));
    }
    if (!ascii)
        m_probe = std::move(m_probe).toLower();
    return m_lowered.contains(std::u16string_view(reinterpret_cast<const char16_t *>(m_probe.utf16()),
                                                  size_t(m_probe.size())));
}

} // namespace orvella::lists

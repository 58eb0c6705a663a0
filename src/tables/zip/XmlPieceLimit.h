#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace orvella::tables {

// Watches XML bytes as they stream past and says when one piece of them, a run of
// character data or one piece of markup (a tag with its attributes, a comment, a CDATA
// section, a declaration), is longer than kMostBytes. An XML reader holds such a piece
// whole in memory, so a part that is read piece by piece still costs only as much as its
// longest piece: a workbook's text cannot need more than this (a cell holds at most
// 32,767 characters, and the longest way to write one takes 32 bytes).
class XmlPieceLimit {
public:
    static constexpr qsizetype kMostBytes = qsizetype(1) << 20;

    // False once a piece has passed the limit.
    bool take(QByteArrayView bytes);

private:
    enum class State { Content, TagStart, Tag, Bang, Comment, CData, Declaration, Instruction };

    void start(State state);

    State m_state = State::Content;
    qsizetype m_run = 0;   // bytes of the current piece
    char m_quote = 0;      // the quote of the attribute value being read in a tag
    int m_depth = 0;       // brackets open in a declaration
    char m_last[2] = {0, 0}; // the two bytes before, for the ends "-->", "]]>" and "?>"
};

} // namespace orvella::tables

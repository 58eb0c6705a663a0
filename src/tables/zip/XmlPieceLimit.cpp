#include "tables/zip/XmlPieceLimit.h"

namespace orvella::tables {

void XmlPieceLimit::start(State state)
{
    m_state = state;
    m_run = 0;
    m_quote = 0;
    m_depth = 0;
    m_last[0] = m_last[1] = 0;
}

bool XmlPieceLimit::take(QByteArrayView bytes)
{
    for (const char c : bytes) {
        const bool endsTwo = c == '>' && m_last[0] == m_last[1];
        switch (m_state) {
        case State::Content:
            if (c == '<')
                start(State::TagStart);
            break;
        case State::TagStart:
            m_state = c == '!' ? State::Bang : c == '?' ? State::Instruction : State::Tag;
            if (m_state == State::Tag && c == '>')
                start(State::Content);
            break;
        case State::Tag:
            if (m_quote != 0) {
                if (c == m_quote)
                    m_quote = 0;
            } else if (c == '"' || c == '\'') {
                m_quote = c;
            } else if (c == '>') {
                start(State::Content);
            }
            break;
        case State::Bang:
            m_state = c == '-' ? State::Comment : c == '[' ? State::CData : State::Declaration;
            if (m_state == State::Declaration && c == '>')
                start(State::Content);
            break;
        case State::Comment:
            if (endsTwo && m_last[1] == '-')
                start(State::Content);
            break;
        case State::CData:
            if (endsTwo && m_last[1] == ']')
                start(State::Content);
            break;
        case State::Instruction:
            if (c == '>' && m_last[1] == '?')
                start(State::Content);
            break;
        case State::Declaration:
            if (c == '[')
                ++m_depth;
            else if (c == ']' && m_depth > 0)
                --m_depth;
            else if (c == '>' && m_depth == 0)
                start(State::Content);
            break;
        }
        if (m_state != State::Content || c != '>') {
            m_last[0] = m_last[1];
            m_last[1] = c;
        }
        if (++m_run > kMostBytes)
            return false;
    }
    return true;
}

} // namespace orvella::tables

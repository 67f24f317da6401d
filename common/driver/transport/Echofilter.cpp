#include "Echofilter.h"

namespace mbus {

void Echofilter::erwarte(const QByteArray& gesendet)
{
    m_gesendet = gesendet;
    m_position = 0;
    m_aktiv = !gesendet.isEmpty();
}

QByteArray Echofilter::filtern(QByteArrayView bytes)
{
    if (!m_aktiv)
        return bytes.toByteArray();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (m_position == m_gesendet.size()) {
            // The whole request came back: the rest is the answer.
            m_aktiv = false;
            return bytes.sliced(i).toByteArray();
        }
        if (bytes[i] != m_gesendet[m_position]) {
            m_aktiv = false;
            return m_gesendet.first(m_position) + bytes.sliced(i).toByteArray();
        }
        ++m_position;
    }
    if (m_position == m_gesendet.size())
        m_aktiv = false;
    return {};
}

} // namespace mbus

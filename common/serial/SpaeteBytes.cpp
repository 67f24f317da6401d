#include "SpaeteBytes.h"

#include "frames/TelegrammText.h"
#include "log/Log.h"

namespace {

// The longest M-Bus frame; a line that keeps chattering gives no longer log line.
constexpr qsizetype kGezeigteBytes = 261;

} // namespace

void SpaeteBytes::anfuegen(QByteArrayView bytes)
{
    if (m_anfang.size() < kGezeigteBytes)
        m_anfang.append(bytes.first(qMin(bytes.size(), kGezeigteBytes - m_anfang.size())));
    m_anzahl += bytes.size();
}

void SpaeteBytes::protokollieren()
{
    if (m_anzahl == 0)
        return;
    QString zeile =
        QStringLiteral("Verspätete Bytes verworfen : \t") + StrToHex(m_anfang, QStringLiteral(";"));
    if (m_anzahl > m_anfang.size())
        zeile += QStringLiteral(" ... (%1 Bytes)").arg(m_anzahl);
    LogSchreiben(zeile);
    m_anfang.clear();
    m_anzahl = 0;
}

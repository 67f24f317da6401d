#include "OdbcVerbindungstext.h"

namespace {

bool BrauchtKlammern(const QString& wert)
{
    return wert.contains(u';') || wert.contains(u'{') || wert.contains(u'}') ||
           (!wert.isEmpty() && (wert.front().isSpace() || wert.back().isSpace()));
}

} // namespace

OdbcVerbindungstext::OdbcVerbindungstext(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype gleich = text.indexOf(u'=', i);
        const qsizetype semikolon = text.indexOf(u';', i);
        if (gleich < 0 || (semikolon >= 0 && semikolon < gleich)) {
            // an entry without "=": kept as a key without value
            const qsizetype ende = semikolon < 0 ? n : semikolon;
            const QString schluessel = text.mid(i, ende - i).trimmed();
            if (!schluessel.isEmpty())
                m_eintraege.append({schluessel, QString(), false});
            i = ende + 1;
            continue;
        }
        Eintrag eintrag;
        eintrag.schluessel = text.mid(i, gleich - i).trimmed();
        qsizetype j = gleich + 1;
        while (j < n && text[j] == u' ')
            ++j;
        if (j < n && text[j] == u'{') {
            eintrag.klammern = true;
            ++j;
            while (j < n) {
                if (text[j] == u'}') {
                    if (j + 1 < n && text[j + 1] == u'}') {
                        eintrag.wert += u'}';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                eintrag.wert += text[j++];
            }
            const qsizetype ende = text.indexOf(u';', j);
            i = ende < 0 ? n : ende + 1;
        } else {
            const qsizetype ende = text.indexOf(u';', j);
            eintrag.wert = text.mid(j, (ende < 0 ? n : ende) - j).trimmed();
            i = ende < 0 ? n : ende + 1;
        }
        if (!eintrag.schluessel.isEmpty())
            m_eintraege.append(eintrag);
    }
}

bool OdbcVerbindungstext::istVerbindungstext(const QString& text)
{
    const OdbcVerbindungstext zerlegt(text);
    if (zerlegt.m_eintraege.isEmpty() || !text.contains(u'='))
        return false;
    const QString erster = zerlegt.m_eintraege.first().schluessel;
    return erster.compare(u"DRIVER", Qt::CaseInsensitive) == 0 ||
           erster.compare(u"DSN", Qt::CaseInsensitive) == 0;
}

qsizetype OdbcVerbindungstext::index(const QString& schluessel) const
{
    for (qsizetype i = 0; i < m_eintraege.size(); ++i) {
        if (m_eintraege[i].schluessel.compare(schluessel, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool OdbcVerbindungstext::enthaelt(const QString& schluessel) const
{
    return index(schluessel) >= 0;
}

QString OdbcVerbindungstext::wert(const QString& schluessel) const
{
    const qsizetype i = index(schluessel);
    return i < 0 ? QString() : m_eintraege[i].wert;
}

void OdbcVerbindungstext::setzen(const QString& schluessel, const QString& wert)
{
    const qsizetype i = index(schluessel);
    if (i < 0) {
        m_eintraege.append({schluessel, wert, false});
        return;
    }
    m_eintraege[i] = {schluessel, wert, false};
    for (qsizetype k = m_eintraege.size() - 1; k > i; --k) {
        if (m_eintraege[k].schluessel.compare(schluessel, Qt::CaseInsensitive) == 0)
            m_eintraege.removeAt(k);
    }
}

void OdbcVerbindungstext::entfernen(const QString& schluessel)
{
    m_eintraege.removeIf([&](const Eintrag& eintrag) {
        return eintrag.schluessel.compare(schluessel, Qt::CaseInsensitive) == 0;
    });
}

QString OdbcVerbindungstext::geschrieben(const Eintrag& eintrag)
{
    if (!eintrag.klammern && !BrauchtKlammern(eintrag.wert))
        return eintrag.schluessel + u'=' + eintrag.wert;
    QString wert = eintrag.wert;
    wert.replace(u'}', QStringLiteral("}}"));
    return eintrag.schluessel + QStringLiteral("={") + wert + u'}';
}

QString OdbcVerbindungstext::text() const
{
    QStringList teile;
    for (const Eintrag& eintrag : m_eintraege)
        teile << geschrieben(eintrag);
    return teile.join(u';');
}

QString OdbcVerbindungstext::textOhnePasswort() const
{
    QStringList teile;
    for (const Eintrag& eintrag : m_eintraege) {
        const bool geheim = eintrag.schluessel.compare(u"PWD", Qt::CaseInsensitive) == 0 ||
                            eintrag.schluessel.compare(u"PASSWORD", Qt::CaseInsensitive) == 0;
        teile << (geheim ? eintrag.schluessel + QStringLiteral("=***") : geschrieben(eintrag));
    }
    return teile.join(u';');
}

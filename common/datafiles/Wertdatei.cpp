#include "datafiles/Wertdatei.h"

#include "platform/Pfad.h"

#include <QDir>
#include <QFileInfo>

namespace {

qint64 gLesezugriffe = 0;
qint64 gSchreibzugriffe = 0;
int gSchreibfehlerNach = -1;

} // namespace

Wertdatei::Wertdatei(const QString& name) : m_name(name), m_pfad(PfadAufloesen(name))
{
    m_datei.setFileName(m_pfad);
}

Wertdatei::~Wertdatei()
{
    schliessen();
}

bool Wertdatei::misslungen(const QString& was)
{
    m_fehler = was + QStringLiteral(": ") + m_name;
    return false;
}

bool Wertdatei::oeffnen(QIODevice::OpenMode modus)
{
    schliessen();
    if (m_pfad.isEmpty())
        return misslungen(QStringLiteral("Kein Dateiname"));
    if (QFileInfo(m_pfad).isDir())
        return misslungen(QStringLiteral("Ordner statt Datei"));
    m_nummer.emplace();
    if (!m_nummer->gueltig()) {
        m_nummer.reset();
        return misslungen(QStringLiteral("Zu viele Dateien geöffnet"));
    }
    if (!m_datei.open(modus)) {
        const QString grund =
            m_datei.exists() ? m_datei.errorString() : QStringLiteral("Datei nicht gefunden");
        m_nummer.reset();
        return misslungen(grund);
    }
    return true;
}

bool Wertdatei::oeffnenLesen()
{
    return oeffnen(QIODevice::ReadOnly | QIODevice::ExistingOnly);
}

bool Wertdatei::oeffnenSchreiben()
{
    return oeffnen(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

bool Wertdatei::anlegen()
{
    if (oeffnen(QIODevice::ReadWrite))
        return true;
    const QString ordner = OrdnerVon(m_pfad);
    if (ordner.isEmpty() || QFileInfo(ordner).isDir())
        return false;
    // Path not found: the file's own folder is made (one level, never its parents) and the
    // open tried once more.
    if (!QDir().mkdir(ordner))
        return misslungen(QStringLiteral("Pfad nicht gefunden"));
    return oeffnen(QIODevice::ReadWrite);
}

qint64 Wertdatei::groesse() const
{
    return m_datei.isOpen() ? m_datei.size() : QFileInfo(m_pfad).size();
}

bool Wertdatei::bytesLesen(qint64 offset, qint64 anzahl, QByteArray& bytes)
{
    ++gLesezugriffe;
    bytes.clear();
    if (offset < 0 || anzahl < 0)
        return misslungen(QStringLiteral("Ungültige Position"));
    if (!m_datei.seek(offset))
        return misslungen(QStringLiteral("Positionieren misslungen"));
    bytes = m_datei.read(anzahl);
    if (m_datei.error() != QFileDevice::NoError) {
        const QString grund = m_datei.errorString();
        m_datei.unsetError();
        return misslungen(grund);
    }
    return true;
}

bool Wertdatei::satzLesen(qint64 satz, RB6_Satz& ergebnis)
{
    ergebnis = {};
    QByteArray bytes;
    if (satz < 1)
        return misslungen(QStringLiteral("Ungültige Satznummer %1").arg(satz));
    if (!bytesLesen(RB6_SatzOffset(satz), kRB6_Satzlaenge, bytes))
        return false;
    if (bytes.size() < kRB6_Satzlaenge)
        return misslungen(QStringLiteral("Satz %1 hinter dem Dateiende").arg(satz));
    ergebnis = RB6_SatzAusBytes(bytes.constData());
    return true;
}

bool Wertdatei::saetzeLesen(qint64 von, qint64 anzahl, QList<RB6_Satz>& ergebnis)
{
    ergebnis.clear();
    if (von < 1 || anzahl < 0)
        return misslungen(QStringLiteral("Ungültige Satznummer %1").arg(von));
    QByteArray bytes;
    if (!bytesLesen(RB6_SatzOffset(von), anzahl * kRB6_Satzlaenge, bytes))
        return false;
    if (bytes.size() < anzahl * kRB6_Satzlaenge)
        return misslungen(QStringLiteral("Satz %1 hinter dem Dateiende").arg(von + anzahl - 1));
    ergebnis.reserve(anzahl);
    for (qint64 i = 0; i < anzahl; ++i)
        ergebnis << RB6_SatzAusBytes(bytes.constData() + i * kRB6_Satzlaenge);
    return true;
}

bool Wertdatei::schreibenErlaubt()
{
    ++gSchreibzugriffe;
    if (gSchreibfehlerNach == 0)
        return misslungen(QStringLiteral("Schreibfehler"));
    if (gSchreibfehlerNach > 0)
        --gSchreibfehlerNach;
    return true;
}

bool Wertdatei::bytesSchreiben(qint64 offset, const QByteArray& bytes)
{
    if (!schreibenErlaubt())
        return false;
    if (offset < 0 || !m_datei.seek(offset))
        return misslungen(QStringLiteral("Positionieren misslungen"));
    if (m_datei.write(bytes) != bytes.size() || !m_datei.flush()) {
        const QString grund = m_datei.errorString();
        m_datei.unsetError();
        return misslungen(grund);
    }
    return true;
}

bool Wertdatei::satzSchreiben(qint64 satz, const RB6_Satz& wert)
{
    if (satz < 1)
        return misslungen(QStringLiteral("Ungültige Satznummer %1").arg(satz));
    return bytesSchreiben(RB6_SatzOffset(satz), RB6_SatzBytes(wert));
}

bool Wertdatei::groesseSetzen(qint64 bytes)
{
    if (!schreibenErlaubt())
        return false;
    if (!m_datei.resize(bytes)) {
        const QString grund = m_datei.errorString();
        m_datei.unsetError();
        return misslungen(grund);
    }
    return true;
}

void Wertdatei::schliessen()
{
    if (m_datei.isOpen())
        m_datei.close();
    m_nummer.reset();
}

bool Wertdatei::loeschen()
{
    schliessen();
    if (!m_datei.remove())
        return misslungen(m_datei.errorString());
    return true;
}

qint64 Wertdatei::leseZugriffe()
{
    return gLesezugriffe;
}

qint64 Wertdatei::schreibZugriffe()
{
    return gSchreibzugriffe;
}

void Wertdatei::zugriffeZuruecksetzen()
{
    gLesezugriffe = 0;
    gSchreibzugriffe = 0;
}

void Wertdatei::schreibfehlerNach(int zugriffe)
{
    gSchreibfehlerNach = zugriffe;
}

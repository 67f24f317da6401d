#include "datafiles/RB_Datei.h"

#include "platform/Global.h"
#include "platform/Pfad.h"

#include <QFileInfo>
#include <QtEndian>

#include <cerrno>

namespace {

// The run-time error texts the callers know (the program compares "Path not found").
const QString kPfadFehlt = QStringLiteral("Path not found");
const QString kDateiFehlt = QStringLiteral("File not found");
const QString kZugriffVerweigert = QStringLiteral("Permission denied");
const QString kPfadZugriff = QStringLiteral("Path/File access error");
const QString kEaFehler = QStringLiteral("Device I/O error");
const QString kPlatteVoll = QStringLiteral("Disk full");

} // namespace

RB_Datei::RB_Datei(const QString& name) : m_name(name), m_pfad(PfadAufloesen(name))
{
    m_datei.setFileName(m_pfad);
}

bool RB_Datei::oeffnenLesen()
{
    return oeffnen(QIODevice::ReadOnly);
}

bool RB_Datei::oeffnenSchreiben()
{
    return oeffnen(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

bool RB_Datei::anlegen()
{
    return oeffnen(QIODevice::ReadWrite);
}

bool RB_Datei::oeffnen(QIODevice::OpenMode modus)
{
    schliessen();
    m_fehler.clear();
    m_ordnerFehlt = false;
    m_dateiFehlt = false;
    if (m_pfad.isEmpty()) {
        m_dateiFehlt = true;
        m_fehler = kDateiFehlt;
        return false;
    }
    m_nummer = std::make_unique<Dateinummer>();
    if (!m_nummer->gueltig()) {
        m_fehler = FehlerText;
        m_nummer.reset();
        return false;
    }
    // Unbuffered: a failing write is seen at the write, not later at closing.
    if (QFileInfo(m_pfad).isDir() || !m_datei.open(modus | QIODevice::Unbuffered)) {
        oeffnenFehlerMerken();
        m_nummer.reset();
        return false;
    }
    return true;
}

void RB_Datei::oeffnenFehlerMerken()
{
    const QFileInfo info(m_pfad);
    const QString ordner = OrdnerVon(m_pfad);
    if (!ordner.isEmpty() && !QFileInfo(ordner).isDir()) {
        m_ordnerFehlt = true;
        m_fehler = kPfadFehlt;
    } else if (info.isDir()) {
        m_fehler = kPfadZugriff;
    } else if (!info.exists()) {
        m_dateiFehlt = true;
        m_fehler = kDateiFehlt;
    } else {
        m_fehler = kZugriffVerweigert;
    }
}

void RB_Datei::schreibFehlerMerken()
{
    m_fehler = (errno == ENOSPC) ? kPlatteVoll : kEaFehler;
}

void RB_Datei::schliessen()
{
    if (m_datei.isOpen())
        m_datei.close();
    m_nummer.reset();
}

bool RB_Datei::entfernen()
{
    schliessen();
    return QFile::remove(m_pfad);
}

qint64 RB_Datei::groesse() const
{
    return m_datei.isOpen() ? m_datei.size() : QFileInfo(m_pfad).size();
}

RB_Kopf RB_Datei::kopfLesen()
{
    if (!m_datei.seek(0))
        return {};
    return RB_Kopf::ausBytes(m_datei.read(RB_Kopf::kBytes));
}

bool RB_Datei::kopfSchreiben(const RB_Kopf& kopf)
{
    return schreibenBei(0, kopf.alsBytes());
}

qint32 RB_Datei::satzLesen(qint64 satz)
{
    const qint64 position = (satz - 1) * 4;
    if (satz < 1 || position + 4 > m_datei.size() || !m_datei.seek(position))
        return 0;
    const QByteArray bytes = m_datei.read(4);
    if (bytes.size() != 4)
        return 0;
    return qFromLittleEndian<qint32>(bytes.constData());
}

bool RB_Datei::saetzeSchreiben(qint64 satz, const QList<qint32>& werte)
{
    QByteArray bytes(werte.size() * 4, '\0');
    for (qsizetype i = 0; i < werte.size(); ++i)
        qToLittleEndian<qint32>(werte[i], bytes.data() + 4 * i);
    return schreibenBei((satz - 1) * 4, bytes);
}

bool RB_Datei::anhaengen(const QByteArray& bytes)
{
    errno = 0;
    if (m_datei.write(bytes) != bytes.size()) {
        schreibFehlerMerken();
        return false;
    }
    return true;
}

bool RB_Datei::schreibenBei(qint64 position, const QByteArray& bytes)
{
    errno = 0;
    // Interval files are written in place and never grow.
    if (position < 0 || position + bytes.size() > m_datei.size()) {
        m_fehler = kEaFehler;
        return false;
    }
    if (!m_datei.seek(position) || m_datei.write(bytes) != bytes.size()) {
        schreibFehlerMerken();
        return false;
    }
    return true;
}

#include "MasterEinstellungen.h"

#include "platform/Global.h"
#include "settings/IniDatei.h"
#include "text/Texte.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

const std::array<QString, MasterEinstellungen::kTimeoutAnzahl>
    MasterEinstellungen::kTimeoutSchluessel = {
        QStringLiteral("COMTimeout"), QStringLiteral("COMTimeoutOffset"),
        QStringLiteral("COMTimeoutByte"), QStringLiteral("COMTimeoutDeadTime")};

std::optional<qint32> Val32(const QString& text)
{
    const double wert = std::round(Val(text));
    if (!std::isfinite(wert) || wert < std::numeric_limits<qint32>::min() ||
        wert > std::numeric_limits<qint32>::max()) {
        FehlerText = QStringLiteral("Überlauf: \"%1\" ist keine 32-Bit-Zahl").arg(text);
        return std::nullopt;
    }
    return static_cast<qint32>(wert);
}

std::optional<qint32> IntervallPruefen(const QString& text)
{
    static const QRegularExpression ganzeZahl(QStringLiteral("^\\s*\\+?\\d{1,10}\\s*$"));
    if (!ganzeZahl.match(text).hasMatch())
        return std::nullopt;
    const qint64 wert = text.trimmed().toLongLong();
    if (wert > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(wert);
}

MasterEinstellungen::MasterEinstellungen(int port, QString datei)
    : m_port(port), m_datei(std::move(datei))
{
}

QString MasterEinstellungen::mbusAbschnitt() const
{
    return Mandant + QStringLiteral("MBus");
}

QString MasterEinstellungen::portAbschnitt() const
{
    return Mandant + QStringLiteral("MBus") + QString::number(m_port);
}

QString MasterEinstellungen::speichernAbschnitt() const
{
    return QStringLiteral("MB") + Mandant;
}

QString MasterEinstellungen::lesen(const QString& abschnitt, const QString& schluessel) const
{
    return ProfilLesen(abschnitt, schluessel, QString(), m_datei);
}

void MasterEinstellungen::schreiben(const QString& abschnitt, const QString& schluessel,
                                    const QString& wert) const
{
    ProfilSchreiben(abschnitt, schluessel, wert, m_datei);
}

std::optional<qint32> MasterEinstellungen::vbzIntervallLaden() const
{
    const std::optional<qint32> wert =
        Val32(lesen(mbusAbschnitt(), QStringLiteral("VBZBerechnenIntervall")));
    if (wert && *wert == 0) {
        schreiben(mbusAbschnitt(), QStringLiteral("VBZBerechnenIntervall"),
                  QString::number(kVbzVorgabe));
        return kVbzVorgabe;
    }
    return wert;
}

std::optional<quint8> MasterEinstellungen::vbzFensterStilLaden() const
{
    const QString text = lesen(mbusAbschnitt(), QStringLiteral("VBZBerechnenStartFenster"));
    const double wert = std::round(Val(text));
    if (!(wert >= 0 && wert <= 255)) {
        FehlerText = QStringLiteral("Überlauf: \"%1\" ist kein Wert von 0 bis 255").arg(text);
        return std::nullopt;
    }
    if (wert == 0) {
        schreiben(mbusAbschnitt(), QStringLiteral("VBZBerechnenStartFenster"),
                  QString::number(kVbzFensterVorgabe));
        return kVbzFensterVorgabe;
    }
    return static_cast<quint8>(wert);
}

qint32 MasterEinstellungen::rb6StandardGroesse() const
{
    const std::optional<qint32> wert =
        Val32(lesen(mbusAbschnitt(), QStringLiteral("RB6_StandardGroesse")));
    return wert && *wert != 0 ? *wert : kRb6Vorgabe;
}

QString MasterEinstellungen::intervallText() const
{
    return lesen(mbusAbschnitt(), QStringLiteral("IntervallCom") + QString::number(m_port));
}

void MasterEinstellungen::intervallSchreiben(qint32 sekunden) const
{
    schreiben(mbusAbschnitt(), QStringLiteral("IntervallCom") + QString::number(m_port),
              QString::number(sekunden));
}

std::optional<qint32> MasterEinstellungen::timeoutLaden(int i) const
{
    if (i < 0 || i >= kTimeoutAnzahl)
        return std::nullopt;
    const auto stelle = static_cast<size_t>(i);
    const QString text = lesen(portAbschnitt(), kTimeoutSchluessel[stelle]);
    if (text.isEmpty()) {
        schreiben(portAbschnitt(), kTimeoutSchluessel[stelle],
                  QString::number(kTimeoutVorgabe[stelle]));
        return kTimeoutVorgabe[stelle];
    }
    return Val32(text);
}

void MasterEinstellungen::timeoutSchreiben(int i, qint32 wert) const
{
    if (i < 0 || i >= kTimeoutAnzahl)
        return;
    schreiben(portAbschnitt(), kTimeoutSchluessel[static_cast<size_t>(i)], QString::number(wert));
}

QString MasterEinstellungen::tibboIpLaden() const
{
    const QString schluessel = QStringLiteral("TibboIP") + QString::number(m_port);
    const QString ip = lesen(portAbschnitt(), schluessel);
    schreiben(portAbschnitt(), schluessel, ip);
    return ip;
}

int MasterEinstellungen::speichernLaden(int i) const
{
    if (i < 0 || i >= kSpeichernAnzahl)
        return 0;
    const QString text =
        lesen(speichernAbschnitt(), QStringLiteral("MBSpeichern") + QString::number(i));
    if (text.isEmpty())
        return kSpeichernVorgabe[static_cast<size_t>(i)];
    return Val(text) != 0 ? 1 : 0;
}

void MasterEinstellungen::speichernSchreiben(int i, bool an) const
{
    schreiben(speichernAbschnitt(), QStringLiteral("MBSpeichern") + QString::number(i),
              an ? QStringLiteral("1") : QStringLiteral("0"));
}

void MasterEinstellungen::providerSchreiben(int treiberNummer) const
{
    schreiben(portAbschnitt(), QStringLiteral("OleProvider"), QString::number(treiberNummer));
}

void MasterEinstellungen::providerPortSchreiben(int treiberNummer) const
{
    schreiben(mbusAbschnitt(), QStringLiteral("OleProvider") + QString::number(m_port),
              QString::number(treiberNummer));
}

QString MasterEinstellungen::dienstUnit(const QString& name) const
{
    const QString unit = lesen(portAbschnitt(), QStringLiteral("Dienst")).trimmed();
    if (!unit.isEmpty())
        return unit;
    return name.contains(QLatin1Char('.')) ? name : name + QStringLiteral(".service");
}

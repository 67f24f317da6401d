#include "TestfensterEinstellungen.h"

#include "platform/Global.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"


const std::array<QString, TestfensterEinstellungen::kTimingAnzahl>
    TestfensterEinstellungen::kTimingSchluessel = {
        QStringLiteral("COMTimeout"), QStringLiteral("COMTimeoutOffset"),
        QStringLiteral("COMTimeoutByte"), QStringLiteral("COMDeadtime")};

const std::array<QString, TestfensterEinstellungen::kTimingAnzahl>
    TestfensterEinstellungen::kTimingVorgabe = {QStringLiteral("330"), QStringLiteral("50"),
                                                QStringLiteral("4"), QStringLiteral("11")};

TestfensterEinstellungen::TestfensterEinstellungen(QString datei) : m_datei(std::move(datei)) {}

QString TestfensterEinstellungen::timingAbschnitt() const
{
    return Mandant + QStringLiteral("MBus");
}

QString TestfensterEinstellungen::providerAbschnitt() const
{
    return Mandant + QStringLiteral("MBus") + QStringLiteral("0");
}

void TestfensterEinstellungen::providerSchreiben(int treiberNummer) const
{
    ProfilSchreiben(providerAbschnitt(), QStringLiteral("OleProvider"),
                    QString::number(treiberNummer), m_datei);
}

void TestfensterEinstellungen::timingSchreiben(int index, const QString& wert) const
{
    if (index < 0)
        return;
    ProfilSchreiben(timingAbschnitt(),
                    kTimingSchluessel[static_cast<size_t>(index % kTimingAnzahl)], wert, m_datei);
}

QString TestfensterEinstellungen::timingLaden(int i) const
{
    if (i < 0 || i >= kTimingAnzahl)
        return {};
    const auto stelle = static_cast<size_t>(i);
    const double wert = Val(IniLesen(timingAbschnitt(), kTimingSchluessel[stelle], m_datei));
    if (wert == 0) {
        ProfilSchreiben(timingAbschnitt(), kTimingSchluessel[stelle], kTimingVorgabe[stelle],
                        m_datei);
        return kTimingVorgabe[stelle];
    }
    return QString::number(wert, 'g', 15);
}

void TestfensterEinstellungen::einzelwertSchreiben(int index, const QString& wert) const
{
    static const std::array<QString, 3> schluessel = {
        QStringLiteral("PrimAdr"), QStringLiteral("ComPort"), QStringLiteral("Baud")};
    if (index < 0 || index >= static_cast<int>(schluessel.size()))
        return;
    ProfilSchreiben(QStringLiteral("MBusTest") + Mandant, schluessel[static_cast<size_t>(index)],
                    wert, m_datei);
}

void TestfensterEinstellungen::suchPortSchreiben(const QString& wert) const
{
    ProfilSchreiben(Mandant + QStringLiteral("MBusTest"), QStringLiteral("COMPort"), wert, m_datei);
}

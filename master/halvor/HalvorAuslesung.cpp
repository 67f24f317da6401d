#include "HalvorAuslesung.h"

#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "lesen/Zaehlerlesen.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Pfad.h"
#include "platform/Textdatei.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"
#include "text/Texte.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

const QString HalvorAuslesung::kIniDatei = QStringLiteral(".\\mb.INI");
const QString HalvorAuslesung::kOrdnerVorgabe = QStringLiteral("Slave.dat");

namespace {

const QString kAbschnitt = QStringLiteral("MB");
const QString kSchluessel = QStringLiteral("DatenPath");
const QString kLogVorsatz = QStringLiteral("Halvor MBus: ");

// The port box as the whole number handed to the driver (rounded, halves to even); far out of
// range stays out of range without overflowing.
int PortNummer(const QString& text)
{
    return static_cast<int>(std::nearbyint(std::clamp(Val(text), -1e6, 1e6)));
}

QString Text(const std::function<QString()>& quelle)
{
    return quelle ? quelle() : QString();
}

// Closes the driver's port whichever way the meter's read ends.
class PortSchliessen
{
public:
    explicit PortSchliessen(IMBusOLEAutoServer& treiber) : m_treiber(treiber) {}
    ~PortSchliessen() { m_treiber.OLEClosePort(); }
    PortSchliessen(const PortSchliessen&) = delete;
    PortSchliessen& operator=(const PortSchliessen&) = delete;

private:
    IMBusOLEAutoServer& m_treiber;
};

} // namespace

HalvorAuslesung::HalvorAuslesung(Anzeige anzeige, TreiberFabrik fabrik)
    : m_anzeige(std::move(anzeige)), m_fabrik(std::move(fabrik))
{
    if (!m_fabrik)
        m_fabrik = [] { return MBusObjektErzeugen(kTreiberOleAutoServer); };
}

HalvorAuslesung::~HalvorAuslesung() = default;

QString HalvorAuslesung::laden()
{
    QString ordner = IniLesen(kAbschnitt, kSchluessel, kIniDatei);
    if (ordner.isEmpty())
        ordner = kOrdnerVorgabe;
    DatenPath = ordner;
    m_monat = Jetzt().date().month();
    return ordner;
}

void HalvorAuslesung::ordnerGeaendert(const QString& text)
{
    DatenPath = text;
    if (ProfilSchreiben(kAbschnitt, kSchluessel, text, kIniDatei)) {
        m_iniFehlerGemeldet = false;
        return;
    }
    if (!m_iniFehlerGemeldet)
        LogSchreiben(kLogVorsatz + QStringLiteral("Der Ordner konnte nicht in ") +
                     PfadAufloesen(kIniDatei) + QStringLiteral(" gespeichert werden"));
    m_iniFehlerGemeldet = true;
}

void HalvorAuslesung::uhrTick()
{
    const int monat = Jetzt().date().month();
    if (monat == m_monat)
        return;
    m_monat = monat;
    if (m_laeuft)
        m_monatNachholen = true;
    else
        AlleMBusZaehlerAuslesen();
}

bool HalvorAuslesung::AlleMBusZaehlerAuslesen()
{
    if (m_laeuft)
        return false;
    m_laeuft = true;
    m_anhalten = false;
    if (m_anzeige.laeuft)
        m_anzeige.laeuft(true);
    do {
        m_monatNachholen = false;
        durchgang();
    } while (m_monatNachholen && !m_anhalten && !ProgrammEndet());
    m_monatNachholen = false;
    m_laeuft = false;
    if (m_anzeige.laeuft)
        m_anzeige.laeuft(false);
    return true;
}

void HalvorAuslesung::anhalten()
{
    if (m_laeuft)
        m_anhalten = true;
}

void HalvorAuslesung::durchgang()
{
    const QString anzText = Text(m_anzeige.hoechsteAdresse);
    double grenze = std::floor(Val(anzText));
    if (grenze > kHoechsteAdresse) {
        LogSchreiben(kLogVorsatz + QStringLiteral("Anz \"") + anzText +
                     QStringLiteral("\" auf 250 begrenzt (251 bis 255 sind Sonderadressen)"));
        grenze = kHoechsteAdresse;
    }

    QList<int> nichtOffen;
    int portZu = 0;
    int ohneZeile = 0;
    QString letzterFehler;
    for (int adresse = 0; adresse <= grenze; ++adresse) {
        // A stop asked for before or during the yield ends the pass before the next meter.
        if (m_anhalten || !DoEvents() || m_anhalten)
            break;
        const int port = PortNummer(Text(m_anzeige.port));
        switch (MBus_AuslesenAlle(adresse, port, kBaud)) {
        case Ergebnis::PortZu:
            ++portZu;
            if (!nichtOffen.contains(port))
                nichtOffen << port;
            break;
        case Ergebnis::Fehler:
            ++ohneZeile;
            letzterFehler = FehlerText;
            break;
        case Ergebnis::Gelesen:
        case Ergebnis::KeineAntwort:
            break;
        }
    }

    if (portZu > 0) {
        QStringList ports;
        for (int port : nichtOffen)
            ports << QStringLiteral("Com ") + QString::number(port);
        LogSchreiben(kLogVorsatz + ports.join(QStringLiteral(", ")) +
                     QStringLiteral(" ließ sich nicht öffnen, ") + QString::number(portZu) +
                     QStringLiteral(" Zähler nicht gelesen"));
    }
    if (ohneZeile > 0)
        LogSchreiben(kLogVorsatz + QString::number(ohneZeile) +
                     QStringLiteral(" Zähler ohne Zeile in der Tagesdatei: ") + letzterFehler);
}

HalvorAuslesung::Ergebnis HalvorAuslesung::MBus_AuslesenAlle(int adresse, int port, int baud)
{
    QString felder = QString::number(adresse);
    bool portOffen = false;
    bool beantwortet = false;
    {
        const std::unique_ptr<MBusTreiber> objekt = m_fabrik();
        IMBusOLEAutoServer* treiber = objekt ? objekt->alsOleAutoServer() : nullptr;
        if (!treiber) {
            if (objekt)
                FehlerText = QStringLiteral("Der M-Bus-Treiber \"") + objekt->name() +
                             QStringLiteral("\" hat keine feste Schnittstelle");
            return Ergebnis::Fehler;
        }
        const PortSchliessen schliessen(*treiber);
        portOffen = MBusComPortSetzen(*treiber, QString::number(port), baud);
        bool quittiert = false;
        treiber->OLESndNke(adresse, quittiert);
        treiber->OLEReqUD2(adresse, beantwortet);
        if (beantwortet) {
            const int anzahl = treiber->OLERecordCount();
            for (int j = 0; j < anzahl; ++j) {
                DoEvents();
                felder += QLatin1Char('\t') + QString::number(j) + QLatin1Char('\t') +
                          treiber->OLERecordValueText(j);
            }
        } else {
            felder += QStringLiteral("\tFehlerBeimLesen");
        }
    }
    if (!zeileSchreiben(felder))
        return Ergebnis::Fehler;
    if (beantwortet)
        return Ergebnis::Gelesen;
    return portOffen ? Ergebnis::KeineAntwort : Ergebnis::PortZu;
}

QString HalvorAuslesung::Dateiname(const QString& ordner, const QDateTime& zeit)
{
    return ordner + QLocale::c().toString(zeit, QStringLiteral("yyMMdd")) +
           QStringLiteral("mb.txt");
}

bool HalvorAuslesung::zeileSchreiben(const QString& felder)
{
    const QDateTime jetzt = Jetzt();
    const QString pfad = PfadAufloesen(Dateiname(DatenPath, jetzt));
    const Dateinummer nummer;
    if (!nummer.gueltig())
        return false;
    QString fehler;
    const QString zeile =
        QLocale::c().toString(jetzt, QStringLiteral("yyMMdd")) + QLatin1Char('\t') + felder;
    if (TextZeilenAnhaengen(pfad, {zeile}, &fehler))
        return true;
    FehlerText = pfad + QStringLiteral(": ") + fehler;
    return false;
}

#include "Auslesen.h"

#include "PortMeldung.h"

#include "driver/UartFehlerText.h"
#include "driver/engine/Ereignis.h"
#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "lesen/Zaehlerlesen.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Warten.h"
#include "text/Texte.h"

#include <QStringList>

#include <cmath>

namespace {

const QString kTab(QLatin1Char('\t'));
constexpr int kReservierteZeile = 1;

QString Sekunden(double sekunden)
{
    return ZahlAlsText(std::round(sekunden * 100.0) / 100.0);
}

QString SatzZeile(const QString& index, const QString& medium, const QString& art,
                  const QString& wert, const QString& einheit)
{
    return index + kTab + medium + kTab + art + kTab + wert + kTab + einheit;
}

QString Bezeichnung(int adresse, int nummer)
{
    return QStringLiteral("%1 [%2]").arg(adresse).arg(nummer);
}

} // namespace

Auslesen::Auslesen(FlexGrid& satzGrid, Anzeige anzeige)
    : m_satzGrid(satzGrid), m_anzeige(std::move(anzeige))
{
    m_uhr.start();
}

bool Auslesen::PrimaerAdresseGueltig(const QString& text, int& adresse)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 3)
        return false;
    for (const QChar c : t)
        if (!c.isDigit() || c.unicode() > 0x7F)
            return false;
    adresse = t.toInt();
    return adresse >= 0 && adresse <= 255;
}

bool Auslesen::SekundaerAdresseGueltig(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 8)
        return false;
    for (const QChar c : t)
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char('f') &&
            c != QLatin1Char('F'))
            return false;
    return true;
}

void Auslesen::ZeitZeileSchreiben(FlexGrid& grid, const Ergebnis& ergebnis)
{
    if (!ergebnis.beantwortet || grid.Rows() <= kReservierteZeile)
        return;
    grid.setTextMatrix(kReservierteZeile, 0, QStringLiteral("Gelesen in "));
    grid.setTextMatrix(kReservierteZeile, 1,
                       Sekunden(ergebnis.antwort - ergebnis.anfrage) + QStringLiteral(" s"));
    // The columns were fitted to the records before; the line must not be cut short.
    FlexGridSpaltenbreiten(grid);
}

double Auslesen::jetzt() const
{
    return static_cast<double>(m_uhr.nsecsElapsed()) / 1e9;
}

bool Auslesen::racAntwortAbwarten(MBusRacX4& treiber, int& status)
{
    status = treiber.EmpfangAbwarten();
    return status != mbus::kEmpfangLaeuft;
}

void Auslesen::fehlerZeile(int adresse, int maske)
{
    m_satzGrid.AddItem(QString::number(adresse) + kTab + QStringLiteral(" Fehler : ") +
                           MB_UartFehlerText(maske),
                       kReservierteZeile);
}

Auslesen::Ergebnis Auslesen::ueberRac(MBusRacX4& treiber, const QVariant& port,
                                      const QVariant& baud, int adresse)
{
    Ergebnis ergebnis;
    treiber.APPInitCom(port, baud);
    if (treiber.APPIsComOpen() != 0) {
        PortFehlerMelden(QStringLiteral("Fehler Open Com ") + port.toString(), port);
        treiber.APPCloseCom();
        ergebnis.portOffen = false;
        return ergebnis;
    }
    SatzGridVorbereiten(m_satzGrid);

    // Link reset: a meter that does not acknowledge is not asked for data.
    treiber.APPSNDNKE(adresse);
    int status = 0;
    if (!racAntwortAbwarten(treiber, status)) {
        treiber.APPCloseCom();
        return ergebnis;
    }
    if (status > 4) {
        fehlerZeile(adresse, treiber.APPReceiveError());
        treiber.APPCloseCom();
        FlexGridSpaltenbreiten(m_satzGrid);
        return ergebnis;
    }

    for (int telegramm = 0; telegramm < kMaxTelegramme; ++telegramm) {
        ergebnis.beantwortet = false;
        ergebnis.anfrage = jetzt();
        treiber.APPREQUD2(adresse);
        if (!racAntwortAbwarten(treiber, status))
            break;
        if (status != mbus::kEmpfangTelegramm) {
            fehlerZeile(adresse, treiber.APPReceiveError());
            break;
        }
        ergebnis.antwort = jetzt();
        ergebnis.beantwortet = true;
        ++ergebnis.telegramme;
        ergebnis.antwortAdresse = treiber.APPAField();

        const QString hex = treiber.APPRetrieveRawDataHex();
        const QString dezimal = treiber.APPRetrieveRawDataDec();
        RohdatenText = hex;
        if (m_anzeige.rohText)
            m_anzeige.rohText(dezimal);
        if (m_anzeige.dump)
            m_anzeige.dump(TelegrammDump(hex, dezimal));
        if (m_anzeige.kopf)
            m_anzeige.kopf(
                Kopf{treiber.APPManufacturerIDAsc(), QString::number(treiber.APPManufacturerID()),
                     QString::number(treiber.APPDeviceID()), treiber.APPDeviceIDDec(),
                     QString::number(treiber.APPGenerationNo()), treiber.APPMediumAsc()});

        // The driver counts its records from 1.
        const int anzahl = treiber.APPDataRecordNumber();
        for (int k = 1; k <= anzahl; ++k) {
            DoEvents();
            m_satzGrid.AddItem(SatzZeile(Bezeichnung(adresse, ergebnis.saetze + k),
                                         treiber.APPMediumAsc(), treiber.APPVIBAsc(k),
                                         ZahlAlsText(MB_TextZuDouble(treiber.APPValueDec(k))),
                                         treiber.APPVIBUnitAsc(k)));
        }
        ergebnis.saetze += anzahl;
        if (!treiber.WeitereDatensaetzeFolgen() || ProgrammEndet())
            break;
    }
    treiber.APPCloseCom();
    FlexGridSpaltenbreiten(m_satzGrid);
    return ergebnis;
}

Auslesen::Ergebnis Auslesen::ueberOle(IMBusOLEAutoServer& treiber, int adresse, int timeout)
{
    Ergebnis ergebnis;
    SatzGridVorbereiten(m_satzGrid);
    treiber.OLESetTimeout(timeout);
    bool quittiert = false;
    treiber.OLESndNke(adresse, quittiert);
    ergebnis.anfrage = jetzt();
    treiber.OLEReqUD2(adresse, ergebnis.beantwortet);
    if (ergebnis.beantwortet) {
        ergebnis.antwort = jetzt();
        ergebnis.telegramme = 1;
        if (m_anzeige.kopf)
            m_anzeige.kopf(Kopf{
                treiber.OLEManufacturerText(), QString::number(treiber.OLEManufacturerNumber()),
                treiber.OLEDeviceIdText(), QString::number(treiber.OLEDeviceIdNumber()),
                treiber.OLEGenerationText(), QString::number(treiber.OLEMediumNumber())});
        // The driver counts its records from 0; the rows are labelled from 1.
        const int anzahl = treiber.OLERecordCount();
        for (int k = 0; k < anzahl; ++k)
            m_satzGrid.AddItem(SatzZeile(
                Bezeichnung(adresse, k + 1), treiber.OLEMediumText(), treiber.OLERecordKindText(k),
                treiber.OLERecordValueText(k), treiber.OLERecordUnitText(k)));
        ergebnis.saetze = anzahl;
    } else {
        MsgBox(QStringLiteral("Fehler : Keine Antwort"));
    }
    treiber.OLEClosePort();
    FlexGridSpaltenbreiten(m_satzGrid);
    return ergebnis;
}

Auslesen::Ergebnis Auslesen::sekundaer(MBusRacX4& treiber, const QString& adresse)
{
    Ergebnis ergebnis;
    QString maske = adresse.trimmed();
    ergebnis.anfrage = jetzt();
    ergebnis.mehrere = MBusSelectREQUD2(treiber, maske);
    if (ergebnis.mehrere == 0) {
        ergebnis.antwort = jetzt();
        ergebnis.beantwortet = true;
        ergebnis.telegramme = 1;
        ergebnis.antwortAdresse = treiber.APPAField();
        QString dump;
        TelegrammInGrid(m_satzGrid, treiber, dump);
        ergebnis.saetze = treiber.APPDataRecordNumber();
        if (m_anzeige.dump)
            m_anzeige.dump(dump);
        if (m_anzeige.kopf)
            m_anzeige.kopf(
                Kopf{treiber.APPManufacturerIDAsc(), QString::number(treiber.APPManufacturerID()),
                     QString::number(treiber.APPDeviceID()), treiber.APPDeviceIDDec(),
                     QString::number(treiber.APPGenerationNo()), treiber.APPMediumAsc()});
        FlexGridSpaltenbreiten(m_satzGrid);
    } else if (ergebnis.mehrere == 1) {
        MsgBox(QStringLiteral("Antwort von mehreren Zählern."));
    }
    return ergebnis;
}

Auslesen::Ergebnis Auslesen::geschwindigkeitstest(IMBusOLEAutoServer& treiber, int von, int bis,
                                                  const std::function<int()>& adresse)
{
    Ergebnis ergebnis;
    SatzGridVorbereiten(m_satzGrid);
    treiber.OLESetTimeout(10);
    const double start = jetzt();
    int zaehler = von;
    for (int j = von; j <= bis; ++j) {
        zaehler = j;
        if (m_anzeige.fortschritt)
            m_anzeige.fortschritt(j, Sekunden(jetzt() - start));
        if (!DoEvents())
            break;
        if (m_anzeige.weiterLesen && !m_anzeige.weiterLesen())
            break;
        const int ziel = adresse ? adresse() : -1;
        if (ziel < 0)
            break;
        ++ergebnis.durchlaeufe;
        bool beantwortet = false;
        ergebnis.anfrage = jetzt();
        treiber.OLEReqUD2(ziel, beantwortet);
        if (beantwortet) {
            ergebnis.antwort = jetzt();
            ++ergebnis.telegramme;
            if (m_anzeige.kopf)
                m_anzeige.kopf(Kopf{treiber.OLEManufacturerText(),
                                    {},
                                    treiber.OLEDeviceIdText(),
                                    {},
                                    treiber.OLEGenerationText(),
                                    {}});
            // Every record is fetched, as a full read-out would, but not shown.
            const int anzahl = treiber.OLERecordCount();
            for (int k = 0; k < anzahl; ++k) {
                DoEvents();
                [[maybe_unused]] const QString wert = treiber.OLERecordValueText(k);
            }
        } else {
            ++ergebnis.fehlversuche;
            m_satzGrid.AddItem(QString::number(j) + kTab + QStringLiteral(" Keine Antwort"),
                               kReservierteZeile);
        }
    }
    if (m_anzeige.fortschritt)
        m_anzeige.fortschritt(zaehler, Sekunden(jetzt() - start));
    treiber.OLEClosePort();
    FlexGridSpaltenbreiten(m_satzGrid);
    return ergebnis;
}

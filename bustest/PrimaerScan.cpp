#include "PrimaerScan.h"

#include "PortMeldung.h"

#include "driver/engine/Ereignis.h"
#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "platform/Warten.h"
#include "text/Texte.h"

#include <cmath>

namespace {

constexpr int kSpalteAdresse = 0;
constexpr int kSpalteBaud = 6;

} // namespace

PrimaerScan::PrimaerScan(FlexGrid& scanGrid, FlexGrid& satzGrid, Anzeige anzeige)
    : m_scanGrid(scanGrid), m_satzGrid(satzGrid), m_anzeige(std::move(anzeige))
{
}

void PrimaerScan::ScanGridVorbereiten(FlexGrid& grid)
{
    grid.setRows(1);
    grid.setRows(kLetzteEigeneZeile + 1);
}

QString PrimaerScan::SekundenText(double sekunden)
{
    return ZahlAlsText(std::round(sekunden * 100.0) / 100.0);
}

QString PrimaerScan::ErgebnisZeile(const Ergebnis& ergebnis)
{
    QString zeile = QString::number(ergebnis.gefunden) + QStringLiteral(" Zähler in ") +
                    SekundenText(ergebnis.sekunden) + QStringLiteral(" sec. gefunden. ");
    if (ergebnis.abgebrochen)
        zeile += QStringLiteral("Suche abgebrochen bei Adr. ") +
                 QString::number(ergebnis.abbruchAdresse);
    return zeile;
}

PrimaerScan::Ergebnis PrimaerScan::ueberRac(MBusRacX4& treiber, int port, int baud, int von,
                                            int bis)
{
    m_ergebnis = {};
    treiber.APPInitCom(port, baud);
    if (treiber.APPIsComOpen() != 0) {
        PortFehlerMelden(QStringLiteral("Fehler Open Com ") + QString::number(port), port);
        treiber.APPCloseCom();
        m_ergebnis.portOffen = false;
        return m_ergebnis;
    }
    satzGridVorbereiten(QStringLiteral("Prim/[Index]"));
    m_uhr.start();
    for (int adresse = von; adresse <= bis && m_ergebnis.fehler.isEmpty(); ++adresse) {
        if (stopGefragt() || !fortschritt(adresse)) {
            m_ergebnis.abgebrochen = true;
            m_ergebnis.abbruchAdresse = adresse;
            break;
        }
        treiber.APPREQUD2(adresse);
        const int antwort = treiber.EmpfangAbwarten();
        if (antwort == mbus::kEmpfangLaeuft) { // the program ends in the middle of the exchange
            m_ergebnis.abgebrochen = true;
            m_ergebnis.abbruchAdresse = adresse;
            break;
        }
        if (antwort != mbus::kEmpfangTelegramm)
            continue;
        ++m_ergebnis.gefunden;
        const Zaehlerkopf kopf{treiber.APPDeviceIDDec(), treiber.APPManufacturerIDAsc(),
                               QString::number(treiber.APPGenerationNo()), treiber.APPMediumAsc(),
                               QString::number(treiber.APPTransmissionCount())};
        if (!zaehlerEintragen(adresse, baud, kopf))
            break;
        // The driver counts its records from 1.
        const int anzahl = treiber.APPDataRecordNumber();
        for (int k = 1; k <= anzahl; ++k) {
            DoEvents();
            const Satz satz{treiber.APPMediumAsc(), treiber.APPDataFieldAsc(k),
                            ZahlAlsText(MB_TextZuDouble(treiber.APPValueDec(k))),
                            QString::number(treiber.APPUnitNo(k))};
            if (!satzEintragen(adresse, k, satz))
                break;
        }
    }
    treiber.APPCloseCom();
    abschliessen();
    return m_ergebnis;
}

PrimaerScan::Ergebnis PrimaerScan::ueberOle(IMBusOLEAutoServer& treiber, int baud, int von, int bis)
{
    m_ergebnis = {};
    satzGridVorbereiten(QStringLiteral("Index"));
    m_uhr.start();
    for (int adresse = von; adresse <= bis && m_ergebnis.fehler.isEmpty(); ++adresse) {
        if (stopGefragt()) {
            m_ergebnis.abgebrochen = true;
            m_ergebnis.abbruchAdresse = adresse;
            break;
        }
        // Every address tried shows in its own row; addresses without one get a row only when
        // a meter answers there.
        const int eigeneZeile = zeileFuer(adresse, false);
        if (eigeneZeile > 0 && eigeneZeile <= kLetzteEigeneZeile &&
            !schreiben(m_scanGrid, eigeneZeile, kSpalteAdresse, QString::number(adresse)))
            break;
        if (!fortschritt(adresse)) {
            m_ergebnis.abgebrochen = true;
            m_ergebnis.abbruchAdresse = adresse;
            break;
        }
        bool beantwortet = false;
        treiber.OLEReqUD2(adresse, beantwortet);
        if (!beantwortet)
            continue;
        ++m_ergebnis.gefunden;
        const int anzahl = treiber.OLERecordCount();
        const Zaehlerkopf kopf{treiber.OLEDeviceIdText(), treiber.OLEManufacturerText(),
                               treiber.OLEGenerationText(), treiber.OLEMediumText(),
                               QString::number(anzahl)};
        if (!zaehlerEintragen(adresse, baud, kopf))
            break;
        // The driver counts its records from 0.
        for (int k = 0; k < anzahl; ++k) {
            DoEvents();
            const Satz satz{treiber.OLEMediumText(), treiber.OLERecordKindText(k),
                            treiber.OLERecordValueText(k), treiber.OLERecordUnitText(k)};
            if (!satzEintragen(adresse, k + 1, satz))
                break;
        }
    }
    abschliessen();
    treiber.OLEClosePort();
    return m_ergebnis;
}

void PrimaerScan::satzGridVorbereiten(const QString& indexKopf)
{
    m_satzGrid.Clear();
    m_satzGrid.setCols(5);
    m_satzGrid.setRows(2);
    const QString kopf[] = {indexKopf, QStringLiteral("Medium"), QStringLiteral("Meßart"),
                            QStringLiteral("Wert"), QStringLiteral("Einh.")};
    for (int spalte = 0; spalte < 5; ++spalte)
        m_satzGrid.setTextMatrix(0, spalte, kopf[spalte]);
}

bool PrimaerScan::stopGefragt() const
{
    return ProgrammEndet() || (m_anzeige.sucheStop && m_anzeige.sucheStop());
}

bool PrimaerScan::fortschritt(int adresse)
{
    const double s = vergangen();
    if (m_anzeige.zeile)
        m_anzeige.zeile(QStringLiteral("Suche Adr.: ") + QString::number(adresse) +
                        QStringLiteral(" [Sec= ") + SekundenText(s) + QStringLiteral("]"));
    if (m_anzeige.sekunden)
        m_anzeige.sekunden(SekundenText(s));
    if (!DoEvents())
        return false;
    return !(m_anzeige.lesenLaeuft && m_anzeige.lesenLaeuft());
}

int PrimaerScan::zeileFuer(int adresse, bool anlegen)
{
    if (adresse >= 1 && adresse <= kLetzteEigeneZeile && adresse < m_scanGrid.Rows())
        return adresse;
    const QString text = QString::number(adresse);
    for (int zeile = kLetzteEigeneZeile + 1; zeile < m_scanGrid.Rows(); ++zeile)
        if (m_scanGrid.TextMatrix(zeile, kSpalteAdresse) == text)
            return zeile;
    if (!anlegen)
        return -1;
    if (!m_scanGrid.AddItem(text)) {
        m_ergebnis.fehler = m_scanGrid.letzterFehler();
        return -1;
    }
    return m_scanGrid.Rows() - 1;
}

bool PrimaerScan::zaehlerEintragen(int adresse, int baud, const Zaehlerkopf& kopf)
{
    const int zeile = zeileFuer(adresse, true);
    if (zeile < 1)
        return false;
    const QString baudSpalte =
        m_scanGrid.TextMatrix(zeile, kSpalteBaud) + QString::number(baud) + QLatin1Char(';');
    const QString zellen[] = {QString::number(adresse),
                              kopf.id,
                              kopf.hersteller,
                              kopf.version,
                              kopf.medium,
                              kopf.anzahl,
                              baudSpalte};
    for (int spalte = 0; spalte <= kSpalteBaud; ++spalte)
        if (!schreiben(m_scanGrid, zeile, spalte, zellen[spalte]))
            return false;
    return true;
}

bool PrimaerScan::satzEintragen(int adresse, int nummer, const Satz& satz)
{
    const QString tab(QLatin1Char('\t'));
    const QString zeile = QString::number(adresse) + QString::number(nummer) + tab + satz.medium +
                          tab + satz.art + tab + satz.wert + tab + satz.einheit;
    if (m_satzGrid.AddItem(zeile, 1))
        return true;
    m_ergebnis.fehler = m_satzGrid.letzterFehler();
    return false;
}

bool PrimaerScan::schreiben(FlexGrid& grid, int zeile, int spalte, const QString& text)
{
    if (grid.setTextMatrix(zeile, spalte, text))
        return true;
    m_ergebnis.fehler = grid.letzterFehler();
    return false;
}

void PrimaerScan::abschliessen()
{
    m_ergebnis.sekunden = vergangen();
    if (m_anzeige.zeile)
        m_anzeige.zeile(ErgebnisZeile(m_ergebnis));
    if (m_anzeige.sekunden)
        m_anzeige.sekunden(SekundenText(m_ergebnis.sekunden));
    FlexGridSpaltenbreiten(m_satzGrid);
}

double PrimaerScan::vergangen() const
{
    return m_uhr.isValid() ? static_cast<double>(m_uhr.elapsed()) / 1000.0 : 0.0;
}

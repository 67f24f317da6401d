#include "ParameterSchreiben.h"

#include "driver/engine/Ereignis.h"
#include "driver/faces/MBusRacX4.h"
#include "frames/MBusRahmen.h"
#include "grid/FlexGrid.h"
#include "platform/Warten.h"
#include "text/Texte.h"

#include <QComboBox>
#include <QRegularExpression>

#include <array>
#include <utility>

namespace {

const QString kHex = QStringLiteral("HEX");

} // namespace

QString ParameterSchreiben::FehlerBits(int maske)
{
    static const std::array<std::pair<int, const char*>, 9> kBits{{
        {1, "Timeout, "},
        {2, "Wrong Parity, "},
        {4, "Wrong Checksum, "},
        {8, "Wrong Startsign, "},
        {16, "Wrong Length, "},
        {32, "Wrong Stopsign"},
        {64, "Collision, "},
        {128, "Frame Error, "},
        {256, "Other UART Error, "},
    }};
    QString text;
    for (const auto& [bit, name] : kBits)
        if (maske & bit)
            text += QString::fromLatin1(name);
    return text;
}

QString ParameterSchreiben::Ergebnistext(int ergebnis)
{
    if (ergebnis == 0)
        return kOk;
    return kFehler + (ergebnis > 0 ? FehlerBits(ergebnis) : QString());
}

bool ParameterSchreiben::IdGueltig(const QString& id)
{
    static const QRegularExpression kMuster(QStringLiteral("^[0-9]{1,8}$"));
    return kMuster.match(id.trimmed()).hasMatch();
}

bool ParameterSchreiben::AdresseGueltig(const QString& text, int& adresse)
{
    static const QRegularExpression kMuster(QStringLiteral("^[0-9]{1,3}$"));
    const QString wert = text.trimmed();
    if (!kMuster.match(wert).hasMatch() || wert.toInt() > 250)
        return false;
    adresse = wert.toInt();
    return true;
}

bool ParameterSchreiben::BaudGueltig(const QString& text, int& baud)
{
    bool ok = false;
    const int wert = text.trimmed().toInt(&ok);
    if (!ok)
        return false;
    for (const int rate : {300, 600, 1200, 2400, 4800, 9600})
        if (wert == rate) {
            baud = wert;
            return true;
        }
    return false;
}

QString ParameterSchreiben::ErsteBaud(const QString& liste)
{
    return liste.section(QLatin1Char(';'), 0, 0).trimmed();
}

bool ParameterSchreiben::IstZahl(const QString& text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

void ParameterSchreiben::AutoPrimaer(FlexGrid& grid)
{
    for (int zeile = 1; zeile < grid.Rows(); ++zeile)
        grid.setTextMatrix(zeile, kSpalteNeueAdresse, QString::number(zeile));
}

int ParameterSchreiben::JetzigeAdresse(const FlexGrid& grid, int zeile)
{
    if (grid.TextMatrix(zeile, kSpalteId).trimmed().isEmpty())
        return -1;
    int adresse = -1;
    const QString neu = grid.TextMatrix(zeile, kSpalteNeueAdresse);
    if (neu.endsWith(kOk) && AdresseGueltig(neu.chopped(kOk.size()), adresse))
        return adresse;
    return AdresseGueltig(grid.TextMatrix(zeile, kSpalteAdresse), adresse) ? adresse : -1;
}

void ParameterSchreiben::FreiePrimAdrInCombo(QComboBox& adressen, const QString& aktuell,
                                             const FlexGrid& grid, QComboBox& baud,
                                             const QString& baudListe)
{
    adressen.clear();
    for (int adresse = 0; adresse <= 250; ++adresse)
        adressen.addItem(QString::number(adresse));
    adressen.setEditText(aktuell);
    const auto entfernen = [&adressen, &aktuell](const QString& text) {
        if (text == aktuell.trimmed())
            return;
        const int index = adressen.findText(text, Qt::MatchExactly);
        if (index >= 0)
            adressen.removeItem(index);
    };
    for (int zeile = 0; zeile < grid.Rows(); ++zeile) {
        const QString geplant = grid.TextMatrix(zeile, kSpalteNeueAdresse).trimmed();
        if (IstZahl(geplant))
            entfernen(geplant);
        // Two meters at one address answer together: nobody can be read there.
        if (zeile > 0 && JetzigeAdresse(grid, zeile) >= 0)
            entfernen(QString::number(JetzigeAdresse(grid, zeile)));
    }
    adressen.setEditText(aktuell);
    baud.setEditText(ErsteBaud(baudListe));
}

QString ParameterSchreiben::AdresseBelegt(const FlexGrid& grid, int zeile, const QString& adresse)
{
    int gewuenscht = 0;
    int eigene = 0;
    if (zeile < 1 || zeile >= grid.Rows() || !AdresseGueltig(adresse, gewuenscht) ||
        (AdresseGueltig(grid.TextMatrix(zeile, kSpalteAdresse), eigene) && eigene == gewuenscht))
        return QString();
    const auto zaehler = [&grid](int andere) {
        return QStringLiteral("Zähler ") + grid.TextMatrix(andere, kSpalteId).trimmed() +
               QStringLiteral(" (Zeile ") + QString::number(andere) + u')';
    };
    const QString ende = QStringLiteral(". Bitte eine freie Adresse wählen.");
    for (int andere = 1; andere < grid.Rows(); ++andere) {
        if (andere == zeile || JetzigeAdresse(grid, andere) != gewuenscht)
            continue;
        return QStringLiteral("Die Adresse ") + QString::number(gewuenscht) +
               QStringLiteral(" hat schon der ") + zaehler(andere) + ende;
    }
    for (int andere = 1; andere < grid.Rows(); ++andere) {
        int geplant = 0;
        const QString text = grid.TextMatrix(andere, kSpalteNeueAdresse);
        if (andere == zeile || grid.TextMatrix(andere, kSpalteId).trimmed().isEmpty() ||
            !AdresseGueltig(text, geplant) || geplant != gewuenscht ||
            text.trimmed() == grid.TextMatrix(andere, kSpalteAdresse).trimmed())
            continue;
        return QStringLiteral("Die Adresse ") + QString::number(gewuenscht) +
               QStringLiteral(" ist schon für den ") + zaehler(andere) +
               QStringLiteral(" vorgesehen") + ende;
    }
    return QString();
}

void ParameterSchreiben::Eintragen(FlexGrid& grid, int zeile, const QString& adresse,
                                   const QString& baud)
{
    if (zeile < 1 || zeile >= grid.Rows())
        return;
    grid.setTextMatrix(zeile, kSpalteNeueAdresse,
                       adresse != grid.TextMatrix(zeile, kSpalteAdresse) ? adresse : QString());
    grid.setTextMatrix(zeile, kSpalteNeueBaud,
                       baud != ErsteBaud(grid.TextMatrix(zeile, kSpalteBaud)) ? baud : QString());
}

int ParameterSchreiben::Senden(MBusRacX4& treiber, const MBusRahmen& rahmen)
{
    if (!rahmen.gueltig)
        return kAbgewiesen;
    treiber.APPSendHex(QString(rahmen.text).remove(QLatin1Char(' ')));
    // 255 only when the program is ending.
    if (treiber.EmpfangAbwarten() == mbus::kEmpfangLaeuft)
        return kAbgewiesen;
    return treiber.APPReceiveError();
}

int ParameterSchreiben::MitRueckfall(MBusRacX4& treiber, const QString& id,
                                     const MBusRahmen& aenderung, const MBusRahmen& rueckfall)
{
    if (!IdGueltig(id) || !aenderung.gueltig || !rueckfall.gueltig)
        return kAbgewiesen;
    int ergebnis = Senden(treiber, MB_TelSelectSekAdr(id.trimmed(), kHex));
    if (ergebnis != 0)
        return ergebnis;
    ergebnis = Senden(treiber, aenderung);
    if (ergebnis == 1)
        ergebnis = Senden(treiber, rueckfall);
    return ergebnis;
}

bool ParameterSchreiben::PortOeffnen(MBusRacX4& treiber, int port, const QString& baud)
{
    treiber.APPInitCom(port, baud);
    return treiber.APPIsComOpen() == 0;
}

int ParameterSchreiben::Einzeln(MBusRacX4& treiber, int port, int baud, const QString& id,
                                const QString& adresse)
{
    int neu = 0;
    if (!AdresseGueltig(adresse, neu) || !IdGueltig(id))
        return kAbgewiesen;
    int ergebnis = kAbgewiesen;
    if (PortOeffnen(treiber, port, QString::number(baud))) {
        const QString nummer = id.trimmed();
        ergebnis = MitRueckfall(treiber, nummer, MB_TelSetPrimAdr(neu, kHex),
                                MB_TelSetPrimAdrSekAdr(nummer, neu, kHex));
    }
    treiber.APPCloseCom();
    return ergebnis;
}

ParameterSchreiben::ParameterSchreiben(FlexGrid& grid, std::function<bool()> stop)
    : m_grid(grid), m_stop(std::move(stop))
{
}

bool ParameterSchreiben::gestoppt() const
{
    return ProgrammEndet() || (m_stop && m_stop());
}

void ParameterSchreiben::anhaengen(int zeile, int spalte, int ergebnis)
{
    m_grid.setTextMatrix(zeile, spalte, m_grid.TextMatrix(zeile, spalte) + Ergebnistext(ergebnis));
}

void ParameterSchreiben::Liste(MBusRacX4& treiber, int port)
{
    for (int zeile = 1; zeile < m_grid.Rows(); ++zeile) {
        const QString id = m_grid.TextMatrix(zeile, kSpalteId).trimmed();
        const QString ersteBaud = ErsteBaud(m_grid.TextMatrix(zeile, kSpalteBaud));

        const QString adressText = m_grid.TextMatrix(zeile, kSpalteNeueAdresse);
        if (adressText != m_grid.TextMatrix(zeile, kSpalteAdresse) && IstZahl(adressText)) {
            int adresse = 0;
            int ergebnis = kAbgewiesen;
            if (AdresseGueltig(adressText, adresse) && IdGueltig(id) &&
                PortOeffnen(treiber, port, ersteBaud))
                ergebnis = MitRueckfall(treiber, id, MB_TelSetPrimAdr(adresse, kHex),
                                        MB_TelSetPrimAdrSekAdr(id, adresse, kHex));
            anhaengen(zeile, kSpalteNeueAdresse, ergebnis);
        }
        if (gestoppt())
            break;

        const QString baudText = m_grid.TextMatrix(zeile, kSpalteNeueBaud);
        if (baudText.trimmed() != ersteBaud && IstZahl(baudText)) {
            int baud = 0;
            int ergebnis = kAbgewiesen;
            if (BaudGueltig(baudText, baud) && IdGueltig(id) &&
                PortOeffnen(treiber, port, ersteBaud))
                ergebnis = MitRueckfall(treiber, id, MB_TelSetBaudrate(baud, kHex),
                                        MB_TelSetBaudrateSekAdr(id, baud, kHex));
            anhaengen(zeile, kSpalteNeueBaud, ergebnis);
        }
        if (gestoppt())
            break;
    }
    treiber.APPCloseCom();
}

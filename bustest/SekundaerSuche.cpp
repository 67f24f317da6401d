#include "SekundaerSuche.h"

#include "driver/engine/Ereignis.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "platform/Warten.h"

#include <cmath>

namespace {

constexpr int kSpalteId = 1;
constexpr int kSpalteBaud = 6;
constexpr int kSelektiert = 253;

} // namespace

SekundaerSuche::SekundaerSuche(FlexGrid& liste, Anzeige anzeige, int bisherGefunden)
    : m_liste(liste), m_anzeige(std::move(anzeige)), m_gefunden(bisherGefunden)
{
}

QString SekundaerSuche::StartMaske(int listenPosition)
{
    const int nullen = qBound(0, listenPosition, kStellen - 1);
    return (QString(nullen, QLatin1Char('0')) + kAlleMaske).left(kStellen);
}

int SekundaerSuche::Ebene(int listenPosition)
{
    return qBound(1, kStellen - listenPosition, kStellen);
}

bool SekundaerSuche::MaskeGueltig(const QString& maske)
{
    if (maske.size() != kStellen)
        return false;
    for (const QChar zeichen : maske)
        if (!(zeichen >= QLatin1Char('0') && zeichen <= QLatin1Char('9')) &&
            zeichen != QLatin1Char('f'))
            return false;
    return true;
}

void SekundaerSuche::Suchstring(QString& maske, int ebene, int ziffer)
{
    const int stelle = kStellen + 1 - ebene; // counted from 1 at the left
    if (stelle < 1 || stelle > maske.size())
        return;
    maske.replace(stelle - 1, 1, QString::number(ziffer));
}

QString SekundaerSuche::SchlussZeile(const QString& text, double sekunden)
{
    const QString anfang = text.isEmpty() ? QStringLiteral("0 Zähler gefunden ") : text;
    return anfang + QStringLiteral(" in ") +
           QString::number(static_cast<qint64>(std::floor(sekunden))) + QStringLiteral(" Sekunden");
}

bool SekundaerSuche::gestoppt() const
{
    return m_programmEndet || ProgrammEndet() || (m_anzeige.stop && m_anzeige.stop());
}

bool SekundaerSuche::abwarten(MBusRacX4& treiber, bool wiederholen)
{
    if (treiber.EmpfangAbwarten(wiederholen) == mbus::kEmpfangLaeuft) {
        m_programmEndet = true;
        return false;
    }
    return true;
}

SekundaerSuche::Probe SekundaerSuche::probe(MBusRacX4& treiber, const QString& maske)
{
    ++m_proben;
    treiber.APPSelect(0, maske, QString(), QString(), QString());
    if (!abwarten(treiber, false))
        return kNiemand;
    const int fehler = treiber.APPReceiveError();
    if (fehler == mbus::kFehlerZeitueberschreitung || fehler == 2)
        return kNiemand;
    if (fehler != 0) {
        ++m_kollisionen;
        return kKollision;
    }
    treiber.APPREQUD2(kSelektiert);
    if (!abwarten(treiber, true))
        return kNiemand;
    const int antwort = treiber.APPReceiveTest();
    if (antwort < 4) {
        treiber.APPRetrieveRawDataHex();
        return kGefunden;
    }
    // Acknowledgements that overlapped exactly passed as one; the data answers of the selected
    // meters then garble each other. Telegrams of one length garble into a frame that only
    // fails its checksum, so every invalid answer (after the driver's one repetition) counts
    // as a collision, not only one the driver marks as such.
    if (antwort == mbus::kEmpfangUngueltig) {
        ++m_kollisionen;
        return kKollision;
    }
    return kDatenFehlen;
}

bool SekundaerSuche::sucheAlle(MBusRacX4& treiber, const QString& maske, int ebene, int baud)
{
    QString kopie = maske;
    for (int ziffer = 9; ziffer >= 0; --ziffer) {
        Suchstring(kopie, ebene, ziffer);
        if (m_anzeige.maske)
            m_anzeige.maske(kopie);
        const Probe ergebnis = probe(treiber, kopie);
        if (ergebnis == kKollision && ebene > 1) {
            if (!sucheAlle(treiber, kopie, ebene - 1, baud))
                return false;
        } else if (ergebnis == kGefunden) {
            if (!eintragen(treiber, baud))
                return false;
        }
        if (gestoppt())
            break;
    }
    return true;
}

bool SekundaerSuche::eintragen(MBusRacX4& treiber, int baud)
{
    const QString id = treiber.APPDeviceIDDec();
    for (int zeile = 1; zeile < m_liste.Rows(); ++zeile) {
        if (m_liste.TextMatrix(zeile, kSpalteId) != id)
            continue;
        const QString raten =
            m_liste.TextMatrix(zeile, kSpalteBaud) + QLatin1Char(';') + QString::number(baud);
        if (m_liste.setTextMatrix(zeile, kSpalteBaud, raten)) {
            FlexGridSpaltenbreiten(m_liste);
            return true;
        }
        m_fehler = m_liste.letzterFehler();
        return false;
    }
    const QString tab(QLatin1Char('\t'));
    const QString zeile =
        QString::number(treiber.APPAField()) + tab + id + tab + treiber.APPManufacturerIDAsc() +
        tab + QString::number(treiber.APPGenerationNo()) + tab + treiber.APPMediumAsc() + tab +
        QString::number(treiber.APPDataRecordNumber()) + tab + QString::number(baud) + tab;
    if (!m_liste.AddItem(zeile)) {
        m_fehler = m_liste.letzterFehler();
        return false;
    }
    // The list shows every meter whole while the search goes on, not only at its end.
    FlexGridSpaltenbreiten(m_liste);
    ++m_gefunden;
    if (m_anzeige.anzahl)
        m_anzeige.anzahl(QString::number(m_gefunden) + QStringLiteral(" Zähler gefunden"));
    return true;
}

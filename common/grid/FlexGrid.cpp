#include "FlexGrid.h"

#include <QStringList>

#include <algorithm>

namespace {

const QString kZeileUngueltig = QStringLiteral("Ungültiger Zeilenwert");
const QString kSpalteUngueltig = QStringLiteral("Ungültiger Spaltenwert");
const QString kWertUngueltig = QStringLiteral("Unzulässiger Eigenschaftswert");
const QString kZuGross = QStringLiteral("Nicht genügend Speicher");
const QString kFesteZeile = QStringLiteral("Eine fixierte Zeile kann nicht entfernt werden");
const QString kLetzteZeile =
    QStringLiteral("Die letzte nicht fixierte Zeile kann nicht entfernt werden");

// Widest width accepted (100000 pixels).
constexpr int kMaxBreiteTwips = 100'000 * FlexGrid::kTwipsJePixel;

int Begrenzt(int wert, int anzahl)
{
    return std::clamp(wert, 0, std::max(anzahl - 1, 0));
}

} // namespace

int FlexGrid::Rows() const
{
    return zeilenAnzahl();
}

bool FlexGrid::setRows(int anzahl)
{
    if (anzahl < 0)
        return ablehnen(kZeileUngueltig);
    if (!groesseErlaubt(anzahl, Cols()))
        return false;
    if (anzahl < festeZeilen())
        festeZeilenAendern(anzahl);
    zeilenAnzahlAendern(anzahl);
    auswahlBegrenzen();
    return true;
}

int FlexGrid::Cols() const
{
    return spaltenAnzahl();
}

bool FlexGrid::setCols(int anzahl)
{
    if (anzahl < 0)
        return ablehnen(kSpalteUngueltig);
    if (!groesseErlaubt(Rows(), anzahl))
        return false;
    if (anzahl < festeSpalten())
        festeSpaltenAendern(anzahl);
    spaltenAnzahlAendern(anzahl);
    auswahlBegrenzen();
    return true;
}

int FlexGrid::FixedRows() const
{
    return festeZeilen();
}

bool FlexGrid::setFixedRows(int anzahl)
{
    if (anzahl < 0 || anzahl > Rows())
        return ablehnen(kWertUngueltig);
    festeZeilenAendern(anzahl);
    auswahlAnzeigen();
    return true;
}

int FlexGrid::FixedCols() const
{
    return festeSpalten();
}

bool FlexGrid::setFixedCols(int anzahl)
{
    if (anzahl < 0 || anzahl > Cols())
        return ablehnen(kWertUngueltig);
    festeSpaltenAendern(anzahl);
    auswahlAnzeigen();
    return true;
}

QString FlexGrid::TextMatrix(int zeile, int spalte) const
{
    if (!zeileGueltig(zeile) || !spalteGueltig(spalte))
        return {};
    return zelle(zeile, spalte);
}

bool FlexGrid::setTextMatrix(int zeile, int spalte, const QString& text)
{
    if (!zeileGueltig(zeile))
        return ablehnen(kZeileUngueltig);
    if (!spalteGueltig(spalte))
        return ablehnen(kSpalteUngueltig);
    zelleAendern(zeile, spalte, text);
    return true;
}

bool FlexGrid::setRow(int zeile)
{
    if (!zeileGueltig(zeile))
        return ablehnen(kZeileUngueltig);
    auswahlSetzen(zeile, m_spalte, zeile, m_spalte);
    return true;
}

bool FlexGrid::setCol(int spalte)
{
    if (!spalteGueltig(spalte))
        return ablehnen(kSpalteUngueltig);
    auswahlSetzen(m_zeile, spalte, m_zeile, spalte);
    return true;
}

bool FlexGrid::setRowSel(int zeile)
{
    if (!zeileGueltig(zeile))
        return ablehnen(kZeileUngueltig);
    auswahlSetzen(m_zeile, m_spalte, zeile, m_spalteBis);
    return true;
}

bool FlexGrid::setColSel(int spalte)
{
    if (!spalteGueltig(spalte))
        return ablehnen(kSpalteUngueltig);
    auswahlSetzen(m_zeile, m_spalte, m_zeileBis, spalte);
    return true;
}

QString FlexGrid::Text() const
{
    return TextMatrix(m_zeile, m_spalte);
}

bool FlexGrid::setText(const QString& text)
{
    return setTextMatrix(m_zeile, m_spalte, text);
}

QString FlexGrid::Clip() const
{
    if (Rows() == 0 || Cols() == 0)
        return {};
    const int oben = std::min(m_zeile, m_zeileBis);
    const int unten = std::max(m_zeile, m_zeileBis);
    const int links = std::min(m_spalte, m_spalteBis);
    const int rechts = std::max(m_spalte, m_spalteBis);
    QStringList zeilen;
    for (int z = oben; z <= unten; ++z) {
        QStringList zellen;
        for (int s = links; s <= rechts; ++s)
            zellen << zelle(z, s);
        zeilen << zellen.join(u'\t');
    }
    return zeilen.join(u'\r');
}

int FlexGrid::ColWidth(int spalte) const
{
    return spalteGueltig(spalte) ? spaltenBreite(spalte) : 0;
}

bool FlexGrid::setColWidth(int spalte, int twips)
{
    if (!spalteGueltig(spalte))
        return ablehnen(kSpalteUngueltig);
    if (twips < kStandardBreite || twips > kMaxBreiteTwips)
        return ablehnen(kWertUngueltig);
    spaltenBreiteAendern(spalte, twips);
    return true;
}

bool FlexGrid::AddItem(const QString& zeilenText, int zeile)
{
    if (zeile == -1)
        zeile = Rows();
    if (zeile < 0 || zeile > Rows())
        return ablehnen(kZeileUngueltig);
    if (!groesseErlaubt(qint64(Rows()) + 1, Cols()))
        return false;
    zeileEinfuegen(zeile);
    const QStringList teile = zeilenText.split(u'\t');
    const int anzahl = static_cast<int>(std::min<qsizetype>(teile.size(), Cols()));
    for (int s = 0; s < anzahl; ++s)
        if (!teile[s].isEmpty())
            zelleAendern(zeile, s, teile[s]);
    auswahlBegrenzen();
    return true;
}

bool FlexGrid::RemoveItem(int zeile)
{
    if (!zeileGueltig(zeile))
        return ablehnen(kZeileUngueltig);
    if (zeile < FixedRows())
        return ablehnen(kFesteZeile);
    if (Rows() - FixedRows() <= 1)
        return ablehnen(kLetzteZeile);
    zeileEntfernen(zeile);
    auswahlBegrenzen();
    return true;
}

void FlexGrid::Clear()
{
    zellenLeeren();
}

void FlexGrid::auswahlUebernehmen(int zeile, int spalte, int zeileBis, int spalteBis)
{
    zeile = Begrenzt(zeile, Rows());
    spalte = Begrenzt(spalte, Cols());
    const bool gewechselt = zeile != m_zeile || spalte != m_spalte;
    m_zeile = zeile;
    m_spalte = spalte;
    m_zeileBis = Begrenzt(zeileBis, Rows());
    m_spalteBis = Begrenzt(spalteBis, Cols());
    if (gewechselt)
        aktuelleZelleGewechselt();
}

bool FlexGrid::ablehnen(const QString& grund)
{
    m_fehler = grund;
    return false;
}

bool FlexGrid::groesseErlaubt(qint64 zeilen, qint64 spalten)
{
    if (zeilen > kMaxZeilen || spalten > kMaxSpalten || zeilen * spalten > kMaxZellen)
        return ablehnen(kZuGross);
    return true;
}

bool FlexGrid::zeileGueltig(int zeile) const
{
    return zeile >= 0 && zeile < Rows();
}

bool FlexGrid::spalteGueltig(int spalte) const
{
    return spalte >= 0 && spalte < Cols();
}

void FlexGrid::auswahlBegrenzen()
{
    auswahlSetzen(Begrenzt(m_zeile, Rows()), Begrenzt(m_spalte, Cols()),
                  Begrenzt(m_zeileBis, Rows()), Begrenzt(m_spalteBis, Cols()));
}

void FlexGrid::auswahlSetzen(int zeile, int spalte, int zeileBis, int spalteBis)
{
    const bool gewechselt = zeile != m_zeile || spalte != m_spalte;
    m_zeile = zeile;
    m_spalte = spalte;
    m_zeileBis = zeileBis;
    m_spalteBis = spalteBis;
    auswahlAnzeigen();
    if (gewechselt)
        aktuelleZelleGewechselt();
}

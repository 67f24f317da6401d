#pragma once
// A grid held in memory only: the grid of services that fill a list without a window, and of
// tests. Text widths are estimated at 7 pixels a character.

#include "FlexGrid.h"

#include <QList>
#include <QStringList>

class GridModell final : public FlexGrid
{
public:
    GridModell();

    int TextBreiteTwips(const QString& text) const override;

protected:
    int zeilenAnzahl() const override;
    int spaltenAnzahl() const override;
    void zeilenAnzahlAendern(int anzahl) override;
    void spaltenAnzahlAendern(int anzahl) override;
    int festeZeilen() const override { return m_festeZeilen; }
    int festeSpalten() const override { return m_festeSpalten; }
    void festeZeilenAendern(int anzahl) override { m_festeZeilen = anzahl; }
    void festeSpaltenAendern(int anzahl) override { m_festeSpalten = anzahl; }
    QString zelle(int zeile, int spalte) const override;
    void zelleAendern(int zeile, int spalte, const QString& text) override;
    void zeileEinfuegen(int zeile) override;
    void zeileEntfernen(int zeile) override;
    void zellenLeeren() override;
    int spaltenBreite(int spalte) const override;
    void spaltenBreiteAendern(int spalte, int twips) override;

private:
    static constexpr int kPixelJeZeichen = 7;

    QList<QStringList> m_zellen;
    int m_spalten = 0;
    int m_festeZeilen = 1;
    int m_festeSpalten = 1;
    // Twips in whole pixels, or kStandardBreite.
    QList<int> m_breiten;
};

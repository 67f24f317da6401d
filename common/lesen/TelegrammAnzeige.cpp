// TelegrammInGrid: the answer the driver decoded last as grid rows and as a hex and decimal dump.

#include "lesen/Zaehlerlesen.h"

#include "driver/faces/MBusRacX4.h"
#include "grid/FlexGrid.h"
#include "platform/Global.h"
#include "platform/Warten.h"
#include "text/Texte.h"

#include <QStringList>

namespace {

const QString kZeilenende = QStringLiteral("\r\n");
constexpr int kBytesJeZeile = 16;

// Each group of breite characters followed by a blank; with jeZeile > 0 a line break after
// every jeZeile groups.
QString Gruppiert(const QString& text, int breite, int jeZeile)
{
    QString ergebnis;
    int gruppen = 0;
    for (int i = 0; i < text.size(); i += breite) {
        ergebnis += text.mid(i, breite) + QLatin1Char(' ');
        ++gruppen;
        if (jeZeile > 0 && gruppen % jeZeile == 0)
            ergebnis += kZeilenende;
    }
    return ergebnis;
}

} // namespace

QString TelegrammDump(const QString& hex, const QString& dezimal)
{
    const int bytes = static_cast<int>(hex.size() / 2);
    return QString::number(bytes) + QStringLiteral(" HEX Zeichen") + kZeilenende +
           Gruppiert(hex, 2, kBytesJeZeile) + kZeilenende + QString::number(bytes) +
           QStringLiteral(" Dezimal") + kZeilenende + Gruppiert(dezimal, 3, 0);
}

void SatzGridVorbereiten(FlexGrid& grid)
{
    grid.Clear();
    grid.setCols(5);
    grid.setRows(2);
    const QStringList kopf = {QStringLiteral("Index"), QStringLiteral("Medium"),
                              QStringLiteral("Meßart"), QStringLiteral("Wert"),
                              QStringLiteral("Einh.")};
    for (int spalte = 0; spalte < kopf.size(); ++spalte)
        grid.setTextMatrix(0, spalte, kopf[spalte]);
}

void TelegrammInGrid(FlexGrid& grid, MBusRacX4& treiber, QString& textfeld)
{
    SatzGridVorbereiten(grid);
    // RohdatenText keeps the hex form, the one the telegram tools read back; the decimal form
    // only goes into the dump.
    const QString hex = treiber.APPRetrieveRawDataHex();
    RohdatenText = hex;
    textfeld = TelegrammDump(hex, treiber.APPRetrieveRawDataDec());

    const int anzahl = treiber.APPDataRecordNumber();
    for (int i = 1; i <= anzahl; ++i) {
        DoEvents();
        const QStringList zellen = {
            QStringLiteral("%1 [%2]").arg(treiber.APPAField()).arg(i), treiber.APPMediumAsc(),
            treiber.APPVIBAsc(i), ZahlAlsText(MB_TextZuDouble(treiber.APPValueDec(i))),
            treiber.APPVIBUnitAsc(i)};
        grid.AddItem(zellen.join(QLatin1Char('\t')));
    }
}

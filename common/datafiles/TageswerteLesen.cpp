// The day table of a meter value.

#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Tageswerte.h"
#include "datafiles/Zaehlerstamm.h"
#include "platform/Global.h"
#include "platform/Uhr.h"

#include <limits>

namespace {

constexpr qint64 kSekundenTag = 86400;

// Midnight of a day text as UnixZeit; false for a text that is no date of the 32-bit range.
bool TagesAnfang(const QString& tag, qint64& anfang)
{
    const QDate datum = QDate::fromString(tag.trimmed(), QStringLiteral("d.M.yyyy"));
    anfang = DatumInUnixZeit(Wandzeit(datum, QTime(0, 0)));
    if (!datum.isValid() || (anfang == 0 && datum != QDate(1970, 1, 1))) {
        FehlerText = QStringLiteral("Kein gültiger Tag: ") + tag;
        return false;
    }
    return true;
}

bool ImZeitbereich(qint64 zeit)
{
    return zeit >= 0 && zeit <= std::numeric_limits<UnixZeit>::max();
}

} // namespace

int RB6_ReadPeakDatenTG(qint32 lznr, const QString& tag, RB6_Tabelle& tabelle, qint32 intervall,
                        qint32 index, qint32 offset)
{
    FehlerText.clear();
    qint64 tagesAnfang = 0;
    if (!TagesAnfang(tag, tagesAnfang))
        return -1;
    const qint64 anfang = tagesAnfang + offset;
    const qint64 leseEnde = anfang + kSekundenTag + intervall;
    if (!ImZeitbereich(anfang) || !ImZeitbereich(leseEnde) ||
        !ImZeitbereich(anfang + kSekundenTag)) {
        FehlerText = QStringLiteral("Zeitraum außerhalb des Zeitbereichs: ") + tag;
        return -1;
    }

    // Without its master record (no database) a value is taken as a counter without digits.
    ZaehlerStammdaten stamm;
    if (MB_ZaehlerLaden(lznr, stamm) == kZaehlerGefunden)
        stamm.Einheit = MB_GetEinheit(lznr, index);

    UnixZeit von = UnixZeit(anfang);
    UnixZeit bis = UnixZeit(leseEnde);
    RB6_Tabelle zeilen;
    const int gelesen = RB6_WerteLesen(lznr, von, bis, zeilen, intervall, index);
    if (gelesen != 0)
        return 100 * gelesen;
    if (intervall == 0) {
        tabelle = std::move(zeilen);
        return -2;
    }

    RB_RohDatenAuffuellenMitRecordset(zeilen, intervall);
    RB6_Tabelle raster;
    RB6_RohDatenRastern(zeilen, raster, anfang, anfang + kSekundenTag, intervall);
    if (tabelle.size() < raster.size())
        tabelle.resize(raster.size(), RB6_Zeile{});

    const bool temperatur = stamm.Einheit.contains(QStringLiteral("°C"));
    for (qsizetype r = 1; r < raster.size(); ++r) {
        const RB6_Zeile& jetzt = raster[r];
        const RB6_Zeile& vorher = raster[r - 1];
        RB6_Zeile& ziel = tabelle[r];
        if (temperatur) {
            ziel[0] = jetzt[0];
            ziel[1] = jetzt[0] - vorher[0];
            ziel[2] = jetzt[1];
            continue;
        }
        if (jetzt[0] <= 0)
            continue;
        ziel[0] = jetzt[0];
        ziel[1] = jetzt[0] - vorher[0];
        ziel[2] = jetzt[1] - vorher[1];
        if (ziel[2] < 0) {
            double differenz = 0;
            bool ueberlauf = false;
            ziel[2] = RB6_DiffMitUeberlauf(stamm.ZStellen, vorher[1], jetzt[1], 1.0, differenz,
                                           ueberlauf);
        }
        ziel[3] = jetzt[1];
    }
    return 0;
}

#pragma once
// The bus file: a small line-based text that describes a simulated bus (see README.md).

#include "SimBus.h"

#include <QString>

class SimBusDatei
{
public:
    // Reads a bus file's text into bus. Relative paths in it ("rohdatei") are taken from ordner
    // (the current directory when empty). On an error returns false and sets *fehler to
    // "Zeile <n>: <what is wrong>"; bus is then left as it was.
    static bool lesen(const QString& text, SimBus& bus, QString* fehler,
                      const QString& ordner = QString());
    static bool dateiLesen(const QString& pfad, SimBus& bus, QString* fehler);

    // The bus file's text with each meter's current primary address and baud rate written into
    // its "zaehler" line (adresse=, baud=; added when the line lacks them). zaehler: the meters
    // as read from that text (their line numbers), stand: where each one lives now, same order.
    // Comments and every other line stay as they are.
    static QString standEintragen(const QString& text, const QList<SimZaehler>& zaehler,
                                  const QList<QPair<int, int>>& adresseUndBaud);
};

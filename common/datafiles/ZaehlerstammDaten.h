#pragma once
// The master record of one meter, loaded from table zaehler of basis.mdb: its scaling, counter
// digits, tariff data, where its data lies and the time range its data file covers.

#include <QString>

struct ZaehlerStammdaten
{
    qint32 lznr = 0;
    QString ZNr;
    QString zaehlerplatz;
    QString ZName;
    double Impulse = 0.0;
    double faktor = 0.0;
    double Offset = 0.0;
    // The meter's data source ("M-Bus", "S0003", "virtuell", ...).
    QString ZQuelle;
    // Kind of the source: a station number, -1 (15-minute file) or -2 (value file).
    qint32 QuellArt = 0;
    // Number within the source: the meter number or the station input.
    qint32 QuellNr = 0;
    qint32 Tarifgrp = 0;
    qint16 stufe = 0;
    double lfdnr = 0.0;
    QString ztyp;
    qint16 EingNr = 0;
    QString txtBemerkung;
    QString ZOrt;
    // Path of the meter's data file (MB_GetDatenPfad) and of its own database.
    QString DatenDatei;
    QString MdbDatei;
    QString tarifgruppe;
    // Unit text of the value (filled by the day values from the index list, not by the loader).
    QString Einheit;
    quint8 MBZStand = 0;
    quint8 MBIndex = 0;
    // Oldest and newest time in the data file.
    qint32 TmErster = 0;
    qint32 TmLetzter = 0;
    // Number of counter digits (the counter rolls over at 10 to this power).
    quint8 ZStellen = 0;
    qint32 BulaNr = 0;
    qint32 ZeitenNr = 0;
    double fmax = 0.0;
    double fmin = 0.0;
    double MBMin = 0.0;
    double MBMax = 0.0;
    quint8 anl = 0;
    qint32 TaGemessen = 0;
    qint32 TgAnfang = 0;

    bool operator==(const ZaehlerStammdaten&) const = default;
};

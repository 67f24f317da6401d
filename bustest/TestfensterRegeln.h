#pragma once
// Small rules of the test window that do not need a widget.

#include <QString>
#include <QVariant>

// Caption of the view menu while the bus view shows, and while the meter view shows.
inline const QString kAnsichtBus = QStringLiteral("Zähler &Scan");
inline const QString kAnsichtZaehler = QStringLiteral("Bus &Scan");

// The status line while a bus operation was turned away because another one still runs.
inline const QString kNichtGestartet =
    QStringLiteral("Nicht gestartet: Suche oder Lesen läuft noch.");

// The command-line word that shows the service controls (letter case counts, anywhere).
inline const QString kDienstschalter = QStringLiteral("vomak");

// The sample telegram the raw-telegram text holds after the window has loaded.
inline const QString kBeispielTelegramm = QStringLiteral(
    "68;38;38;68;8;0;72;11;97;6;4;B4;5;80;4;E3;0;FF;FF;3;22;B4;35;1;5;2E;11;4C;92;44;5;3E;62;4;CF;"
    "42;5;5B;D7;88;14;43;5;5F;B0;52;A;43;5;63;70;62;23;41;4;6D;F;D;4A;13;CA;16;");

// True when the bus view is to show after a view switch from the caption given.
bool BusAnsichtNachWechsel(const QString& menueCaption);

// True when the command line holds the service switch.
bool DienstschalterGesetzt(const QString& kommandozeile);

// New text of a highest-address box on a double-click: "10" when its value is 255, else "255".
QString HoechsteAdresseUmschalten(const QString& text);

// Shown instead of reading when a single-meter box holds no port or no baud rate.
inline const QString kComPortUngueltig =
    QStringLiteral("Ungültiger Com-Port: erlaubt sind 1 bis 255.");
inline const QString kBaudUngueltig = QStringLiteral(
    "Ungültige Baudrate: erlaubt sind 300, 600, 1200, 2400, 4800, 9600, 19200 und 38400.");

// Port and baud of the single-meter boxes: port := "Com " & n, baud := the rate; an empty box
// leaves its argument as it is. A box that holds anything else than a port 1 to 255 or an M-Bus
// baud rate ("24x0", "x", "1.5") gives false, its message in fehler, and changes neither
// argument, so that nothing is read on the port or rate of an earlier read.
bool PortParameterLesen(const QString& portText, const QString& baudText, QVariant& port,
                        QVariant& baud, QString* fehler = nullptr);

#pragma once
// A run-time error of a file service and the critical box that reports it.

#include <QString>

struct Laufzeitfehler
{
    int nummer = 0;
    QString beschreibung;
    QString quelle;
    QString hilfe;
};

// Shows a critical message box with four lines ("Fehler Nummer: ", "Fehlerbeschreibung: ",
// "Fehlerquelle: ", "Hilfe: ") and writes the description to the program log. The texts of the
// error are shown as given: they must never hold a password or other content of the files.
void ShowErrorMessage(const Laufzeitfehler& fehler);

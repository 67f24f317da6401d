#pragma once
// The value of one field of the current row, read the way the program's tables are read:
// an empty field (NULL) is "" as text and 0 as a number, and a yes/no field is true for any
// value other than 0 (True was stored as -1 by older programs and as 1 by this one).

#include <QDateTime>
#include <QString>
#include <QVariant>

class Feldwert
{
public:
    Feldwert() = default;
    explicit Feldwert(QVariant wert, bool vorhanden = true);

    // False when the row has no field of the name asked for.
    bool vorhanden() const { return m_vorhanden; }
    // True for an empty field (and for a field that is not there).
    bool istNull() const;

    // Text: "" when empty; a number with decimal places in the stored files' convention
    // ("1,5"); whole numbers without decimal places.
    QString text() const;
    // Number: 0 when empty; a text is read with "," or "." as the decimal sign (a text that is
    // no number gives 0 and leaves the reason in FehlerText).
    double zahl() const;
    // Whole number: the number rounded to the nearest, halves to even; 0 when empty.
    qint64 ganz() const;
    // Yes/no: false when empty or 0; "True"/"Wahr" and "False"/"Falsch" texts are read too.
    bool jaNein() const;
    // Date and time as the wall clock shows it (Wandzeit, platform/Uhr.h), whatever time zone
    // the database driver attached: from a date-time, a date, or a text "yyyy-MM-dd hh:mm:ss"
    // ("T" between date and time, and milliseconds, read too). Invalid when empty or no date.
    QDateTime datum() const;

    const QVariant& wert() const { return m_wert; }

private:
    QVariant m_wert;
    bool m_vorhanden = false;
};

#pragma once
// An ODBC connection string: KEY=value entries separated by ";". A value in braces may hold
// ";" and "=" ("}}" stands for one "}" inside the braces). Keys are compared without regard to
// letter case; the order of the entries is kept.

#include <QList>
#include <QString>

class OdbcVerbindungstext
{
public:
    explicit OdbcVerbindungstext(const QString& text = QString());

    // True when the text is a connection string of its own: it starts with "DRIVER=" or
    // "DSN=" (letters in any case, blanks around the key allowed).
    static bool istVerbindungstext(const QString& text);

    bool enthaelt(const QString& schluessel) const;
    // The value without its braces; "" when the key is missing.
    QString wert(const QString& schluessel) const;
    // Replaces the entry of the key (the first entry of that name, written as given now;
    // further ones go) or appends it. A value that holds ";", braces or blanks at its ends is
    // written in braces.
    void setzen(const QString& schluessel, const QString& wert);
    void entfernen(const QString& schluessel);

    QString text() const;
    // The text with every password value replaced by "***", for messages and logs.
    QString textOhnePasswort() const;

private:
    struct Eintrag
    {
        QString schluessel;
        QString wert;
        bool klammern = false;
    };

    qsizetype index(const QString& schluessel) const;
    static QString geschrieben(const Eintrag& eintrag);

    QList<Eintrag> m_eintraege;
};

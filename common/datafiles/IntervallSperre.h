#pragma once
// Creating and writing an interval file yield to the message queue between steps. While one of
// them runs, the file is marked here, so that a second run for the same file started from the
// queue does not write into it, and readers do not take a file half created for a broken one.

#include <QString>

class IntervallSperre
{
public:
    enum class Art { Anlegen, Schreiben };

    // Marks the file (a resolved path) unless another run holds it already.
    IntervallSperre(const QString& pfad, Art art);
    ~IntervallSperre();
    IntervallSperre(const IntervallSperre&) = delete;
    IntervallSperre& operator=(const IntervallSperre&) = delete;

    bool gehalten() const { return m_gehalten; }

    // True while the file is being created.
    static bool wirdAngelegt(const QString& pfad);

private:
    QString m_schluessel;
    bool m_gehalten = false;
};

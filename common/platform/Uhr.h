#pragma once
// The program's one source of "now" for files, log lines and database rows.
//
// Times are local wall-clock times carried in a QDateTime marked as UTC: the fields are
// those the user's clock shows, and arithmetic on them ignores daylight-saving shifts (every
// day has 24 hours, so stored times and intervals line up). Durations are measured with
// QElapsedTimer, never with this clock.

#include <QDateTime>

class Uhr
{
public:
    virtual ~Uhr() = default;
    virtual QDateTime jetzt() const = 0;
};

// Local wall-clock time now (from the clock set with UhrSetzen, else the system clock).
QDateTime Jetzt();

// Replaces the clock (tests); nullptr restores the system clock. The caller keeps ownership.
void UhrSetzen(const Uhr* uhr);

// A wall-clock date and time as this program carries it.
QDateTime Wandzeit(QDate datum, QTime zeit);

// A clock that tests set and advance.
class StellbareUhr : public Uhr
{
public:
    explicit StellbareUhr(QDateTime zeit = Wandzeit(QDate(2026, 12, 5), QTime(12, 0, 0)))
        : m_zeit(zeit) {}
    QDateTime jetzt() const override { return m_zeit; }
    void stellen(const QDateTime& zeit) { m_zeit = zeit; }
    void vorstellen(qint64 sekunden) { m_zeit = m_zeit.addSecs(sekunden); }

private:
    QDateTime m_zeit;
};

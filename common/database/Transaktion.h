#pragma once
// One transaction on a connection: begun when constructed, undone when it ends without
// Commit. A delete followed by inserts runs inside one, so that a failure half-way leaves the
// old rows.
//
//     Transaktion transaktion(verbindung);
//     if (!transaktion.begonnen()) return -1;
//     ... statements ...
//     if (!transaktion.Commit()) return -1;
//
// On SQLite the transaction takes the write lock at its start (waiting for another process's
// write like any statement), so that it cannot fail half-way because another writer came first.

#include <QString>

class Verbindung;

class Transaktion
{
public:
    explicit Transaktion(Verbindung& verbindung);
    ~Transaktion();
    Transaktion(const Transaktion&) = delete;
    Transaktion& operator=(const Transaktion&) = delete;

    // True from a successful start until Commit or Rollback.
    bool begonnen() const { return m_offen; }
    // Makes the changes last; false (and everything undone) when that fails.
    bool Commit();
    void Rollback();

private:
    bool anweisung(const QString& sql);

    QString m_verbindung;
    bool m_sqlite = false;
    bool m_offen = false;
};

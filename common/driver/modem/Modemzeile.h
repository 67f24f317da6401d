#pragma once
// Gathers the characters the modem sends in command mode into lines. A line ends at CR or LF
// (results come framed as CR LF text CR LF, numeric ones end with CR alone); empty lines are
// passed over. A line that never ends keeps only its last characters, so a chattering line
// cannot grow it without bound and a result at its end is still found.

#include <QByteArray>

#include <optional>

namespace mbus {

class Modemzeile
{
public:
    // Takes one character; gives the line it ends, if it ends a line that is not empty.
    std::optional<QByteArray> nimm(char zeichen);
    // Forgets a started line.
    void leeren() { m_zeile.clear(); }

private:
    QByteArray m_zeile;
};

} // namespace mbus

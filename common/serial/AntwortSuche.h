#pragma once
// Finding a complete answer in the bytes received so far.

#include <QByteArray>

#include <optional>

struct GefundeneAntwort
{
    qsizetype anfang = 0;
    qsizetype laenge = 0;
};

// With equal start and end character (the acknowledgement E5): the first such character
// anywhere in the bytes, length 1.
// Otherwise a long frame "start L L start, L bytes, checksum, end" (EN 13757-2): the first
// position where the start character, two equal length bytes and the start character again
// begin a frame whose byte at its own length position (start + L + 5) is the end character and
// whose checksum (sum of the L bytes modulo 256) is right. Bytes before it (an echo of what was
// sent) and behind it (a stray byte) do not matter.
// Nothing when no answer is complete yet.
std::optional<GefundeneAntwort> AntwortSuchen(const QByteArray& bytes, quint8 start, quint8 ende);

// The first long frame as above whose length bytes and end character fit but whose checksum is
// wrong (the answer of a meter garbled on the line). Nothing when there is none.
std::optional<GefundeneAntwort> FalscheSummeSuchen(const QByteArray& bytes, quint8 start,
                                                   quint8 ende);

#pragma once
// Text files shared with the energy-data system: Windows-1252, lines ended by CR LF.
// Reading also takes LF-only lines; nothing here shows a message.

#include <QString>
#include <QStringList>

inline constexpr char kZeilenende[] = "\r\n";

// Splits Windows-1252 bytes into lines (CR LF or LF; a CR LF at the very end ends the last line
// and adds no empty one).
QStringList TextZeilenTrennen(const QByteArray& bytes);

// Reads a whole text file (path already resolved). On failure returns false and leaves the
// reason in fehler. Files larger than maxBytes are refused.
bool TextdateiLesen(const QString& pfad, QStringList& zeilen, QString* fehler = nullptr,
                    qint64 maxBytes = 64ll * 1024 * 1024);

// Appends lines, each followed by CR LF, creating the file when it is missing. One write call,
// so lines of two processes that share a log never interleave inside a line.
bool TextZeilenAnhaengen(const QString& pfad, const QStringList& zeilen, QString* fehler = nullptr);

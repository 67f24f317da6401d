#pragma once
// INI files shared with the energy-data system (ZEP.INI, mb.INI), read and written the way the
// Windows profile functions do it, so that another program may edit the same file.
//
// - The file name is a Windows-style path (".\ZEP.INI"); any letter case of the name on disk is
//   the same file.
// - Sections and keys are found without regard to letter case; the first matching section and
//   in it the first matching key win. Blanks around names and values do not count.
// - Lines whose first non-blank character is ";" are comments. There are no inline comments and
//   no escapes: "\" is an ordinary character (values are Windows paths).
// - One pair of enclosing double or single quotes around a value is removed on reading.
// - Values come back cut to kIniWertLaenge characters.
// - Bytes are Windows-1252; lines may end in CR LF or LF.
// - Writing changes only the one line it concerns (or appends lines ending in CR LF) and keeps
//   every other byte of the file. The new file replaces the old one in one step, so a reader
//   never sees half a file; the file's permissions stay. Writers of this program wait for each
//   other, so no update of another process is lost.
// - A file that cannot be read, holds NUL bytes (no text) or is larger than kIniMaxGroesse reads
//   as missing and is never written. A missing folder is never created.
// Nothing here shows a message or throws.

#include <QString>

// Longest value a read hands back (the callers' buffer of 255 characters).
inline constexpr int kIniWertLaenge = 254;
// Largest file that is read or rewritten.
inline constexpr qint64 kIniMaxGroesse = 16ll * 1024 * 1024;

// The value of the key in the section of the file; vorgabe when the file, the section or the
// key is missing (a key written with an empty value reads as ""). At most kIniWertLaenge
// characters.
QString ProfilLesen(const QString& abschnitt, const QString& schluessel, const QString& vorgabe,
                    const QString& datei);

// Sets the key in the section to the value: in place when the key exists (keeping the key's own
// spelling), else as a new line after the last non-blank line of the section, else as a new
// section at the end of the file; a missing file is created. A value is written up to its first
// line break. False when the file could not be read or written, when the folder is missing, or
// when the section or key name cannot stand in an INI file (line breaks, "]" in a section name,
// "=" in a key, a key starting with "[" or ";", an empty key).
bool ProfilSchreiben(const QString& abschnitt, const QString& schluessel, const QString& wert,
                     const QString& datei);

// Removes the first line of the key in the section. A missing key (or file) is no error.
bool ProfilSchluesselLoeschen(const QString& abschnitt, const QString& schluessel,
                              const QString& datei);

// Removes the first section of that name with every line up to the next section header.
// A missing section (or file) is no error.
bool ProfilAbschnittLoeschen(const QString& abschnitt, const QString& datei);

// Lock file that guards the read-modify-write of one INI file between this program's processes
// (in the temporary folder, named after the file's absolute path with links followed).
QString IniSperrdatei(const QString& aufgeloesterPfad);

#pragma once
// Table and column names in SQL the program builds itself (inserts, updates, new tables).
// Values never go into SQL text; names do, so only plain names are accepted.

#include <QString>

// True for a plain name: a letter or "_" first, then letters, digits and "_" (ASCII).
bool IstSqlName(const QString& name);

// The name as it is written into SQL: unchanged, unless it is a reserved word on one of the
// databases the program uses ("Index", "Offset", ...); such a name is written in lower case
// within double quotes, which every one of them reads as the same column as the unquoted
// name on a database that folds names to lower case.
QString SqlName(const QString& name);

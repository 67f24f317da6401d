// db-anlegen PFAD: creates an empty meter database (an SQLite file with every table) at PFAD.
// An existing file is never overwritten. Exit status 0 when created, 1 otherwise.

#include "database/Schema.h"
#include "platform/Global.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList argumente = QCoreApplication::arguments();
    if (argumente.size() != 2) {
        std::fprintf(stderr, "Aufruf: db-anlegen PFAD (zum Beispiel work/basis.mdb)\n");
        return 1;
    }
    const QString pfad = argumente.at(1);
    if (!DatenbankAnlegen(pfad)) {
        std::fprintf(stderr, "%s\n", qPrintable(FehlerText));
        return 1;
    }
    std::printf("%s angelegt\n", qPrintable(pfad));
    return 0;
}

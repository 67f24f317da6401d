#include "TestUmgebung.h"

#include <QApplication>
#include <QTemporaryFile>

#include <gtest/gtest.h>

// The widget tests run on an offscreen screen. Its size comes from TELVARIN_BILDSCHIRM
// ("1024x768"); without it the screen is large enough for every window at its design size.
int main(int argc, char** argv)
{
    QByteArray groesse = qgetenv("TELVARIN_BILDSCHIRM");
    if (groesse.isEmpty())
        groesse = "1920x1200";
    const QList<QByteArray> masse = groesse.split('x');
    QTemporaryFile einstellung;
    if (masse.size() != 2 || !einstellung.open()) {
        std::fprintf(stderr, "TELVARIN_BILDSCHIRM: %s\n", groesse.constData());
        return 2;
    }
    einstellung.write(R"({"screens": [{"name": "Bildschirm", "x": 0, "y": 0, "width": )" +
                      masse[0] + R"(, "height": )" + masse[1] + "}]}");
    einstellung.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + einstellung.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const OdbcOhneProtokolle odbc;
    if (!odbc.gueltig())
        return 2;
    return RUN_ALL_TESTS();
}

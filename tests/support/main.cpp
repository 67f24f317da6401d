#include "TestUmgebung.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const OdbcOhneProtokolle odbc;
    if (!odbc.gueltig())
        return 2;
    return RUN_ALL_TESTS();
}

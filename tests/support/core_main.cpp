#include <QCoreApplication>
#include <gtest/gtest.h>

// Core tests run with a QCoreApplication only: the logic they test must need no display.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

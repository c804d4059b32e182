#include "support/sandbox.h"

#include <QCoreApplication>

// Core tests run with a QCoreApplication only: the logic they test must need no display.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    voltmetr::testing::Sandbox::install();
    return RUN_ALL_TESTS();
}

#include "support/sandbox.h"
#include "ui/application.h"

#include <QApplication>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    voltmetr::prepareApplication(app);
    testing::InitGoogleTest(&argc, argv);
    voltmetr::testing::Sandbox::install();
    return RUN_ALL_TESTS();
}

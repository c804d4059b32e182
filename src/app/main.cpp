#include "app/application.h"
#include "app/qthost.h"
#include "signin/welcome.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    voltmetr::prepareApplication(app);
    voltmetr::QtHost host;
    voltmetr::Data_a_promene state;
    voltmetr::Info2 coder(host);
    voltmetr::WindowContext context{host, state, coder};
    voltmetr::Welcome welcome(context);
    welcome.show();
    return QApplication::exec();
}

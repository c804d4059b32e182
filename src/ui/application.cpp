#include "ui/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace voltmetr {

void prepareApplication(QApplication& app)
{
    app.setWindowIcon(QIcon(QStringLiteral(":/icons/voltmetr.svg")));

    // Message-box buttons and the save dialog speak Czech whatever the system's language;
    // number and time formats still follow the system's regional settings.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_cs"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

} // namespace voltmetr

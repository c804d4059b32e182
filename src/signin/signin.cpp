#include "signin/signin.h"

#include "app/oledate.h"
#include "school/resultsstore.h"
#include "school/schoolsettings.h"

namespace voltmetr {

namespace {

const QString signInByName = QStringLiteral(
    "Přihlas se jménem a třídou, výsledek pak předáš vyučujícímu jako zakódovanou zprávu.");

// A build without the server's driver (the one for Windows) reaches no server at all.
PupilsRead readPupils(const QString& path, Host& host)
{
    if (isServerLocation(path) && !host.hasDatabaseDriver(QString::fromLatin1(ServerDriver))) {
        return {{},
                QStringLiteral("tento program nemá ovladač databázového serveru PostgreSQL (%1) a "
                               "k serveru se nepřipojí; v nastavení školy musí být soubor databáze")
                    .arg(QLatin1String(ServerDriver))};
    }
    return ResultsStore(path).readPupils();
}

} // namespace

SignInOffer offerSignIn(Host& host)
{
    const SchoolSetting location = configuredDatabaseLocation();
    if (!location.problem.isEmpty()) {
        host.messageBox(location.problem + QStringLiteral("\n\n") + signInByName,
                        QStringLiteral("Nastavení školy"), MessageStyle::OkCritical);
        return {};
    }
    const QString& path = location.value;
    if (!schoolDatabaseMayExist(path)) {
        return {};
    }
    PupilsRead read = readPupils(path, host);
    if (!read.ok()) {
        host.messageBox(QStringLiteral("Školní databázi nelze použít:\n%1\n\nDůvod: %2\n\n%3")
                            .arg(path, read.error, signInByName),
                        QStringLiteral("Školní databáze"), MessageStyle::OkCritical);
        return {};
    }
    return {true, std::move(read.pupils)};
}

bool startRun(const SignInChoice& choice, Host& host, Data_a_promene& state, Info2& coder)
{
    if (!choice.emailMode && !choice.profileEntry) {
        host.beep();
        return false;
    }
    state.EmailMode = choice.emailMode;
    if (choice.emailMode) {
        coder.InitReportCoder();
        state.PupilName = choice.name;
        state.PupilClass = choice.className;
        state.StartDateTime = host.now();
    } else {
        state.StartTime = oleTimePart(host.now());
        const Profile profile = parseProfileEntry(*choice.profileEntry);
        state.ProfileClass = profile.className;
        state.ProfileSurname = profile.surname;
    }
    return true;
}

} // namespace voltmetr

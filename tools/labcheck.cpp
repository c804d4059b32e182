#include "school/pupilstore.h"
#include "school/resultsstore.h"
#include "school/schooldatabase.h"
#include "school/schoolsettings.h"
#include "school/serverrights.h"
#include "schoolconnection.h"
#include "teachertool.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>

#ifdef VOLTMETR_HAVE_LIBPQ
#include <libpq-fe.h>
#endif

namespace voltmetr::teacher {

namespace {

// The check's findings, one line each: ✔ what holds, or ✖ what fails and why.
class Findings
{
public:
    explicit Findings(QTextStream& out) : m_out(out) {}

    // ✔ passed when problem is empty, else ✖ failing: problem. Whether it passed.
    bool tell(const QString& problem, const QString& passed, const QString& failing)
    {
        return problem.isEmpty() ? pass(passed)
                                 : fail(QStringLiteral("%1: %2.").arg(failing, problem));
    }
    bool pass(const QString& sentence)
    {
        m_out << QStringLiteral("✔ %1").arg(sentence) << Qt::endl;
        return true;
    }
    bool fail(const QString& sentence)
    {
        m_out << QStringLiteral("✖ %1").arg(sentence) << Qt::endl;
        m_failed = true;
        return false;
    }

    int exitCode() const { return m_failed ? Console::ExitFailure : Console::ExitSuccess; }

private:
    QTextStream& m_out;
    bool m_failed = false;
};

// The location the pupils' program takes on this computer, and where it comes from.
bool tellLocation(const Request& request, Findings& findings, QString& location)
{
    if (!request.databasePath.isEmpty()) {
        location = request.databasePath;
        return findings.pass(QStringLiteral("Databáze zadaná volbou --db: %1.").arg(location));
    }
    const SchoolSetting setting = configuredDatabaseLocation();
    if (!setting.problem.isEmpty()) {
        return findings.fail(setting.problem);
    }
    location = setting.value;
    switch (setting.origin) {
    case SettingOrigin::Environment:
        return findings.pass(QStringLiteral("Databáze z proměnné VOLTMETR_DB: %1 (program žáka "
                                            "ji použije, jen má-li proměnnou i jeho sezení).")
                                 .arg(location));
    case SettingOrigin::Policy:
        return findings.pass(QStringLiteral("Nastavení školy ze zásad skupiny %1: databáze %2.")
                                 .arg(machinePolicy().place(), location));
    case SettingOrigin::SettingsFile:
        return findings.pass(QStringLiteral("Nastavení školy ze souboru %1: databáze %2.")
                                 .arg(schoolSettingsFile(), location));
    case SettingOrigin::BuiltIn:
        break;
    }
    return findings.pass(
        QStringLiteral("Soubor nastavení školy %1/%2 tu není: databáze je na "
                       "výchozím místě %3.")
            .arg(QLatin1String(SettingsFolder), QLatin1String(SettingsFileName), location));
}

#ifdef VOLTMETR_HAVE_LIBPQ
// How the connection logged in: empty without a password, else where the password came from.
// Whatever a pupil's login reads, the pupil can read too, and log in with it past the program.
QString passwordSource(QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    // The driver names the client library's connection by its struct's name, pg_conn.
    if (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0) {
        return {};
    }
    PGconn* const connection = *static_cast<PGconn* const*>(handle.constData());
    if (PQconnectionUsedPassword(connection) == 0) {
        return {};
    }
    if (!qEnvironmentVariableIsEmpty("PGPASSWORD")) {
        return QStringLiteral("z proměnné PGPASSWORD");
    }
    QString passwordFile = qEnvironmentVariable("PGPASSFILE");
    if (passwordFile.isEmpty()) {
        passwordFile = QDir::home().filePath(QStringLiteral(".pgpass"));
    }
    return QFileInfo::exists(passwordFile) ? QStringLiteral("ze souboru hesel %1").arg(passwordFile)
                                           : QStringLiteral("ze souboru služeb pg_service.conf");
}
#endif

// A server: who the pupils log in as and how, and that no pooler mixes their statements.
void tellServerLogin(SchoolConnection& connection, const QString& location, Findings& findings)
{
    QSqlDatabase& db = connection.db();
    QString role;
    const QString mayChange = checkMayNotChangeResults(db, role);
    findings.tell(mayChange,
                  QStringLiteral("Role %1 uložené výsledky nezmění ani nesmaže.").arg(role),
                  QStringLiteral("Role"));
#ifdef VOLTMETR_HAVE_LIBPQ
    if (const QString password = passwordSource(db); !password.isEmpty()) {
        findings.fail(QStringLiteral("Přihlášení jako role %1 heslem %2: žák si heslo přečte a "
                                     "přihlásí se jím i mimo program; přihlašujte žáky bez hesla "
                                     "(peer, certifikát, Kerberos).")
                          .arg(role, password));
    } else {
        findings.pass(QStringLiteral("Přihlášení jako role %1 bez hesla.").arg(role));
    }
#else
    findings.pass(
        QStringLiteral("Přihlášení jako role %1 (zda heslem, tento nástroj nepozná).").arg(role));
#endif
    findings.tell(checkNotPooledByTransaction(db, location),
                  QStringLiteral("Spojení nevede přes pooler v transakčním režimu."),
                  QStringLiteral("Cesta k serveru"));
}

} // namespace

int checkLab(const Request& request, Console& console)
{
    Findings findings(console.out);
    QString location;
    if (!tellLocation(request, findings, location)) {
        return findings.exitCode();
    }
    // Read as the pupils' program reads at sign-in.
    SchoolConnection connection(location, SchoolConnection::Access::Read);
    if (const QString problem = schoolDatabaseProblem(location, connection); !problem.isEmpty()) {
        findings.fail(problem);
        return findings.exitCode();
    }
    findings.pass(QStringLiteral("Databáze se otevřela a má všechny tabulky a sloupce, které "
                                 "program žáka používá."));
    std::vector<Profile> pupils;
    QString pupilsProblem = readProfiles(connection.db(), pupils);
    if (pupilsProblem.isEmpty() && pupils.empty()) {
        pupilsProblem = QStringLiteral("je prázdný, žák se nemá jak přihlásit; naplňte ho "
                                       "příkazem import");
    }
    findings.tell(pupilsProblem,
                  QStringLiteral("Seznam žáků (tabulka %1) se přečetl, žáků v něm: %2.")
                      .arg(QLatin1String(PupilsTable))
                      .arg(pupils.size()),
                  QStringLiteral("Seznam žáků (tabulka %1)").arg(QLatin1String(PupilsTable)));
    const bool server = isServerConnection(connection.db());
    if (server) {
        tellServerLogin(connection, location, findings);
    }
    const ResultsStore store(location);
    const StoreTrial trial = store.tryStoringRun();
    const bool stored = findings.tell(
        trial.error,
        server ? QStringLiteral("Server dovolí běh uložit.")
               : QStringLiteral("Zkušební běh se zapsal a byl vrácen; databáze zůstala, jak "
                                "byla."),
        QStringLiteral("Zkušební uložení běhu"));
    if (stored && !server) {
        findings.pass(QStringLiteral("Na zámek databáze se čekalo %1 ms; program žáka čeká "
                                     "nejvýš %2 s.")
                          .arg(trial.lockWaited.count())
                          .arg(ResultsStore::DefaultBusyTimeoutMs / 1000));
    }
    return findings.exitCode();
}

} // namespace voltmetr::teacher

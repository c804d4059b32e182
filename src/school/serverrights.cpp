#include "school/serverrights.h"

#include "school/failurereason.h"
#include "school/runstore.h"
#include "school/schooldatabase.h"
#include "school/schoolschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace voltmetr {

namespace {

constexpr char StoreFunction[] = "voltmetr_uloz_beh";
constexpr char StoreFunctionSignature[] = "public.voltmetr_uloz_beh(text,jsonb,jsonb)";
// A role's name may be 63 bytes long; the server would cut a longer one silently.
constexpr qsizetype LongestRoleName = 63;

QString identifier(const QString& name)
{
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The first value of the first row a statement gives; an invalid one when it gives no row.
QString readValue(QSqlDatabase& db, const QString& statement, const QVariantList& values,
                  QVariant& value)
{
    QSqlQuery query(db);
    if (QString failure = runStatement(query, statement, values); !failure.isEmpty()) {
        return failure;
    }
    value = query.next() ? query.value(0) : QVariant();
    return {};
}

// Creates the role unless the server has it, and says whether it did. Roles belong to the whole
// server: another computer may be creating the same one at this moment; then the other's
// serves, and this transaction goes on from the savepoint.
QString createRoleIfMissing(QSqlDatabase& db, const QString& role, bool& created)
{
    QVariant present;
    if (QString failure = readValue(db, QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"),
                                    {role}, present);
        !failure.isEmpty() || present.isValid()) {
        return failure;
    }
    QSqlQuery query(db);
    if (QString failure = runStatement(query, QStringLiteral("SAVEPOINT vytvoreni_role"));
        !failure.isEmpty()) {
        return failure;
    }
    if (query.exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(identifier(role)))) {
        created = true;
        return runStatement(query, QStringLiteral("RELEASE SAVEPOINT vytvoreni_role"));
    }
    static const QStringList createdByAnother = {QStringLiteral("42710"),  // duplicate_object
                                                 QStringLiteral("23505")}; // unique_violation
    if (!createdByAnother.contains(query.lastError().nativeErrorCode())) {
        return databaseFailureReason(query.lastError());
    }
    return runStatement(query, QStringLiteral("ROLLBACK TO SAVEPOINT vytvoreni_role"));
}

QString columnList(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names) {
        quoted << identifier(name);
    }
    return quoted.join(QStringLiteral(", "));
}

// The one door: a run already stored under its identifier is only read back. Runs with the
// rights of the tables' owner and a search path nobody else can put anything into.
QString storeFunctionStatement()
{
    const QString runs = QStringLiteral("public.") + quotedName(ResultsTable);
    const QString tasks = QStringLiteral("public.") + quotedName(TaskLogTable);
    const QString runColumns = columnList(resultColumnNames());
    const QString taskColumns = columnList(taskLogColumnNames().mid(1));
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION public.%1(text, jsonb, jsonb) "
               "RETURNS TABLE (spravne_celkem bigint, chybne_celkem bigint) "
               "LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp "
               "AS $telo$ DECLARE novy bigint; BEGIN "
               "IF NOT EXISTS (SELECT 1 FROM public.%2 WHERE \"Id\" = $1) THEN "
               "INSERT INTO %3 (%4) SELECT %4 FROM jsonb_populate_record(NULL::%3, $2) "
               "RETURNING rowid INTO novy; "
               "INSERT INTO public.%2 (\"Id\", \"Beh\") VALUES ($1, novy); "
               "INSERT INTO %5 (\"Beh\", %6) SELECT novy, %6 "
               "FROM jsonb_populate_recordset(NULL::%5, $3); "
               "END IF; RETURN QUERY %7; END $telo$")
        .arg(QLatin1String(StoreFunction), quotedName(StoredRunsTable), runs, runColumns, tasks,
             taskColumns, pupilTotalsStatement(QStringLiteral("$2->>'Prijmeni'")));
}

// A table's constraint of that kind ('p' primary key, 'f' foreign key), if it has one.
QString hasConstraint(QSqlDatabase& db, const char* table, const char* kind, bool& has)
{
    QVariant found;
    QString failure = readValue(db,
                                QStringLiteral("SELECT 1 FROM pg_constraint WHERE conrelid = "
                                               "to_regclass(?) AND contype = ?"),
                                {quotedName(table), QString::fromLatin1(kind)}, found);
    has = found.isValid();
    return failure;
}

// Gives the shared roles of an older database the rights of its own roles, so that the lab's
// settings and the teacher's login keep working, and takes their own rights on the tables away.
QString migrateSharedRoles(QSqlDatabase& db, const SchoolRoles& roles, QStringList& changes)
{
    QVariant sharedPupilsWrite;
    QVariant owner;
    if (QString failure = readValue(
            db,
            QStringLiteral("SELECT has_table_privilege(rolname, ?, 'INSERT') FROM pg_roles WHERE "
                           "rolname = ?"),
            {quotedName(ResultsTable), QString::fromLatin1(SharedPupilsRole)}, sharedPupilsWrite);
        !failure.isEmpty()) {
        return failure;
    }
    if (QString failure = readValue(db,
                                    QStringLiteral("SELECT tableowner FROM pg_tables WHERE "
                                                   "schemaname = 'public' AND tablename = ?"),
                                    {QString::fromLatin1(ResultsTable)}, owner);
        !failure.isEmpty()) {
        return failure;
    }
    const QString sharedPupils = QString::fromLatin1(SharedPupilsRole);
    const QString sharedTeacher = QString::fromLatin1(SharedTeacherRole);
    QStringList statements;
    if (sharedPupilsWrite.toBool() && roles.pupils != sharedPupils) {
        statements << QStringLiteral("REVOKE ALL ON %1, %2 FROM %3")
                          .arg(quotedName(ResultsTable), quotedName(TaskLogTable),
                               identifier(sharedPupils))
                   << QStringLiteral("GRANT %1 TO %2")
                          .arg(identifier(roles.pupils), identifier(sharedPupils));
        changes << QStringLiteral(
                       "Role %1, společná všem školám na serveru, dostala práva role %2; žáci se "
                       "tak přihlašují dál. Aby do databáze jiné školy nemohli, přihlašujte je "
                       "jako %2 a pak roli odeberte: REVOKE %2 FROM %1.")
                       .arg(sharedPupils, roles.pupils);
    }
    if (owner.toString() == sharedTeacher && roles.teacher != sharedTeacher) {
        statements << QStringLiteral("GRANT %1 TO %2")
                          .arg(identifier(roles.teacher), identifier(sharedTeacher));
        changes << QStringLiteral("Tabulky patří roli %1; učitel se může přihlašovat dál jako %2.")
                       .arg(roles.teacher, sharedTeacher);
    }
    return runAll(db, statements);
}

// The tables' owner and the pupils' rights: the class list to read, the function to call.
QStringList grants(const QString& database, const SchoolRoles& roles, bool storedReports)
{
    const QString pupils = identifier(roles.pupils);
    const QString teacher = identifier(roles.teacher);
    QStringList statements{
        QStringLiteral("REVOKE CONNECT, TEMPORARY ON DATABASE %1 FROM PUBLIC").arg(database),
        QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2, %3").arg(database, pupils, teacher),
        QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC"),
        QStringLiteral("GRANT USAGE ON SCHEMA public TO %1, %2").arg(pupils, teacher),
    };
    QStringList tables{quotedName(PupilsTable), quotedName(ResultsTable), quotedName(TaskLogTable),
                       quotedName(StoredRunsTable)};
    if (storedReports) {
        tables << quotedName(StoredReportsTable);
    }
    for (const QString& table : tables) {
        statements << QStringLiteral("REVOKE ALL ON %1 FROM PUBLIC, %2").arg(table, pupils)
                   << QStringLiteral("ALTER TABLE %1 OWNER TO %2").arg(table, teacher);
    }
    const QString function = QString::fromLatin1(StoreFunctionSignature);
    statements << QStringLiteral("GRANT SELECT ON %1 TO %2").arg(quotedName(PupilsTable), pupils)
               << QStringLiteral("ALTER FUNCTION %1 OWNER TO %2").arg(function, teacher)
               << QStringLiteral("REVOKE ALL ON FUNCTION %1 FROM PUBLIC").arg(function)
               << QStringLiteral("GRANT EXECUTE ON FUNCTION %1 TO %2").arg(function, pupils);
    return statements;
}

// The run's id unique, and every task tied to a run that exists. Tasks stored before the tie
// existed are not checked: a row a pupil once tied to nothing must not stop the upgrade.
QString keys(QSqlDatabase& db, QStringList& changes)
{
    bool hasKey = false;
    bool hasTie = false;
    QString failure = hasConstraint(db, ResultsTable, "p", hasKey);
    if (failure.isEmpty()) {
        failure = hasConstraint(db, TaskLogTable, "f", hasTie);
    }
    QStringList statements;
    if (!hasKey) {
        statements << QStringLiteral("ALTER TABLE %1 ADD PRIMARY KEY (rowid)")
                          .arg(quotedName(ResultsTable));
    }
    if (!hasTie) {
        statements << QStringLiteral("ALTER TABLE %1 ADD FOREIGN KEY (\"Beh\") REFERENCES %2 "
                                     "(rowid) ON DELETE CASCADE NOT VALID")
                          .arg(quotedName(TaskLogTable), quotedName(ResultsTable));
    }
    if (!statements.isEmpty()) {
        changes << QStringLiteral("Každý běh má jedinečné číslo a každá úloha patří k běhu, "
                                  "který v databázi je.");
    }
    return failure.isEmpty() ? runAll(db, statements) : failure;
}

} // namespace

QString connectedDatabase(QSqlDatabase& db)
{
    QVariant database;
    return readValue(db, QStringLiteral("SELECT current_database()"), {}, database).isEmpty()
               ? database.toString()
               : QString();
}

SchoolRoles schoolRolesOf(const QString& database)
{
    return {database + QStringLiteral("_zak"), database + QStringLiteral("_ucitel")};
}

QString storeRunCall()
{
    return QStringLiteral("SELECT * FROM public.%1(?, CAST(? AS jsonb), CAST(? AS jsonb))")
        .arg(QLatin1String(StoreFunction));
}

bool hasStoreFunction(QSqlDatabase& db)
{
    QVariant present;
    return readValue(db, QStringLiteral("SELECT to_regprocedure(?) IS NOT NULL"),
                     {QString::fromLatin1(StoreFunctionSignature)}, present)
               .isEmpty() &&
           present.toBool();
}

QString establishServerRights(QSqlDatabase& db, QStringList& changes)
{
    const QString database = connectedDatabase(db);
    if (database.isEmpty()) {
        return databaseFailureReason(db.lastError());
    }
    const SchoolRoles roles = schoolRolesOf(database);
    if (roles.teacher.toUtf8().size() > LongestRoleName) {
        return QStringLiteral("název databáze %1 je příliš dlouhý: název role %2 by měl víc než "
                              "%3 bajtů")
            .arg(database, roles.teacher)
            .arg(LongestRoleName);
    }
    bool created = false;
    for (const QString& role : {roles.teacher, roles.pupils}) {
        if (QString failure = createRoleIfMissing(db, role, created); !failure.isEmpty()) {
            return failure;
        }
    }
    if (created) {
        changes << QStringLiteral("Vytvořeny role %1 (žáci) a %2 (učitel).")
                       .arg(roles.pupils, roles.teacher);
    }
    const bool hadFunction = hasStoreFunction(db);
    const bool storedReports = !db.record(QString::fromLatin1(StoredReportsTable)).isEmpty();
    QStringList statements{
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Id\" TEXT PRIMARY KEY, \"Beh\" BIGINT NOT "
                       "NULL REFERENCES %2 (rowid) ON DELETE CASCADE)")
            .arg(quotedName(StoredRunsTable), quotedName(ResultsTable)),
        storeFunctionStatement()};
    QString failure = keys(db, changes);
    if (failure.isEmpty()) {
        failure = migrateSharedRoles(db, roles, changes);
    }
    if (failure.isEmpty()) {
        failure = runAll(db, statements + grants(identifier(database), roles, storedReports));
    }
    if (failure.isEmpty() && !hadFunction) {
        changes << QStringLiteral("Žáci ukládají běh jen funkcí %1, která ho uloží celý a jednou; "
                                  "do tabulek sami nezapisují a nečtou z nich, dočasné tabulky "
                                  "nevytvoří a do databáze se připojí jen role %2 a %3.")
                       .arg(QLatin1String(StoreFunction), roles.pupils, roles.teacher);
    }
    return failure;
}

QString checkMayStoreRun(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (QString failure = runStatement(
            query,
            QStringLiteral("SELECT current_user, CASE WHEN to_regprocedure(?) IS NULL THEN "
                           "has_table_privilege(?, 'INSERT') ELSE "
                           "has_function_privilege(CAST(to_regprocedure(?) AS oid), 'EXECUTE') "
                           "END"),
            {QString::fromLatin1(StoreFunctionSignature), quotedName(ResultsTable),
             QString::fromLatin1(StoreFunctionSignature)});
        !failure.isEmpty() || !query.next()) {
        return failure.isEmpty() ? databaseFailureReason(query.lastError()) : failure;
    }
    if (query.value(1).toBool()) {
        return {};
    }
    return QStringLiteral("uživatel %1 nesmí do školní databáze ukládat výsledky (správce ho "
                          "přidá do role žáků této databáze)")
        .arg(query.value(0).toString());
}

QString checkMayNotChangeResults(QSqlDatabase& db, QString& role)
{
    QSqlQuery query(db);
    const QVariantList table{quotedName(ResultsTable), quotedName(ResultsTable)};
    if (QString failure = runStatement(query,
                                       QStringLiteral("SELECT current_user, "
                                                      "has_table_privilege(?, 'UPDATE') OR "
                                                      "has_table_privilege(?, 'DELETE')"),
                                       table);
        !failure.isEmpty() || !query.next()) {
        return failure.isEmpty() ? databaseFailureReason(query.lastError()) : failure;
    }
    role = query.value(0).toString();
    if (!query.value(1).toBool()) {
        return {};
    }
    return QStringLiteral("role %1 smí uložené výsledky měnit a mazat, a s ní každý žák; žáci se "
                          "mají přihlašovat jako %2")
        .arg(role, schoolRolesOf(connectedDatabase(db)).pupils);
}

QString checkNotPooledByTransaction(QSqlDatabase& db, const QString& location)
{
    const QString statement = QStringLiteral("SELECT pg_backend_pid()");
    QVariant first;
    QVariant second;
    if (!readValue(db, statement, {}, first).isEmpty()) {
        return {}; // the statements that follow will say what is wrong
    }
    SchoolConnection other(location, SchoolConnection::Access::Read);
    if (!other.openError().isEmpty() || !readValue(other.db(), statement, {}, second).isEmpty()) {
        return {};
    }
    if (first != second) {
        return {};
    }
    qCWarning(lcDatabase).noquote()
        << QStringLiteral("Databáze %1: %2.").arg(location, transactionPoolingReason());
    return transactionPoolingReason();
}

QString loginAdvice(const QString& database)
{
    const SchoolRoles roles = schoolRolesOf(database);
    return QStringLiteral(
               "Žáci se nesmějí přihlašovat heslem, které by si mohli přečíst nebo změnit.\n"
               "Do pg_hba.conf (pořadí řádků rozhoduje; síť učebny upravte):\n"
               "  local    %1  %2  peer map=voltmetr\n"
               "  hostssl  %1  %2  192.168.0.0/16  cert map=voltmetr\n"
               "  hostssl  %1  %3  192.168.0.0/16  scram-sha-256\n"
               "Do pg_ident.conf (každý účet počítače nebo certifikát učebny jako role žáků):\n"
               "  voltmetr  /^.*$  %2\n"
               "Certifikáty vydá škola počítačům učebny (sslcert a sslkey v pg_service.conf); "
               "v síti s Kerberem poslouží místo cert metoda gss.")
        .arg(database, roles.pupils, roles.teacher);
}

} // namespace voltmetr

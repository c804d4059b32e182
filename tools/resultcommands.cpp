#include "app/oledate.h"
#include "czechorder.h"
#include "resultstable.h"
#include "school/failurereason.h"
#include "school/runstore.h"
#include "school/schooldatabase.h"
#include "schoolconnection.h"
#include "shareformat.h"
#include "teachertool.h"

#include <QLocale>
#include <algorithm>

namespace voltmetr::teacher {

int exportResults(const Request& request, Console& console)
{
    QString failure;
    const std::optional<CsvTable> table =
        readResultsTableAt(request.databasePath, request.pupilClass, request.period, failure);
    if (!table) {
        return console.fail(failure);
    }
    if (request.outputPath.isEmpty()) {
        console.out.flush();
        console.out.device()->write(table->bytes());
        return Console::ExitSuccess;
    }
    if (failure = writeTableFile(request.outputPath, *table); !failure.isEmpty()) {
        return console.fail(failure);
    }
    console.out << QStringLiteral("Zapsáno výsledků: %1 do %2.")
                       .arg(table->rowCount())
                       .arg(request.outputPath)
                << Qt::endl;
    return Console::ExitSuccess;
}

int printTotals(const Request& request, Console& console)
{
    SchoolConnection connection(request.databasePath, SchoolConnection::Access::Read);
    if (const QString problem = schoolDatabaseProblem(request.databasePath, connection);
        !problem.isEmpty()) {
        return console.fail(problem);
    }
    std::vector<PupilRunTotals> totals;
    if (const QString failure = readClassTotals(connection.db(), request.pupilClass, totals);
        !failure.isEmpty()) {
        return console.fail(databaseFailure(QStringLiteral("Čtení výsledků"), failure));
    }
    sortByClassThenSurname(totals, &PupilRunTotals::className);
    if (totals.empty()) {
        return console.fail(
            request.pupilClass.isEmpty()
                ? QStringLiteral("V databázi nejsou žádní žáci ani výsledky.")
                : QStringLiteral("Třída %1 nemá v databázi žádné žáky ani výsledky.")
                      .arg(request.pupilClass));
    }

    const QLocale locale = QLocale::system();
    qsizetype surnameWidth = QStringLiteral("Příjmení").size();
    qsizetype classWidth = QStringLiteral("Třída").size();
    for (const PupilRunTotals& pupil : totals) {
        surnameWidth = std::max(surnameWidth, pupil.surname.size());
        classWidth = std::max(classWidth, pupil.className.size());
    }
    const auto row = [&](const QString& surname, const QString& pupilClass,
                         const QStringList& numbers) {
        QString line =
            surname.leftJustified(surnameWidth + 2) + pupilClass.leftJustified(classWidth);
        const int widths[] = {9, 7, 8, 11};
        for (qsizetype i = 0; i < numbers.size(); ++i) {
            line += numbers[i].rightJustified(widths[i]);
        }
        console.out << line << Qt::endl;
    };
    row(QStringLiteral("Příjmení"), QStringLiteral("Třída"),
        {QStringLiteral("Cvičení"), QStringLiteral("Dobře"), QStringLiteral("Špatně"),
         QStringLiteral("Úspěšnost")});
    for (const PupilRunTotals& pupil : totals) {
        const PupilTotals& answers = pupil.totals;
        row(pupil.surname, pupil.className,
            {QString::number(pupil.runs), QString::number(answers.rightCount),
             QString::number(answers.wrongCount),
             rightShareText(answers.rightCount, answers.wrongCount, locale, 2)});
    }
    return Console::ExitSuccess;
}

} // namespace voltmetr::teacher

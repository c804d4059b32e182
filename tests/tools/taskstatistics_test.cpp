#include "app/procedury.h"
#include "school/resultsstore.h"
#include "support/mistakecases.h"
#include "support/throwawayserver.h"
#include "taskstatistics.h"

#include <QSqlQuery>
#include <gtest/gtest.h>
#include <utility>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

// A task adds to the right share what it added to its run's counts: a destroyed meter is a wrong
// answer of its own, also when it broke after the task's answer had been judged.
TEST(TaskStatistics, ATaskAddsTheAnswersItsRunCounted)
{
    using V = TaskVerdict;
    const struct
    {
        const char* name;
        V verdict;
        bool destroyed;
        qint64 right, all;
    } cases[] = {
        {"a right answer", V::Right, false, 1, 1},
        {"a wrong answer", V::Wrong, false, 0, 1},
        {"destroyed before an answer", V::Destroyed, true, 0, 1},
        {"an answer dropped as the meter broke", V::Dropped, true, 0, 1},
        {"a right answer, then destroyed", V::Right, true, 1, 2},
        {"a wrong answer, then destroyed", V::Wrong, true, 0, 2},
    };
    for (const auto& c : cases) {
        TaskRecord task;
        task.verdict = c.verdict;
        task.destroyed = c.destroyed;
        const teacher::Share answers = teacher::answersOf(task);
        EXPECT_EQ(std::pair(answers.right, answers.all), std::pair(c.right, c.all)) << c.name;
    }
}

// The cause a teacher reads first: the most wrong answers, the earlier cause on a tie.
TEST(TaskStatistics, TheMostFrequentMistakeIsTheCauseOfMostWrongAnswers)
{
    using K = MistakeKind;
    const struct
    {
        const char* name;
        std::array<qint64, MistakeKindCount> mistakes;
        std::optional<K> most;
    } cases[] = {
        {"no wrong answer logged", {}, std::nullopt},
        {"one cause only, the last", {0, 0, 0, 0, 0, 1}, K::Unrecognised},
        {"a tie goes to the earlier cause", {0, 2, 2, 1, 0, 0}, K::DivisionsOff},
        {"the most beats an earlier one", {1, 0, 3, 0, 0, 0}, K::DecimalShift},
    };
    for (const auto& c : cases) {
        teacher::Tally tally;
        tally.mistakes = c.mistakes;
        EXPECT_EQ(tally.mostFrequentMistake(), c.most) << c.name;
    }
}

// A server works out the likeliest cause of each wrong answer as a task is written, by the same
// rule as the teacher's computer, to the last bound; the statistics then count its causes. A
// right answer and a meter of no catalogue have none.
TEST(TaskStatistics, AServerWorksOutTheCausesOfTheTeachersComputer)
{
    const QString school = testing::ThrowawayServer::newSchool();
    {
        SchoolConnection teacher(school, SchoolConnection::Access::Write);
        QStringList changes;
        ASSERT_EQ(teacher::bringLikeliestCausesUpToDate(teacher.db(), changes), QString());
    }
    MeterTables tables;
    FillTables(tables);
    std::vector<TaskRecord> tasks;
    std::vector<QVariant> causes;
    std::array<qint64, MistakeKindCount> counted{};
    const auto task = [&](int divisions, float voltage, float range, double answer,
                          TaskVerdict verdict) {
        TaskRecord& added = tasks.emplace_back();
        added.order = static_cast<int>(tasks.size());
        added.divisions = divisions;
        added.voltage = voltage;
        added.rangeInUse = range;
        added.valueRead = answer;
        added.verdict = verdict;
    };
    for (const testing::MistakeCase& c : testing::mistakeCases) {
        task(tables.Meters[c.meterNo].divisions, c.voltage, c.rangeInUse, c.answer,
             TaskVerdict::Wrong);
        causes.emplace_back(static_cast<int>(c.kind));
        ++counted[static_cast<std::size_t>(c.kind) - 1];
    }
    task(100, 110, 200, 110, TaskVerdict::Right);
    task(7, 110, 200, 11, TaskVerdict::Wrong);
    causes.insert(causes.end(), 2, QVariant());
    ASSERT_TRUE(ResultsStore(testing::ThrowawayServer::asPupils(school))
                    .appendRun({u"Novák"_s, u"2.B"_s, 1, static_cast<int>(tasks.size()) - 1, 0.3,
                                0.4, 46000, u"zak01"_s, 2},
                               tasks)
                    .stored());

    SchoolConnection reader(school, SchoolConnection::Access::Read);
    QSqlQuery query(reader.db());
    ASSERT_TRUE(query.exec(u"SELECT \"Pricina\" FROM \"Ulohy\" ORDER BY \"Poradi\""_s));
    for (std::size_t i = 0; i < causes.size() && query.next(); ++i) {
        EXPECT_EQ(query.value(0).isNull() ? QVariant() : QVariant(query.value(0).toInt()),
                  causes[i])
            << (i < std::size(testing::mistakeCases) ? testing::mistakeCases[i].name : "no cause");
    }
    QString failure;
    const std::optional<teacher::ClassStatistics> statistics =
        teacher::readStatistics(reader.db(), {}, failure);
    ASSERT_TRUE(statistics) << failure.toStdString();
    EXPECT_EQ(statistics->all.mistakes, counted);
    EXPECT_EQ(statistics->all.tasks, static_cast<qint64>(tasks.size()));
}

// The usual periods around a day, worked on a calendar: weeks run Monday to Sunday, also across
// New Year; the school year turns between 31 August and 1 September.
TEST(TaskStatistics, TheUsualPeriodsAroundADay)
{
    using D = QDate;
    const struct
    {
        const char* name;
        D day;
        Period week, month, schoolYear;
    } cases[] = {
        {"a Sunday ends its week",
         {2026, 12, 13},
         {D(2026, 12, 7), D(2026, 12, 13)},
         {D(2026, 12, 1), D(2026, 12, 31)},
         {D(2026, 9, 1), D(2027, 8, 31)}},
        {"New Year's Day, a Friday",
         {2027, 1, 1},
         {D(2026, 12, 28), D(2027, 1, 3)},
         {D(2027, 1, 1), D(2027, 1, 31)},
         {D(2026, 9, 1), D(2027, 8, 31)}},
        {"31 August, a Monday",
         {2026, 8, 31},
         {D(2026, 8, 31), D(2026, 9, 6)},
         {D(2026, 8, 1), D(2026, 8, 31)},
         {D(2025, 9, 1), D(2026, 8, 31)}},
        {"1 September",
         {2026, 9, 1},
         {D(2026, 8, 31), D(2026, 9, 6)},
         {D(2026, 9, 1), D(2026, 9, 30)},
         {D(2026, 9, 1), D(2027, 8, 31)}},
        {"29 February",
         {2028, 2, 29},
         {D(2028, 2, 28), D(2028, 3, 5)},
         {D(2028, 2, 1), D(2028, 2, 29)},
         {D(2027, 9, 1), D(2028, 8, 31)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(weekOf(c.day), c.week) << c.name;
        EXPECT_EQ(monthOf(c.day), c.month) << c.name;
        EXPECT_EQ(schoolYearOf(c.day), c.schoolYear) << c.name;
    }
}

} // namespace
} // namespace voltmetr

// Whom each report of a big school's mailbox belongs to: 6,000 listed pupils in 200 classes and
// 7,000 reports (about what a 10 MB mailbox holds), signed "first name surname", "surname first
// name" or with a class written otherwise ("2b"), a tenth by nobody on the list.
#include "reportowner.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

using voltmetr::Profile;

constexpr int Classes = 200;
constexpr int Pupils = 6'000;
constexpr int Reports = 7'000;

QString className(int i)
{
    return QStringLiteral("%1.%2").arg(1 + i % 4).arg(QChar(u'A' + i / 4 % 26)) +
           (i < 104 ? QString() : QString::number(i / 104));
}

std::vector<Profile> listed()
{
    std::vector<Profile> pupils;
    for (int i = 0; i < Pupils; ++i) {
        pupils.push_back({QStringLiteral("Dvořáková%1").arg(i), className(i % Classes)});
    }
    return pupils;
}

void ReportsFindTheirPupils(benchmark::State& state)
{
    const std::vector<Profile> pupils = listed();
    for (auto _ : state) {
        const voltmetr::teacher::ListedPupils list(pupils);
        int found = 0;
        for (int i = 0; i < Reports; ++i) {
            const int pupil = i * 7 % Pupils;
            const QString surname =
                QStringLiteral("Dvořáková%1").arg(i % 10 == 0 ? Pupils + i : pupil);
            const QString name =
                i % 2 == 0 ? QStringLiteral("Eva ") + surname : surname + QStringLiteral(" Eva");
            const QString pupilClass = className(pupil % Classes).toLower();
            found += list.ownerOf(name, pupilClass).found ==
                     voltmetr::teacher::ReportOwner::Found::ListedPupil;
        }
        benchmark::DoNotOptimize(found);
        state.counters["found"] = found;
    }
}
BENCHMARK(ReportsFindTheirPupils)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

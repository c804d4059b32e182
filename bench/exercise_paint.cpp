// A needle tick repaints only the strips under the old and the new needle over the cached
// scale; it must cost at most a twentieth of drawing the whole scale afresh and repainting it.
//
// The pair that decides is "Paint": the tick (logic, window update and the face's paint of the
// strips) against DrawScale with the face's paint of all of it, both painted through the face's
// own paint event into an image. The "OnScreen" pair adds what every frame costs the platform
// whatever is painted (the window system's repaint pass and its flush); it is reported beside
// them, since that fixed share is the window system's, not the face's.
#include "exercise/meterface.h"
#include "exercise/zkouseni.h"
#include "quiethost.h"
#include "ui/application.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace voltmetr;

struct Fixture
{
    // Meter 2, the one with the most ticks (120), then tasks drawn by a fixed seed.
    bench::QuietWindowHost host{0.3f};
    Data_a_promene state;
    Info2 coder{host};
    WindowContext context{host, state, coder};
    Zkouseni window{context};

    Fixture()
    {
        window.show();
        QApplication::processEvents();
    }
};

std::unique_ptr<Fixture> fixture;

MeterFace& face()
{
    return *fixture->window.findChild<MeterFace*>(QStringLiteral("Stupnice"));
}

// One tick of the needle timer; a settled needle gets a fresh swing, on or back to zero.
void tick()
{
    Zkouseni& window = fixture->window;
    if (!window.casovac().isActive()) {
        window.Pripoj_Click();
    }
    window.casovac_Timer();
}

void BM_TickPaint(benchmark::State& state)
{
    fixture->window.RozLB_Click(7); // 120 V: every task's needle swings on the scale
    QImage image(face().size(), QImage::Format_RGB32);
    for (auto _ : state) {
        tick();
        const QRegion strips = face().lastNeedleMove();
        face().render(&image, strips.boundingRect().topLeft(), strips, {});
    }
}
BENCHMARK(BM_TickPaint)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DrawScalePaint(benchmark::State& state)
{
    QImage image(face().size(), QImage::Format_RGB32);
    for (auto _ : state) {
        fixture->window.DrawScale();
        face().render(&image, QPoint(), QRegion(face().rect()), {});
    }
}
BENCHMARK(BM_DrawScalePaint)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_TickOnScreen(benchmark::State& state)
{
    for (auto _ : state) {
        tick();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TickOnScreen)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DrawScaleOnScreen(benchmark::State& state)
{
    for (auto _ : state) {
        fixture->window.DrawScale();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_DrawScaleOnScreen)->Repetitions(5)->ReportAggregatesOnly(true);

// Prints the usual table and, at the end, how the two costs compare.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // The median of the repetitions: the machine may be busy with other work.
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_nanoseconds[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        ratio("Paint", "BM_TickPaint", "BM_DrawScalePaint", "; the limit is 1 : 20");
        ratio("OnScreen", "BM_TickOnScreen", "BM_DrawScaleOnScreen", "");
    }

private:
    void ratio(const char* name, const std::string& tickRun, const std::string& fullRun,
               const char* note)
    {
        const double tickTime = m_nanoseconds[tickRun];
        const double fullTime = m_nanoseconds[fullRun];
        if (tickTime > 0 && fullTime > 0) {
            std::printf("%s: tick / full redraw = %.4f (1 : %.1f)%s\n", name, tickTime / fullTime,
                        fullTime / tickTime, note);
        }
    }

    std::map<std::string, double> m_nanoseconds;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    prepareApplication(app);
    fixture = std::make_unique<Fixture>();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    fixture.reset();
    return 0;
}

// Paints the exercise window, as a pupil sees it a moment after connecting the meter, into a
// PNG for the software centre. The task is drawn from a fixed seed, so the picture changes
// only when the window's drawing does.
//
// Usage: voltmetr_screenshot OUT.png   (any platform; offscreen needs no display)
#include "exercise/zkouseni.h"
#include "quiethost.h"
#include "ui/application.h"

#include <QApplication>
#include <QImage>
#include <QTextStream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    voltmetr::prepareApplication(app);
    QTextStream err(stderr);
    if (QCoreApplication::arguments().size() != 2) {
        err << "usage: voltmetr_screenshot OUT.png\n";
        return 2;
    }
    voltmetr::bench::QuietWindowHost host{0.3f};
    voltmetr::Data_a_promene state;
    voltmetr::Info2 coder{host};
    voltmetr::WindowContext context{host, state, coder};
    voltmetr::Zkouseni window{context};
    window.show();
    QApplication::processEvents();
    // The needle's swing, tick by tick, until it rests.
    const auto settle = [&window] {
        for (int tick = 0; tick < 10'000 && window.casovac().isActive(); ++tick) {
            window.casovac_Timer();
        }
    };
    // This seed's task: connected on the highest range the needle swings backwards, so the
    // pupil disconnects, reverses the polarity, connects again and turns the range down to
    // 2.4 V, where the needle stands in the middle of the scale.
    window.RozLB_Click(7);
    window.Pripoj_Click();
    settle();
    window.Pripoj_Click();
    window.Prepoluj_Click();
    window.Pripoj_Click();
    window.RozLB_Click(2);
    settle();
    QApplication::processEvents();
    const QImage image = window.grab().toImage();
    if (!image.save(QCoreApplication::arguments().at(1), "PNG")) {
        err << "cannot write " << QCoreApplication::arguments().at(1) << '\n';
        return 1;
    }
    return 0;
}

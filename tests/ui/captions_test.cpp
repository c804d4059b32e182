#include "results/genlist.h"
#include "results/souhrn.h"
#include "results/windowfixture.h"
#include "signin/welcome.h"
#include "ui/info.h"

#include <QAbstractButton>
#include <QRadioButton>

namespace voltmetr {
namespace {

// The elements whose caption does not fit them: the fonts the windows get on a pupil's
// computer are not the ones they were laid out for.
QStringList clippedCaptions(QWidget& window)
{
    QStringList clipped;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const bool fits =
            label->wordWrap()
                ? label->heightForWidth(label->width()) <= label->height()
                : label->sizeHint().height() <= label->height() &&
                      label->fontMetrics().horizontalAdvance(label->text()) <= label->width();
        if (!fits) {
            clipped << label->objectName();
        }
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        // The caption with room for the frame and a radio button's circle.
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        const int frame = qobject_cast<QRadioButton*>(button) ? 26 : 6;
        if (text.width() + frame > button->width() || text.height() > button->height()) {
            clipped << button->objectName();
        }
    }
    return clipped;
}

class WindowCaptions : public testing::WindowFixture
{
};

TEST_F(WindowCaptions, FitTheirElements)
{
    // The widest texts: a summary of an e-mail run, whose totals are "not available".
    state.EmailMode = true;
    state.RightCount = 20;
    state.WrongCount = 20;
    const struct
    {
        const char* name;
        std::function<std::unique_ptr<QDialog>(WindowContext&)> open;
    } cases[] = {
        {"Vítejte", [](WindowContext& c) { return std::make_unique<Welcome>(c); }},
        {"Informace", [](WindowContext& c) { return std::make_unique<info>(c); }},
        {"Souhrn", [](WindowContext& c) { return std::make_unique<Souhrn>(c); }},
        {"Generované informace", [](WindowContext& c) { return std::make_unique<GenList>(c); }},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<QDialog> window = c.open(context);
        window->show();
        EXPECT_EQ(clippedCaptions(*window), QStringList()) << c.name;
    }
}

} // namespace
} // namespace voltmetr

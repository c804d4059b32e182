#pragma once

#include "exercise/zkouseni.h"
#include "results/info2.h"
#include "support/scriptedhost.h"
#include "ui/windowcontext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QByteArray>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace voltmetr::testing {

// One run's worth of what every window is handed, on a scripted desktop, with the school
// database looked for wherever the test says.
class RunFixture : public ::testing::Test
{
protected:
    RunFixture() : m_savedDatabase(qgetenv("VOLTMETR_DB")) {}
    ~RunFixture() override
    {
        qputenv("VOLTMETR_DB", m_savedDatabase);
        // The exercise window a sign-in opened is not the test's to keep.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->inherits("voltmetr::Zkouseni")) {
                delete window;
            }
        }
        EXPECT_EQ(host.pendingScripts(), 0u) << "a scripted answer was never asked for";
    }

    // The exercise window that a sign-in opened, if one is showing.
    static Zkouseni* shownExercise()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* exercise = qobject_cast<Zkouseni*>(window);
                exercise && exercise->isVisible()) {
                return exercise;
            }
        }
        return nullptr;
    }

    // The elements of a window whose caption does not fit them at the design font.
    static QStringList clippedCaptions(QWidget& window)
    {
        QStringList clipped;
        for (QLabel* label : window.findChildren<QLabel*>()) {
            const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                 : label->sizeHint().height();
            const int width =
                label->wordWrap() ? 0 : label->fontMetrics().horizontalAdvance(label->text());
            if (needed > label->height() || width > label->width()) {
                clipped << label->objectName();
            }
        }
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            // The caption itself, with room for the frame; the style's minimum button size
            // is no clipping.
            const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
            const int indicator = qobject_cast<QRadioButton*>(button) ? 20 : 0;
            if (text.width() + indicator + 6 > button->width() ||
                text.height() > button->height()) {
                clipped << button->objectName();
            }
        }
        return clipped;
    }

    static void useDatabase(const QString& path) { qputenv("VOLTMETR_DB", path.toUtf8()); }

    // Clicks the named button of a window.
    static void click(QWidget& window, const char* button)
    {
        auto* found = window.findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(found, nullptr) << button;
        found->click();
    }

    ScriptedHost host;
    Data_a_promene state;
    Info2 coder{host};
    WindowContext context{host, state, coder};

private:
    QByteArray m_savedDatabase;
};

} // namespace voltmetr::testing

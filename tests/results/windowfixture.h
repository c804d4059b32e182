#pragma once

#include "exercise/zkouseni.h"
#include "results/info2.h"
#include "schoolfile.h"
#include "support/scriptedhost.h"
#include "ui/windowcontext.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace voltmetr::testing {

// What every window is handed, on a scripted desktop, with the school database at a file of
// the test's own.
class WindowFixture : public ::testing::Test
{
protected:
    WindowFixture() : m_savedDatabase(qgetenv("VOLTMETR_DB")) { useDatabase(school.path()); }
    ~WindowFixture() override
    {
        qputenv("VOLTMETR_DB", m_savedDatabase);
        // The exercise windows a sign-in opened are not the test's to keep.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            delete qobject_cast<Zkouseni*>(window);
        }
        EXPECT_EQ(host.pendingScripts(), 0u) << "a scripted answer was never asked for";
    }

    static void useDatabase(const QString& path) { qputenv("VOLTMETR_DB", path.toUtf8()); }

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

    static void click(QWidget& window, const char* button)
    {
        auto* found = window.findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(found, nullptr) << button;
        found->click();
    }

    // The captions of the labels family0 to family2, as the summary shows its counts.
    static QStringList captions(QWidget& window, const char* family)
    {
        QStringList texts;
        for (int i = 0; i < 3; ++i) {
            const auto* label =
                window.findChild<QLabel*>(QString::fromLatin1(family) + QString::number(i));
            texts << (label ? label->text() : QStringLiteral("<none>"));
        }
        return texts;
    }

    SchoolFile school;
    ScriptedHost host;
    Data_a_promene state;
    Info2 coder{host};
    WindowContext context{host, state, coder};

private:
    QByteArray m_savedDatabase;
};

} // namespace voltmetr::testing

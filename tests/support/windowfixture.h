#pragma once

#include "exercise/zkouseni.h"
#include "programflow.h"
#include "report/info2.h"
#include "results/souhrn.h"
#include "support/schoolfile.h"
#include "support/scriptedhost.h"
#include "ui/windowcontext.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

namespace voltmetr::testing {

// The program's windows in their order, on a scripted desktop, with the school database at a
// file of the test's own.
class WindowFixture : public ::testing::Test
{
protected:
    WindowFixture() { qputenv("VOLTMETR_DB", school.path().toUtf8()); }
    ~WindowFixture() override { EXPECT_EQ(host.pendingScripts(), 0u) << "an answer never asked"; }

    static Zkouseni* shownExercise()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* exercise = qobject_cast<Zkouseni*>(window); exercise && window->isVisible()) {
                return exercise;
            }
        }
        return nullptr;
    }

    template <typename T = QPushButton> static T& child(QWidget& window, const char* name)
    {
        if (auto* found = window.findChild<T*>(QString::fromLatin1(name))) {
            return *found;
        }
        throw std::runtime_error(std::string("no element ") + name);
    }
    static void click(QWidget& window, const char* button) { child(window, button).click(); }

    // Lets the summary's save end, with the event loop running, as the pupil waits for it.
    static void awaitSave(QWidget& summary)
    {
        QSignalSpy ended(qobject_cast<Souhrn*>(&summary), &Souhrn::saveEnded);
        ASSERT_TRUE(child(summary, "Command1").isEnabled() || ended.wait(60'000)) << "no save end";
    }

    SchoolFile school;
    ScriptedHost host;
    Data_a_promene state;
    Info2 coder{host};
    WindowContext context{host, state, coder};
    ProgramFlow flow{context}; // goes first, with the exercise it opened
};

} // namespace voltmetr::testing

// The report window as the pupil sees it.
#include "results/genlist.h"
#include "support/windowfixture.h"
#include "ui/twips.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace voltmetr {
namespace {

using GenListBox = testing::WindowFixture;

// A report long enough for the vertical scroll bar: every line of ten tokens shows whole,
// beside that bar, in the face actually drawn, and the box keeps its place.
TEST_F(GenListBox, EveryReportLineShowsWholeInTheBox)
{
    host.queueRandom({0.5f});
    coder.InitReportCoder();
    coder.AppendEncoded(QStringLiteral("Student: Jan Novák\r\nTřída: 3.B\r\n").repeated(8));
    GenList window(context);
    window.show();
    QApplication::processEvents();

    auto& box = child<QPlainTextEdit>(window, "data");
    EXPECT_EQ(box.geometry(), twipsRect(120, 120, 4095, 3375));
    EXPECT_EQ(QFontInfo(box.font()).family(), QStringLiteral("Liberation Mono"));
    EXPECT_GE(box.font().pointSizeF(), 9.5) << "still a size a pupil reads at a glance";
    ASSERT_TRUE(box.verticalScrollBar()->isVisible()) << "the report is too short to test";

    const QString longestLine = QStringLiteral("xx ").repeated(10);
    const double room = box.viewport()->width() - 2 * box.document()->documentMargin();
    EXPECT_LE(QFontMetricsF(box.font(), &box).horizontalAdvance(longestLine), room);
    EXPECT_FALSE(box.horizontalScrollBar()->isVisible());
    EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0);
    for (QTextBlock line = box.document()->begin(); line.isValid(); line = line.next()) {
        EXPECT_EQ(line.layout()->lineCount(), 1) << line.text().toStdString();
    }
}

} // namespace
} // namespace voltmetr

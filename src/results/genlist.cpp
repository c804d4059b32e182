#include "results/genlist.h"

#include "report/reportfile.h"
#include "report/reportkey.h"
#include "ui/designelements.h"
#include "ui/twips.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>

namespace voltmetr {

namespace {

// The design's 12 pt Courier was drawn for a narrower face than Courier New and its twin
// Liberation Mono, in which a report line breaks after eight of its ten tokens. The box keeps
// its place and its face; the size steps down by half a point until a whole line fits beside
// the vertical scroll bar that a long report needs, so no line is broken and none scrolls
// sideways.
QFont reportFont(const QPlainTextEdit& box)
{
    const QString longestLine = QStringLiteral("xx ").repeated(ReportTokensPerLine);
    const double room =
        box.width() - 2 * box.frameWidth() - 2 * box.document()->documentMargin() -
        box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, box.verticalScrollBar()) -
        box.cursorWidth();
    QFont font = designFont(QStringLiteral("Courier"), 12);
    while (font.pointSizeF() > 6 &&
           QFontMetricsF(font, &box).horizontalAdvance(longestLine) > room) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    return font;
}

} // namespace

GenList::GenList(WindowContext& context, QWidget* parent)
    : QDialog(parent, fixedDialogFlags), m_context(context)
{
    setWindowTitle(QStringLiteral("Generované informace pro vyučujícího"));
    setFixedClientTwips(*this, 4320, 4440);

    m_data = new QPlainTextEdit(this);
    m_data->setObjectName(QStringLiteral("data"));
    m_data->setAccessibleName(QStringLiteral("Zpráva pro vyučujícího"));
    placeTwips(*m_data, 120, 120, 4095, 3375);
    m_data->setReadOnly(true);
    m_data->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_data->setFont(reportFont(*m_data));
    // The box breaks lines at LF; the report's CR LF stays as it is for clipboard and file.
    m_data->setPlainText(
        m_context.coder.GetReportText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    const QFont font = designFont(QStringLiteral("MS Sans Serif"), 8.25);
    const auto addButton = [this, &font](const char* name, const QString& caption, int left,
                                         int width) {
        QPushButton* button =
            makeButton(*this, QString::fromLatin1(name), caption, left, 3600, width, 735, font);
        // Enter in the report box must not copy, save or end by accident.
        button->setAutoDefault(false);
        // A screen reader reads the caption as one line.
        button->setAccessibleName(QString(caption).remove(QLatin1Char('&')).replace(u'\n', u' '));
        return button;
    };
    // The buttons are narrow: their captions break into lines.
    QPushButton* clipbrd = addButton("clipbrd", QStringLiteral("&Vložit do\nschránky"), 120, 1215);
    QPushButton* txtfile =
        addButton("txtfile", QStringLiteral("&Uložit do\ntextového\nsouboru"), 1440, 1335);
    QPushButton* finish = addButton("final", QStringLiteral("&Konec"), 2880, 1335);
    setTabOrder(m_data, clipbrd);
    setTabOrder(clipbrd, txtfile);
    setTabOrder(txtfile, finish);
    m_data->setFocus();

    connect(clipbrd, &QPushButton::clicked, this, &GenList::clipbrd_Click);
    connect(txtfile, &QPushButton::clicked, this, &GenList::txtfile_Click);
    connect(finish, &QPushButton::clicked, this, &GenList::final_Click);
}

void GenList::clipbrd_Click()
{
    m_context.host.setClipboardText(m_context.coder.GetReportText());
}

void GenList::txtfile_Click()
{
    Host& host = m_context.host;
    const std::optional<QString> path = host.askSaveFileName(
        {QStringLiteral("Vyber umístění a jméno souboru"),
         QStringLiteral("Vysledky"),
         QStringLiteral("txt"),
         {QStringLiteral("Textové soubory (*.txt)"), QStringLiteral("Všechny soubory (*.*)")}});
    if (!path) {
        return;
    }
    const QString error = writeReportFile(*path, m_context.coder.GetReportText());
    if (!error.isEmpty()) {
        host.messageBox(QStringLiteral("Soubor se nepodařilo uložit:\n%1\n\nDůvod: %2\n\n"
                                       "Zkus jiné místo nebo vlož zprávu do schránky.")
                            .arg(*path, error),
                        QStringLiteral("Chyba při ukládání"), MessageStyle::OkCritical);
    }
}

void GenList::final_Click()
{
    done(QDialog::Accepted);
    m_context.host.endProgram();
}

void GenList::reject()
{
    final_Click();
}

} // namespace voltmetr

#include "results/souhrn.h"

#include "results/genlist.h"
#include "results/runsummary.h"
#include "school/resultsstore.h"
#include "ui/designelements.h"
#include "ui/twips.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace voltmetr {

namespace {

constexpr unsigned int green = 0x00008000;
constexpr unsigned int darkRed = 0x00000080;

const QString notAvailable = QStringLiteral("není k dispozici");
const QString storing = QStringLiteral("ukládám…");

QString storeFailedMessage(const QString& reason)
{
    return QStringLiteral("Výsledek se nepodařilo uložit do školní databáze.\n\nDůvod: %1\n\n"
                          "Nic se neztratilo: po stisknutí OK dostaneš výsledek jako "
                          "zakódovanou zprávu. Vlož ji do schránky nebo ulož do souboru "
                          "a předej ji vyučujícímu.")
        .arg(reason);
}

// All, right and wrong, in the three labels of one block.
void showCounts(const std::array<QLabel*, 3>& labels, std::int64_t right, std::int64_t wrong)
{
    labels[0]->setText(countCaption(right + wrong));
    labels[1]->setText(countCaption(right));
    labels[2]->setText(countCaption(wrong));
}

} // namespace

Souhrn::Souhrn(WindowContext& context, QWidget* parent)
    : QDialog(parent, fixedDialogFlags), m_context(context)
{
    setWindowTitle(QStringLiteral("Souhrn"));
    setFixedClientTwips(*this, 4680, 3255);
    const QFont font = designFont(QStringLiteral("MS Sans Serif"), 12);
    const auto label = [this, &font](const QString& name, const QString& caption, int left, int top,
                                     int width, unsigned int bgr, Qt::Alignment alignment) {
        return makeLabel(
            *this, {name, caption, left, top, width, 300, font, alignment | Qt::AlignVCenter, bgr});
    };
    const auto count = [&label](const QString& name, int top, int width, unsigned int bgr) {
        return label(name, {}, 2640, top, width, bgr, Qt::AlignRight);
    };
    constexpr unsigned int black = 0x00000000;

    label(QStringLiteral("Label1"), QStringLiteral("Dnes jsi spočítal:"), 120, 120, 1920, black,
          Qt::AlignLeft);
    label(QStringLiteral("Label3"), QStringLiteral("Dobře:"), 360, 480, 780, green, Qt::AlignLeft);
    label(QStringLiteral("Label4"), QStringLiteral("Špatně:"), 360, 840, 855, darkRed,
          Qt::AlignLeft);
    m_today = {count(QStringLiteral("Dnes0"), 120, 1830, black),
               count(QStringLiteral("Dnes1"), 480, 1830, green),
               count(QStringLiteral("Dnes2"), 840, 1845, darkRed)};

    label(QStringLiteral("Label2"), QStringLiteral("Celkem jsi spočítal:"), 120, 1440, 2160, black,
          Qt::AlignLeft);
    label(QStringLiteral("Label5"), QStringLiteral("Dobře:"), 360, 1800, 780, green, Qt::AlignLeft);
    label(QStringLiteral("Label6"), QStringLiteral("Špatně:"), 360, 2160, 855, darkRed,
          Qt::AlignLeft);
    m_total = {count(QStringLiteral("Celk0"), 1320, 1830, black),
               count(QStringLiteral("Celk1"), 1680, 1830, green),
               count(QStringLiteral("Celk2"), 2040, 1845, darkRed)};

    m_ok = makeButton(*this, QStringLiteral("Command1"), QStringLiteral("&OK"), 1680, 2640, 1455,
                      495, designFont(QStringLiteral("MS Sans Serif"), 13.5, true));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &Souhrn::Command1_Click);

    const Data_a_promene& state = m_context.state;
    if (state.EmailMode) {
        encodeReport(emailReportInputs(state, m_context.host.now()));
    } else {
        storeRun();
    }
    showCounts(m_today, state.RightCount, state.WrongCount);
}

void Souhrn::storeRun()
{
    const double now = m_context.host.now();
    const ResultRow row = resultRowFor(m_context.state, now, m_context.host.loginName());
    m_save =
        new BackgroundSave(ResultsStore(schoolDatabasePath()), row, m_context.state.TaskLog, this);
    connect(m_save, &BackgroundSave::finished, this,
            [this, now] { showStored(m_save->result(), now); });
    for (QLabel* label : m_total) {
        label->setText(storing);
    }
    m_ok->setEnabled(false);
}

void Souhrn::showStored(const RunStored& stored, double now)
{
    if (stored.totals) {
        showCounts(m_total, stored.totals->rightCount, stored.totals->wrongCount);
    } else {
        m_context.host.messageBox(storeFailedMessage(stored.error),
                                  QStringLiteral("Školní databáze"), MessageStyle::OkCritical);
        // The coder is prepared only at an e-mail sign-in, so its key is loaded here.
        m_context.coder.InitReportCoder();
        encodeReport(fallbackReportInputs(m_context.state, now));
    }
    m_ok->setEnabled(true);
    m_ok->setFocus();
    Q_EMIT saveEnded();
}

void Souhrn::encodeReport(const ReportInputs& inputs)
{
    m_handsOutReport = true;
    Info2& coder = m_context.coder;
    coder.StartReport();
    coder.AppendEncoded(composeReportText(inputs, QLocale::system()));
    for (QLabel* label : m_total) {
        label->setText(notAvailable);
    }
}

void Souhrn::Command1_Click()
{
    // Enter, Esc or the desktop's close while the row is being stored: the pupil waits for it.
    if (m_save != nullptr && m_save->isRunning()) {
        return;
    }
    done(QDialog::Accepted);
    if (m_handsOutReport) {
        GenList report(m_context, parentWidget());
        m_context.host.showModal(report);
    } else {
        m_context.host.endProgram();
    }
}

void Souhrn::reject()
{
    Command1_Click();
}

void Souhrn::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // An etched rule between today's and the all-time counts.
    QPainter painter(this);
    const QRect rule = twipsRect(120, 1200, 4440, 0);
    painter.setPen(QPen(bgrColor(0x00808080), 1));
    painter.drawLine(rule.left(), rule.top(), rule.right(), rule.top());
    painter.setPen(QPen(bgrColor(0x00FFFFFF), 1));
    painter.drawLine(rule.left(), rule.top() + 1, rule.right(), rule.top() + 1);
}

} // namespace voltmetr

#include "results/souhrn.h"

#include "app/procedury.h"
#include "results/genlist.h"
#include "results/resultsstore.h"
#include "results/runsummary.h"
#include "ui/twips.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace voltmetr {

namespace {

constexpr unsigned int green = 0x00008000;
constexpr unsigned int darkRed = 0x00000080;

const QString notAvailable = QStringLiteral("není k dispozici");

QLabel* addLabel(QWidget& parent, const QString& text, const QRect& twips, unsigned int bgr,
                 Qt::Alignment alignment)
{
    auto* label = new QLabel(text, &parent);
    placeTwips(*label, twips.x(), twips.y(), twips.width(), twips.height());
    label->setAlignment(alignment | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, bgrColor(bgr));
    label->setPalette(palette);
    return label;
}

QString storeFailedMessage(const QString& reason)
{
    return QStringLiteral("Výsledek se nepodařilo uložit do školní databáze.\n\nDůvod: %1\n\n"
                          "Nic se neztratilo: po stisknutí OK dostaneš výsledek jako "
                          "zakódovanou zprávu. Vlož ji do schránky nebo ulož do souboru "
                          "a předej ji vyučujícímu.")
        .arg(reason);
}

} // namespace

Souhrn::Souhrn(WindowContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint),
      m_context(context)
{
    setWindowTitle(QStringLiteral("Souhrn"));
    setFixedClientTwips(*this, 4680, 3255);
    setFont(designFont(QStringLiteral("MS Sans Serif"), 12));
    constexpr unsigned int text = 0x00000000;
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment flush = Qt::AlignRight;

    addLabel(*this, QStringLiteral("Dnes jsi spočítal:"), {120, 120, 1920, 300}, text, left);
    addLabel(*this, QStringLiteral("Dobře:"), {360, 480, 780, 300}, green, left);
    addLabel(*this, QStringLiteral("Špatně:"), {360, 840, 855, 300}, darkRed, left);
    m_today = {addLabel(*this, {}, {2640, 120, 1830, 300}, text, flush),
               addLabel(*this, {}, {2640, 480, 1830, 300}, green, flush),
               addLabel(*this, {}, {2640, 840, 1845, 300}, darkRed, flush)};

    addLabel(*this, QStringLiteral("Celkem jsi spočítal:"), {120, 1440, 2160, 300}, text, left);
    addLabel(*this, QStringLiteral("Dobře:"), {360, 1800, 780, 300}, green, left);
    addLabel(*this, QStringLiteral("Špatně:"), {360, 2160, 855, 300}, darkRed, left);
    m_total = {addLabel(*this, {}, {2640, 1320, 1830, 300}, text, flush),
               addLabel(*this, {}, {2640, 1680, 1830, 300}, green, flush),
               addLabel(*this, {}, {2640, 2040, 1845, 300}, darkRed, flush)};

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    placeTwips(*ok, 1680, 2640, 1455, 495);
    ok->setFont(designFont(QStringLiteral("MS Sans Serif"), 13.5, true));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Souhrn::Command1_Click);

    const Data_a_promene& state = m_context.state;
    if (state.EmailMode) {
        encodeReport(emailReportInputs(state, m_context.host.now()));
    } else {
        storeRun();
    }
    const std::int32_t right = state.RightCount;
    const std::int32_t wrong = state.WrongCount;
    m_today[0]->setText(countCaption(static_cast<std::int64_t>(right) + wrong));
    m_today[1]->setText(countCaption(right));
    m_today[2]->setText(countCaption(wrong));
}

void Souhrn::storeRun()
{
    Host& host = m_context.host;
    const double now = host.now();
    const ResultRow row = resultRowFor(m_context.state, now, host.loginName());
    const RunStored stored = ResultsStore(schoolDatabasePath()).appendRun(row);
    if (!stored.stored) {
        host.messageBox(storeFailedMessage(stored.error), QStringLiteral("Školní databáze"),
                        MessageStyle::OkCritical);
        // The coder is prepared only at an e-mail sign-in, so its key is loaded here.
        m_context.coder.InitReportCoder();
        encodeReport(fallbackReportInputs(m_context.state, now));
        return;
    }
    if (!stored.totals) {
        for (QLabel* label : m_total) {
            label->setText(notAvailable);
        }
        return;
    }
    const PupilTotals& totals = *stored.totals;
    m_total[0]->setText(countCaption(totals.rightCount + totals.wrongCount));
    m_total[1]->setText(countCaption(totals.rightCount));
    m_total[2]->setText(countCaption(totals.wrongCount));
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

#include "pupilpage.h"

#include "app/oledate.h"
#include "app/procedury.h"
#include "shareformat.h"
#include "taskreplay.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace voltmetr::teacher {

namespace {

const QLocale czech(QLocale::Czech);

QString dateText(std::optional<double> date)
{
    return date ? dayText(fromOleDate(*date).date()) : QStringLiteral("–");
}

QString timeText(std::optional<double> time)
{
    return time ? fromOleDate(*time).time().toString(u"H:mm") : QStringLiteral("–");
}

QStandardItem* cell(const QString& text, bool figure = true)
{
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setTextAlignment(figure ? Qt::AlignRight | Qt::AlignVCenter
                                  : Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

QTableView* tableView(QStandardItemModel* model, const QString& name, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setAccessibleName(name);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setTabKeyNavigation(false); // Tab goes on to the next control
    view->verticalHeader()->hide();
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return view;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

ProgressChart::ProgressChart(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Průběh úspěšnosti po dnech"));
    setMinimumSize(320, 160);
}

void ProgressChart::setDays(std::map<double, Share> days, const QString& none)
{
    m_days = std::move(days);
    QStringList figures;
    for (const auto& [date, share] : m_days) {
        figures << QStringLiteral("%1 %2 (%3 z %4)")
                       .arg(dateText(date),
                            rightShareText(share.right, share.all - share.right, czech))
                       .arg(share.right)
                       .arg(share.all);
    }
    setAccessibleDescription(
        figures.isEmpty()
            ? none
            : QStringLiteral("Úspěšnost po dnech: %1.").arg(figures.join(QStringLiteral("; "))));
    update();
}

void ProgressChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(font());
    const double labelWidth = metrics.horizontalAdvance(percentText(1, czech, 0)) + 8;
    const QRectF plot =
        QRectF(rect()).adjusted(labelWidth, metrics.height() / 2 + 2, -16, -(metrics.height() + 6));
    const auto yOf = [&](double share) { return plot.bottom() - share * plot.height(); };

    // The share axis with the bands' bounds.
    for (const double share : {0.0, 0.5, 0.8, 1.0}) {
        painter.setPen(
            QPen(palette().color(QPalette::Mid), 1, share == 0.0 ? Qt::SolidLine : Qt::DotLine));
        painter.drawLine(QPointF(plot.left(), yOf(share)), QPointF(plot.right(), yOf(share)));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(
            QRectF(0, yOf(share) - metrics.height() / 2, labelWidth - 4, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, percentText(share, czech, 0));
    }
    if (m_days.empty()) {
        painter.drawText(plot, Qt::AlignCenter, accessibleDescription());
        return;
    }

    // The dates on a time axis: the first on the left, the last on the right.
    const double first = m_days.begin()->first;
    const double span = m_days.rbegin()->first - first;
    const auto xOf = [&](double date) {
        return span > 0 ? plot.left() + (date - first) / span * plot.width() : plot.center().x();
    };
    const double labelY = plot.bottom() + 4;
    painter.drawText(QRectF(plot.left(), labelY, 200, metrics.height()),
                     span > 0 ? Qt::AlignLeft : Qt::AlignHCenter, dateText(first));
    if (span > 0) {
        painter.drawText(QRectF(plot.right() - 200 + 16, labelY, 200, metrics.height()),
                         Qt::AlignRight, dateText(m_days.rbegin()->first));
    }

    QPainterPath line;
    std::vector<std::pair<QPointF, double>> points;
    for (const auto& [date, share] : m_days) {
        if (const std::optional<double> right = share.rightShare()) {
            const QPointF point(xOf(date), yOf(*right));
            points.emplace_back(point, *right);
            if (points.size() == 1) {
                line.moveTo(point);
            } else {
                line.lineTo(point);
            }
        }
    }
    painter.setPen(QPen(palette().color(QPalette::Text), 1.5));
    painter.drawPath(line);
    painter.setPen(Qt::NoPen);
    for (const auto& [point, share] : points) {
        painter.setBrush(QColor(shareBandColour(shareBand(share))));
        painter.drawEllipse(point, 4, 4);
    }
}

PupilPage::PupilPage(QString location, QWidget* parent)
    : QWidget(parent), m_location(std::move(location)), m_summary(new QLabel(this)),
      m_chart(new ProgressChart(this)), m_runs(new QStandardItemModel(this)),
      m_tasks(new QStandardItemModel(this)),
      m_runsView(tableView(m_runs, QStringLiteral("Cvičení žáka"), this)),
      m_tasksView(tableView(m_tasks, QStringLiteral("Úlohy vybraného cvičení"), this)),
      m_replay(new TaskReplay(this))
{
    m_summary->setWordWrap(true);
    m_summary->setAccessibleName(QStringLiteral("Souhrn žáka"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_runs->setHorizontalHeaderLabels({QStringLiteral("Datum"), QStringLiteral("Začátek"),
                                       QStringLiteral("Konec"), QStringLiteral("Správně"),
                                       QStringLiteral("Chybně"), QStringLiteral("Úspěšnost"),
                                       QStringLiteral("Úlohy")});
    m_tasks->setHorizontalHeaderLabels(
        {QStringLiteral("Č."), QStringLiteral("Měřák"), QStringLiteral("Napětí"),
         QStringLiteral("Nejlepší rozsah"), QStringLiteral("Použitý rozsah"),
         QStringLiteral("Přepnutí rozsahu"), QStringLiteral("Přepólování"),
         QStringLiteral("Přetížení"), QStringLiteral("Odpověď"), QStringLiteral("Výsledek"),
         QStringLiteral("Pravděpodobná příčina"), QStringLiteral("Čas")});

    auto* runsColumn = new QVBoxLayout;
    runsColumn->addWidget(buddyLabel(QStringLiteral("&Cvičení:"), m_runsView, this));
    runsColumn->addWidget(m_runsView);
    auto* top = new QHBoxLayout;
    top->addWidget(m_chart, 1);
    top->addLayout(runsColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addLayout(top, 2);
    layout->addWidget(buddyLabel(QStringLiteral("Ú&lohy vybraného cvičení (vybraná se přehraje "
                                                "pod tabulkou):"),
                                 m_tasksView, this));
    layout->addWidget(m_tasksView, 2);
    layout->addWidget(m_replay);

    QObject::connect(m_runsView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                     [this](const QModelIndex& current) { showRun(current.row()); });
    QObject::connect(m_tasksView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                     [this](const QModelIndex& current) { showTask(current.row()); });
}

void PupilPage::showPupil(const QString& surname, const QString& pupilClass, const Period& period)
{
    m_surname = surname;
    m_class = pupilClass;
    QString failure;
    std::optional<PupilHistory> history =
        readPupilHistoryAt(m_location, surname, pupilClass, period, failure);
    m_history = history ? std::move(*history) : PupilHistory();
    m_shownRun = -1;

    Tally all;
    m_runs->removeRows(0, m_runs->rowCount());
    for (const PupilRun& run : m_history.runs) {
        const Tally& tally = run.tally;
        all.add(tally);
        auto* share = cell(rightShareText(tally.right, tally.wrong, czech));
        if (const std::optional<double> right = tally.rightShare()) {
            share->setForeground(QColor(shareBandColour(shareBand(*right))));
        }
        m_runs->appendRow(
            {cell(dateText(run.date), false), cell(timeText(run.startTime)),
             cell(timeText(run.endTime)), cell(QString::number(tally.right)),
             cell(QString::number(tally.wrong)), share,
             cell(m_history.taskLogPresent ? QString::number(tally.tasks) : QStringLiteral("–"))});
    }
    m_chart->setDays(m_history.byDate(), period.whole()
                                             ? QStringLiteral("Žák zatím necvičil.")
                                             : QStringLiteral("Žák v tomto období necvičil."));
    if (!failure.isEmpty()) {
        m_summary->setText(failure);
    } else {
        m_summary->setText(
            QStringLiteral("%1, %2, %3: %4 cvičení, %5 úloh v záznamu, úspěšnost %6.\n%7")
                .arg(surname, pupilClass, periodText(period), QString::number(all.runs),
                     QString::number(all.tasks), rightShareText(all.right, all.wrong, czech),
                     rightShareDefinition()));
    }
    m_summary->setStyleSheet(
        failure.isEmpty() ? QString()
                          : QStringLiteral("color:%1").arg(shareBandColour(ShareBand::Weak)));
    showRun(-1);
    if (m_runs->rowCount() > 0) {
        m_runsView->setCurrentIndex(m_runs->index(m_runs->rowCount() - 1, 0));
    }
}

void PupilPage::showRun(int row)
{
    m_shownRun = row;
    m_tasks->removeRows(0, m_tasks->rowCount());
    m_replay->clear();
    if (row < 0 || row >= static_cast<int>(m_history.runs.size())) {
        return;
    }
    MeterTables tables;
    FillTables(tables);
    for (const TaskRecord& task : m_history.runs[static_cast<std::size_t>(row)].tasks) {
        const std::optional<MistakeKind> cause = likeliestCause(task, tables);
        m_tasks->appendRow(
            {cell(QString::number(task.order)),
             cell(QStringLiteral("%1 dílků").arg(task.divisions)),
             cell(voltsText(task.voltage, czech)), cell(voltsText(task.bestRange, czech)),
             cell(voltsText(task.rangeInUse, czech)), cell(QString::number(task.rangeChanges)),
             cell(QString::number(task.polarityReversals)), cell(QString::number(task.overloads)),
             cell(task.typed ? *task.typed : QStringLiteral("–"), false),
             cell(verdictText(task), false),
             cell(cause ? mistakeKindName(*cause) : QStringLiteral("–"), false),
             cell(czech.toString(task.seconds, 'f', 1) + QStringLiteral(" s"))});
    }
    if (m_tasks->rowCount() > 0) {
        m_tasksView->setCurrentIndex(m_tasks->index(0, 0));
    }
}

void PupilPage::showTask(int row)
{
    const std::size_t run = static_cast<std::size_t>(m_shownRun);
    if (m_shownRun < 0 || row < 0 || row >= static_cast<int>(m_history.runs[run].tasks.size())) {
        m_replay->clear();
        return;
    }
    m_replay->showTask(m_history.runs[run].tasks[static_cast<std::size_t>(row)]);
}

} // namespace voltmetr::teacher

#include "mailpage.h"

#include "teacherwindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace voltmetr::teacher {

namespace {

QString pupilText(const Profile& pupil)
{
    return QStringLiteral("%1 (%2)").arg(pupil.surname, pupil.className);
}

QString ownerText(const ReportStanding& standing)
{
    if (standing.newPupil) {
        return QStringLiteral("nový žák %1").arg(pupilText(standing.owner.storedAs));
    }
    switch (standing.owner.found) {
    case ReportOwner::Found::ListedPupil:
        return standing.assigned
                   ? QStringLiteral("%1, přiřadil učitel").arg(pupilText(standing.owner.storedAs))
                   : pupilText(standing.owner.storedAs);
    case ReportOwner::Found::SeveralFit: {
        QStringList fitting;
        for (const Profile& pupil : standing.owner.fitting) {
            fitting << pupil.surname;
        }
        return QStringLiteral("více žáků se hodí: %1").arg(fitting.join(QStringLiteral(", ")));
    }
    case ReportOwner::Found::NoneFits:
        break;
    }
    return QStringLiteral("nepřiřazeno");
}

QString stateText(ReportState state)
{
    switch (state) {
    case ReportState::Stored:
        return QStringLiteral("už uloženo");
    case ReportState::RunStored:
        return QStringLiteral("už uloženo programem žáka");
    case ReportState::ToStore:
        break;
    }
    return QStringLiteral("k uložení");
}

// "05.12.2026 08:00–08:45", the day once when the run ended on the day it began.
QString whenText(const ReportFields& fields)
{
    const qsizetype day = fields.from.indexOf(u' ');
    if (day > 0 && fields.to.startsWith(fields.from.first(day + 1))) {
        return QStringLiteral("%1–%2").arg(fields.from, fields.to.sliced(day + 1));
    }
    return QStringLiteral("%1 – %2").arg(fields.from, fields.to);
}

void setRow(QTableWidget& view, int row, const QStringList& cells)
{
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setToolTip(cells[column]); // the whole of a cell cut at the window's edge
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        view.setItem(row, column, item);
    }
}

} // namespace

MailPage::MailPage(TeacherWindow& window)
    : QWidget(window.pages()), m_window(window), m_view(new QTableWidget(this)),
      m_pupils(new QComboBox(this)), m_assign(new QPushButton(QStringLiteral("Př&iřadit"), this)),
      m_newPupil(new QPushButton(QStringLiteral("Přidat jako &nového žáka"), this)),
      m_status(new QLabel(this))
{
    auto* open = new QPushButton(QStringLiteral("&Otevřít poštu…"), this);
    auto* hint = new QLabel(QStringLiteral("Uložené e-maily, poštovní schránky a texty se "
                                           "zprávami žáků přetáhněte do okna nebo je otevřete."),
                            this);
    hint->setWordWrap(true);
    auto* top = new QHBoxLayout;
    top->addWidget(hint, 1);
    top->addWidget(open);

    auto* viewLabel = new QLabel(QStringLiteral("&Zprávy:"), this);
    viewLabel->setBuddy(m_view);
    m_view->setColumnCount(ColumnCount);
    m_view->setHorizontalHeaderLabels({QStringLiteral("Jméno"), QStringLiteral("Třída"),
                                       QStringLiteral("Kdy"), QStringLiteral("Dobře"),
                                       QStringLiteral("Špatně"), QStringLiteral("Čí je"),
                                       QStringLiteral("Stav"), QStringLiteral("Odkud")});
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setTabKeyNavigation(false);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // A damaged report's reason is long: cut at a width of its own, whole in its tool tip.
    m_view->horizontalHeader()->setSectionResizeMode(State, QHeaderView::Interactive);
    m_view->horizontalHeader()->resizeSection(State, 190);
    m_view->horizontalHeader()->setSectionResizeMode(Source, QHeaderView::Stretch);
    m_view->setWordWrap(false);
    m_view->setAccessibleName(QStringLiteral("Zprávy"));

    auto* pupilLabel = new QLabel(QStringLiteral("Žák ze s&eznamu:"), this);
    pupilLabel->setBuddy(m_pupils);
    m_pupils->setAccessibleName(QStringLiteral("Žák ze seznamu"));
    m_assign->setToolTip(QStringLiteral("Vybrané zprávy patří zvolenému žákovi ze seznamu"));
    m_newPupil->setToolTip(
        QStringLiteral("Jméno a třída z vybraných zpráv se při uložení přidají do seznamu žáků"));
    auto* assignment = new QHBoxLayout;
    assignment->addWidget(pupilLabel);
    assignment->addWidget(m_pupils, 1);
    assignment->addWidget(m_assign);
    assignment->addWidget(m_newPupil);

    auto* storeChosen = new QPushButton(QStringLiteral("&Uložit vybrané"), this);
    auto* storeAll = new QPushButton(QStringLiteral("Uložit &vše"), this);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* storing = new QHBoxLayout;
    storing->addWidget(m_status, 1);
    storing->addWidget(storeChosen);
    storing->addWidget(storeAll);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(viewLabel);
    layout->addWidget(m_view, 1);
    layout->addLayout(assignment);
    layout->addLayout(storing);

    // Tab goes through the page from the top, as it reads.
    QWidget::setTabOrder(open, m_view);
    QWidget::setTabOrder(m_view, m_pupils);
    QWidget::setTabOrder(m_newPupil, storeChosen);
    QObject::connect(open, &QPushButton::clicked, this, &MailPage::chooseFiles);
    QObject::connect(m_view, &QTableWidget::currentCellChanged, this,
                     [this](int row) { offerPupilsFor(row); });
    QObject::connect(m_assign, &QPushButton::clicked, this, [this] {
        const qsizetype listed = m_pupils->currentData().toLongLong();
        for (const qsizetype report : chosenReports()) {
            m_mail.assign(report, m_listed.at(static_cast<size_t>(listed)));
        }
        showReports();
    });
    QObject::connect(m_newPupil, &QPushButton::clicked, this, [this] {
        for (const qsizetype report : chosenReports()) {
            m_mail.addAsNewPupil(report);
        }
        showReports();
    });
    QObject::connect(storeChosen, &QPushButton::clicked, this, [this] { store(chosenReports()); });
    QObject::connect(storeAll, &QPushButton::clicked, this, [this] { store(m_mail.all()); });

    QMenu* fileMenu = window.fileMenu();
    auto* openAction = new QAction(QStringLiteral("&Otevřít poštu…"), fileMenu);
    openAction->setShortcut(QKeySequence::Open);
    QObject::connect(openAction, &QAction::triggered, this, &MailPage::chooseFiles);
    fileMenu->insertAction(fileMenu->actions().value(0), openAction);
    offerPupilsFor(-1);
}

QStringList MailPage::openFiles(const QStringList& paths)
{
    QStringList withoutReports;
    QStringList unread;
    for (const QString& path : paths) {
        if (const QString failure = m_mail.addFile(path, QFileInfo(path).fileName());
            !failure.isEmpty()) {
            withoutReports << path;
            unread << failure;
        }
    }
    if (withoutReports.size() < paths.size()) {
        m_window.pages()->setCurrentWidget(this);
    }
    showReports();
    if (!unread.isEmpty()) {
        m_status->setText(unread.join(u'\n'));
    }
    return withoutReports;
}

QStringList MailPage::localFiles(const QMimeData* dragged)
{
    QStringList paths;
    for (const QUrl& url : dragged->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    return paths;
}

void MailPage::chooseFiles()
{
    m_window.pages()->setCurrentWidget(this);
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Otevřít poštu"), QString(),
        QStringLiteral("Pošta a texty (*.eml *.mbox *.mbx *.txt);;Všechny soubory (*)"));
    if (!paths.isEmpty()) {
        openFiles(paths);
    }
}

// Lists every report, then every damaged one, as the school database stands now; the row that
// was current stays so.
void MailPage::showReports()
{
    const int current = m_view->currentRow();
    const QString failure = m_mail.readStandingsAt(m_window.location(), m_listed, m_standings);
    m_status->setText(failure);
    QList<ReportNote> damaged; // each once, however often its file is opened
    for (const ReportNote& note : m_mail.scan().notes()) {
        if (note.damaged && std::none_of(damaged.cbegin(), damaged.cend(), [&](const auto& seen) {
                return seen.where == note.where && seen.text == note.text;
            })) {
            damaged << note;
        }
    }
    m_view->setRowCount(static_cast<int>(m_standings.size() + damaged.size()));
    int row = 0;
    for (; row < m_standings.size(); ++row) {
        const ScannedReport& report = m_mail.reports().at(row);
        const ReportFields& fields = report.fields;
        setRow(*m_view, row,
               {fields.pupilName, fields.pupilClass, whenText(fields),
                QString::number(fields.right), QString::number(fields.wrong),
                ownerText(m_standings[row]), stateText(m_standings[row].state), report.where});
    }
    for (const ReportNote& note : damaged) {
        QStringList cells(ColumnCount);
        cells[State] = QStringLiteral("poškozená zpráva: %1").arg(note.text);
        cells[Source] = note.where;
        setRow(*m_view, row++, cells);
    }
    if (m_view->rowCount() > 0) {
        m_view->setCurrentCell(std::clamp(current, 0, m_view->rowCount() - 1), 0);
    }
    offerPupilsFor(m_view->currentRow());
}

// The listed pupils to assign the report of row to: those of its class first.
void MailPage::offerPupilsFor(int row)
{
    const bool toStore =
        row >= 0 && row < m_standings.size() && m_standings[row].state == ReportState::ToStore;
    m_assign->setEnabled(toStore && !m_listed.empty());
    m_newPupil->setEnabled(toStore);
    m_pupils->setEnabled(m_assign->isEnabled());
    m_pupils->clear();
    if (!toStore) {
        return;
    }
    const Profile& owner = m_standings[row].owner.storedAs;
    for (const bool ofTheClass : {true, false}) {
        for (size_t i = 0; i < m_listed.size(); ++i) {
            if ((m_listed[i].className == owner.className) == ofTheClass) {
                m_pupils->addItem(pupilText(m_listed[i]), static_cast<qlonglong>(i));
            }
        }
    }
    if (m_standings[row].owner.found == ReportOwner::Found::ListedPupil) {
        m_pupils->setCurrentText(pupilText(owner));
    }
}

// The reports of the chosen rows that are not stored yet.
QList<qsizetype> MailPage::chosenReports() const
{
    QList<qsizetype> reports;
    for (const QModelIndex& row : m_view->selectionModel()->selectedRows()) {
        if (row.row() < m_standings.size() &&
            m_standings[row.row()].state == ReportState::ToStore) {
            reports << row.row();
        }
    }
    std::sort(reports.begin(), reports.end());
    return reports;
}

void MailPage::store(const QList<qsizetype>& reports)
{
    ReportsStored stored;
    const QString failure =
        m_mail.storeAt(m_window.location(), reports, MailedReports::Unassigned::Left, stored);
    showReports();
    m_window.refresh();
    if (!failure.isEmpty()) {
        m_status->setText(failure);
        return;
    }
    QString told = QStringLiteral("Uloženo výsledků: %1, už uloženo bylo: %2.")
                       .arg(stored.added)
                       .arg(stored.present + stored.runPresent);
    if (stored.waiting > 0) {
        told += QStringLiteral(" Čeká zpráv: %1; přiřaďte je žákovi ze seznamu, nebo je "
                               "přidejte jako nového žáka.")
                    .arg(stored.waiting);
    }
    m_status->setText(told);
}

} // namespace voltmetr::teacher

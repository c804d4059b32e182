#include "teacherwindow.h"

#include "classlistdialog.h"
#include "mailpage.h"
#include "overviewexport.h"
#include "periodbar.h"
#include "pupildialogs.h"
#include "pupilpage.h"
#include "shareformat.h"

#include <QComboBox>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace voltmetr::teacher {

namespace {

// The colours' meaning and the right share's, under the table as on the overview page.
QString legendText()
{
    const QLocale locale(QLocale::Czech);
    QString html = QStringLiteral("Barvy úspěšnosti:");
    for (const ShareBand band : {ShareBand::Good, ShareBand::Middle, ShareBand::Weak}) {
        html += QStringLiteral(" <span style=\"color:%1\">■</span> %2")
                    .arg(shareBandColour(band), shareBandText(band, locale).toHtmlEscaped());
    }
    return html + QStringLiteral("<br>") + rightShareDefinition().toHtmlEscaped();
}

} // namespace

TeacherWindow::TeacherWindow(QString location, QWidget* parent)
    : QMainWindow(parent), m_location(std::move(location)), m_pages(new QTabWidget(this)),
      m_fileMenu(menuBar()->addMenu(QStringLiteral("&Soubor"))),
      m_pupilMenu(menuBar()->addMenu(QStringLiteral("Žá&k"))),
      m_order(new QSortFilterProxyModel(this)), m_classes(new QComboBox(this)),
      m_period(new PeriodBar(this)), m_view(new QTableView(this)), m_problem(new QLabel(this)),
      m_pupilPage(new PupilPage(m_location, m_pages))
{
    setWindowTitle(QStringLiteral("Voltmetr – učitel"));
    setCentralWidget(m_pages);
    auto* classPage = new QWidget(m_pages);
    m_pages->addTab(classPage, QStringLiteral("Třída"));
    auto* classLabel = new QLabel(QStringLiteral("&Třída:"), this);
    classLabel->setBuddy(m_classes);
    auto* byNeed = new QPushButton(QStringLiteral("Podle &potřeby"), this);
    byNeed->setToolTip(QStringLiteral("Nejdřív kdo necvičil, pak od nejnižší úspěšnosti"));
    auto* choice = new QHBoxLayout;
    choice->addWidget(classLabel);
    choice->addWidget(m_classes, 1);
    choice->addWidget(byNeed);

    m_order->setSourceModel(&m_table);
    m_order->setSortRole(PupilTable::SortRole);
    m_view->setModel(m_order);
    m_view->setSortingEnabled(true);
    m_order->sort(-1); // the order of the statistics: by need
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setAccessibleName(QStringLiteral("Žáci"));
    auto* legend = new QLabel(legendText(), this);
    legend->setWordWrap(true);
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color:%1").arg(shareBandColour(ShareBand::Weak)));
    m_problem->hide();

    auto* layout = new QVBoxLayout(classPage);
    layout->addLayout(choice);
    layout->addWidget(m_period);
    layout->addWidget(m_problem);
    layout->addWidget(m_view, 1);
    layout->addWidget(legend);

    QObject::connect(byNeed, &QPushButton::clicked, this, [this] {
        m_view->horizontalHeader()->setSortIndicatorShown(false);
        m_order->sort(-1);
    });
    QObject::connect(m_view->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
                     [this] { m_view->horizontalHeader()->setSortIndicatorShown(true); });

    // The first class shows at once; the whole school, which takes a school year's runs to
    // read, when the teacher asks for it.
    listClasses();
    m_classes->setCurrentIndex(m_classes->count() > 1 ? 1 : 0);
    QObject::connect(m_classes, &QComboBox::currentIndexChanged, this,
                     [this] { showClass(m_classes->currentData().toString()); });
    showClass(m_classes->currentData().toString());
    // The pupil's page, when open, shows the same days as the class.
    m_period->setOnChange([this] {
        showClass(m_classes->currentData().toString());
        if (m_pages->indexOf(m_pupilPage) >= 0) {
            m_pupilPage->showPeriod(m_period->period());
        }
    });

    // One pupil's page, opened on the chosen row by Enter, a double click or the menu.
    m_pupilPage->hide();
    const auto openPupil = [this] {
        if (const std::optional<PupilTally> pupil = currentPupil()) {
            m_pupilPage->showPupil(pupil->surname, pupil->pupilClass, m_period->period());
            m_pages->removeTab(m_pages->indexOf(m_pupilPage));
            m_pages->setCurrentIndex(m_pages->addTab(
                m_pupilPage, QStringLiteral("Žák: %1, %2").arg(pupil->surname, pupil->pupilClass)));
        }
    };
    QObject::connect(m_view, &QAbstractItemView::activated, this, openPupil);
    m_pupilMenu->addAction(QStringLiteral("&Podrobnosti žáka…"), QKeySequence(Qt::CTRL | Qt::Key_D),
                           this, openPupil);

    addClassListAction(*this); // class lists and pupils' changes: classlistdialog, pupildialogs
    addPupilActions(*this);
    m_mail = new MailPage(*this);
    m_pages->addTab(m_mail, QStringLiteral("Pošta"));
    setAcceptDrops(true);
    addOverviewExport(*this);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(QStringLiteral("&Konec"), QKeySequence::Quit, this, &QWidget::close);
    resize(900, 600);
}

void TeacherWindow::refresh()
{
    // A list may have brought a class, a change taken the last pupil of one; the pupil's page
    // closes, since its pupil may have been renamed, merged or removed.
    const QString shown = m_classes->currentData().toString();
    {
        const QSignalBlocker quiet(m_classes);
        m_classes->clear();
        listClasses();
        m_classes->setCurrentIndex(std::max(0, m_classes->findData(shown)));
    }
    m_pages->removeTab(m_pages->indexOf(m_pupilPage));
    showClass(m_classes->currentData().toString());
}

void TeacherWindow::listClasses()
{
    QString failure;
    m_classes->addItem(QStringLiteral("Všechny třídy"), QString());
    for (const QString& pupilClass : readListedClassesAt(m_location, failure)) {
        m_classes->addItem(pupilClass, pupilClass);
    }
}

std::optional<PupilTally> TeacherWindow::currentPupil() const
{
    const QModelIndex chosen = m_order->mapToSource(m_view->currentIndex());
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return m_table.pupil(chosen.row());
}

void TeacherWindow::showClass(const QString& pupilClass)
{
    QString failure;
    std::optional<ClassStatistics> statistics =
        readStatisticsAt(m_location, {pupilClass, m_period->period(), true}, failure);
    m_problem->setText(failure);
    m_problem->setVisible(!failure.isEmpty());
    m_table.setPupils(statistics ? statistics->pupils : QList<PupilTally>());
}

void TeacherWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!MailPage::localFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void TeacherWindow::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    // A file without a single report is taken for a class list, whose preview says why when it
    // is neither.
    for (const QString& path : m_mail->openFiles(MailPage::localFiles(event->mimeData()))) {
        openClassListFile(*this, path);
    }
}

} // namespace voltmetr::teacher

#include "classlistdialog.h"

#include "app/filewrite.h"
#include "classlistimport.h"
#include "dialogparts.h"
#include "teacherwindow.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>

namespace voltmetr::teacher {

namespace {

const QString noColumn = QStringLiteral("– vyberte –");

QTableWidget* readOnlyTable(const QString& name, QWidget* parent)
{
    auto* table = new QTableWidget(parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setAccessibleName(name);
    return table;
}

void setRow(QTableWidget* table, int row, const QStringList& cells)
{
    for (int column = 0; column < cells.size(); ++column) {
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

} // namespace

ClassListDialog::ClassListDialog(TeacherWindow& window, const QString& path, QByteArray bytes)
    : QDialog(&window), m_window(window), m_bytes(std::move(bytes)), m_source(new QLabel(this)),
      m_columns(new QGroupBox(QStringLiteral("Které sloupce jsou které"), this)),
      m_firstLines(readOnlyTable(QStringLiteral("První řádky seznamu"), m_columns)),
      m_surnameColumn(new QComboBox(m_columns)), m_classColumn(new QComboBox(m_columns)),
      m_problem(problemLabel(this)), m_summary(new QLabel(this)),
      m_pupils(readOnlyTable(QStringLiteral("Žáci seznamu"), this)), m_notes(new QListWidget(this)),
      m_add(new QPushButton(QStringLiteral("&Přidat"), this))
{
    setWindowTitle(QStringLiteral("Seznam třídy – %1").arg(QFileInfo(path).fileName()));
    m_summary->setWordWrap(true);
    m_notes->setWordWrap(true);
    m_pupils->setColumnCount(4);
    m_pupils->setHorizontalHeaderLabels({QStringLiteral("Řádek"), QStringLiteral("Příjmení"),
                                         QStringLiteral("Třída"), QStringLiteral("Stav")});

    auto* explanation = new QLabel(
        QStringLiteral("Seznam nemá záhlaví a z jeho řádků se nedá poznat, který sloupec "
                       "je příjmení a který třída. Určete je:"),
        m_columns);
    explanation->setWordWrap(true);
    auto* choices = new QFormLayout;
    choices->addRow(labelFor(QStringLiteral("Sloupec s pří&jmením:"), m_surnameColumn),
                    m_surnameColumn);
    choices->addRow(labelFor(QStringLiteral("Sloupec s &třídou:"), m_classColumn), m_classColumn);
    auto* columnsLayout = new QVBoxLayout(m_columns);
    columnsLayout->addWidget(explanation);
    columnsLayout->addWidget(m_firstLines);
    columnsLayout->addLayout(choices);
    m_columns->hide();

    auto* buttons = actionButtons(this, m_add, [this] { add(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_source);
    layout->addWidget(m_columns);
    layout->addWidget(m_problem);
    layout->addWidget(m_summary);
    layout->addWidget(labelFor(QStringLiteral("&Kdo přibude a kdo už v seznamu je:"), m_pupils));
    layout->addWidget(m_pupils, 2);
    layout->addWidget(
        labelFor(QStringLiteral("&Vynechané řádky a sjednocené názvy tříd:"), m_notes));
    layout->addWidget(m_notes, 1);
    layout->addWidget(buttons);

    m_list = readClassList(m_bytes);
    m_source->setText(QStringLiteral("Seznam %1").arg(QDir::toNativeSeparators(path)) +
                      (m_list.encoding.isEmpty()
                           ? QString()
                           : QStringLiteral(", kódování %1").arg(m_list.encoding)));
    if (m_list.columnsToName()) {
        showColumnsToName(m_list);
    }
    readList();
    resize(720, 600);
}

void ClassListDialog::showColumnsToName(const ClassList& list)
{
    qsizetype columns = 0;
    for (const QStringList& line : list.firstLines) {
        columns = std::max(columns, line.size());
    }
    m_firstLines->setColumnCount(static_cast<int>(columns));
    m_firstLines->setRowCount(static_cast<int>(list.firstLines.size()));
    QStringList headings;
    for (int column = 0; column < columns; ++column) {
        headings << QStringLiteral("%1. sloupec").arg(column + 1);
    }
    m_firstLines->setHorizontalHeaderLabels(headings);
    for (int row = 0; row < list.firstLines.size(); ++row) {
        setRow(m_firstLines, row, list.firstLines[row]);
    }
    m_firstLines->setMaximumHeight(m_firstLines->horizontalHeader()->sizeHint().height() +
                                   m_firstLines->verticalHeader()->length() + 4);
    for (QComboBox* choice : {m_surnameColumn, m_classColumn}) {
        choice->addItem(noColumn, -1);
        for (int column = 0; column < columns; ++column) {
            choice->addItem(QStringLiteral("%1 (%2)").arg(headings[column],
                                                          list.firstLines.first().value(column)),
                            column);
        }
        QObject::connect(choice, &QComboBox::currentIndexChanged, this, &ClassListDialog::readList);
    }
    m_columns->show();
    m_surnameColumn->setFocus();
}

void ClassListDialog::readList()
{
    const bool columnsToName = !m_columns->isHidden();
    const int surname = m_surnameColumn->currentData().toInt();
    const int pupilClass = m_classColumn->currentData().toInt();
    const bool waiting = columnsToName && (surname < 0 || pupilClass < 0);
    if (columnsToName && !waiting) {
        m_list = readClassList(m_bytes, NamedColumns{surname, pupilClass});
    }
    const ClassListPreview preview = !waiting && m_list.ok()
                                         ? previewClassListAt(m_window.location(), m_list)
                                         : ClassListPreview{};
    const QString problem = waiting ? QString() : m_list.ok() ? preview.error : m_list.error;
    showProblem(m_problem, problem);

    m_pupils->setRowCount(0);
    m_notes->clear();
    const bool readable = !waiting && problem.isEmpty();
    if (readable) {
        for (const auto& [pupils, state] :
             {std::pair{&preview.added, QStringLiteral("přibude")},
              std::pair{&preview.present, QStringLiteral("už v seznamu")}}) {
            for (const ClassListPupil& pupil : *pupils) {
                m_pupils->insertRow(m_pupils->rowCount());
                setRow(m_pupils, m_pupils->rowCount() - 1,
                       {QString::number(pupil.line), pupil.surname, pupil.pupilClass, state});
            }
        }
        for (const SkippedLine& skipped : m_list.skipped) {
            m_notes->addItem(skipped.told());
        }
        for (const UnifiedClass& unified : m_list.unifiedClasses) {
            m_notes->addItem(unified.told());
        }
        m_pupils->resizeColumnsToContents();
    }
    m_summary->setText(waiting ? QStringLiteral("Určete oba sloupce; do té doby se nic nepřidá.")
                       : !readable
                           ? QStringLiteral("Ze seznamu se nic nepřidá.")
                           : QStringLiteral("Přibude žáků: %1, už v seznamu je: %2, vynechaných "
                                            "řádků: %3.")
                                 .arg(preview.added.size())
                                 .arg(preview.present.size())
                                 .arg(m_list.skipped.size()));
    m_add->setEnabled(readable && !preview.added.isEmpty());
}

void ClassListDialog::add()
{
    if (!m_add->isEnabled()) {
        return;
    }
    const PupilsAdded stored = addClassListAt(m_window.location(), m_list);
    if (!stored.ok()) {
        showProblem(m_problem, stored.error);
        return;
    }
    m_window.refresh();
    m_window.statusBar()->showMessage(QStringLiteral("Přidáno žáků: %1, už v seznamu: %2.")
                                          .arg(stored.added)
                                          .arg(stored.present));
    accept();
}

void openClassListFile(TeacherWindow& window, const QString& path)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(
            &window, QStringLiteral("Seznam třídy"),
            QStringLiteral("Seznam %1 nelze otevřít: %2")
                .arg(QDir::toNativeSeparators(path), fileFailureReason(file, errno)));
        return;
    }
    ClassListDialog dialog(window, path, file.readAll());
    dialog.exec();
}

void addClassListAction(TeacherWindow& window)
{
    auto* open = new QAction(QStringLiteral("Otevřít &seznam třídy…"), &window);
    open->setStatusTip(QStringLiteral("Náhled seznamu třídy; žáci se přidají až tlačítkem Přidat"));
    QObject::connect(open, &QAction::triggered, &window, [&window] {
        const QString path = QFileDialog::getOpenFileName(
            &window, QStringLiteral("Otevřít seznam třídy"), QString(),
            QStringLiteral("Seznamy žáků (*.csv *.txt);;Všechny soubory (*)"));
        if (!path.isEmpty()) {
            openClassListFile(window, path);
        }
    });
    window.fileMenu()->insertAction(window.fileMenu()->actions().value(0), open);
}

} // namespace voltmetr::teacher

#include "pupildialogs.h"

#include "classlist.h"
#include "classlistimport.h"
#include "dialogparts.h"
#include "reportowner.h"
#include "school/classname.h"
#include "teachertool.h"
#include "teacherwindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

namespace voltmetr::teacher {

namespace {

struct EditTexts
{
    const char16_t* title;
    const char16_t* button;
    const char16_t* menu;
};

EditTexts textsOf(PupilEditDialog::Edit edit)
{
    switch (edit) {
    case PupilEditDialog::Edit::Rename:
        return {u"Přejmenovat nebo přesunout žáka", u"&Přejmenovat",
                u"Pře&jmenovat nebo přesunout…"};
    case PupilEditDialog::Edit::Merge:
        return {u"Sloučit žáka do jiného", u"&Sloučit", u"&Sloučit do…"};
    default:
        return {u"Odebrat žáka ze seznamu", u"&Odebrat", u"&Odebrat ze seznamu…"};
    }
}

} // namespace

PupilEditDialog::PupilEditDialog(TeacherWindow& window, Edit edit, const PupilTally& pupil)
    : QDialog(&window), m_window(window), m_edit(edit), m_pupil{pupil.surname, pupil.pupilClass},
      m_runs(pupil.tally.runs), m_outcome(new QLabel(this)), m_problem(problemLabel(this)),
      m_do(new QPushButton(QString::fromUtf16(textsOf(edit).button), this))
{
    setWindowTitle(QString::fromUtf16(textsOf(edit).title));
    auto* form = new QFormLayout;
    if (edit == Edit::Rename) {
        m_surname = new QLineEdit(m_pupil.surname, this);
        m_class = new QLineEdit(m_pupil.className, this);
        form->addRow(labelFor(QStringLiteral("Nové pří&jmení:"), m_surname), m_surname);
        form->addRow(labelFor(QStringLiteral("Nová &třída:"), m_class), m_class);
        for (QLineEdit* field : {m_surname, m_class}) {
            QObject::connect(field, &QLineEdit::textChanged, this, &PupilEditDialog::describe);
        }
    } else {
        QString failure;
        m_listed = readListedPupilsAt(window.location(), failure);
        std::erase(m_listed, m_pupil);
        showProblem(m_problem, failure);
        m_other = new QComboBox(this);
        for (const Profile& listed : m_listed) {
            m_other->addItem(pupilName(listed));
        }
        // A mailed name goes most likely into the listed pupil it names, else into the class.
        const ReportOwner owner =
            ListedPupils(m_listed).ownerOf(m_pupil.surname, m_pupil.className);
        const auto likeliest =
            std::find_if(m_listed.begin(), m_listed.end(), [&](const Profile& p) {
                return owner.found == ReportOwner::Found::ListedPupil
                           ? p == owner.storedAs
                           : p.className == unifiedClassName(m_pupil.className);
            });
        m_other->setCurrentIndex(
            likeliest == m_listed.end() ? 0 : static_cast<int>(likeliest - m_listed.begin()));
        QObject::connect(m_other, &QComboBox::currentIndexChanged, this,
                         &PupilEditDialog::describe);
        if (edit == Edit::Merge) {
            form->addRow(labelFor(QStringLiteral("&Do žáka:"), m_other), m_other);
        } else {
            auto* keep = new QRadioButton(QStringLiteral("&Nechat běhy pod jménem"), this);
            m_mergeFirst = new QRadioButton(QStringLiteral("Běhy nejdřív &sloučit do žáka:"), this);
            keep->setChecked(true);
            m_mergeFirst->setEnabled(!m_listed.empty());
            m_other->setEnabled(false);
            m_other->setAccessibleName(QStringLiteral("Žák, do kterého se běhy sloučí"));
            form->addRow(keep);
            form->addRow(m_mergeFirst, m_other);
            QObject::connect(m_mergeFirst, &QRadioButton::toggled, this, [this](bool merge) {
                m_other->setEnabled(merge);
                describe();
            });
        }
    }
    m_outcome->setWordWrap(true);

    auto* buttons = actionButtons(this, m_do, [this] { apply(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Žák %1, uložených běhů: %2.").arg(pupilName(m_pupil)).arg(m_runs), this));
    layout->addLayout(form);
    layout->addWidget(m_outcome);
    layout->addWidget(m_problem);
    layout->addStretch();
    layout->addWidget(buttons);
    describe();
    resize(520, sizeHint().height());
}

std::optional<Profile> PupilEditDialog::target() const
{
    if (m_edit == Edit::Rename) {
        return Profile{m_surname->text().trimmed(), unifiedClassName(m_class->text().trimmed())};
    }
    if ((m_edit == Edit::Merge || m_mergeFirst->isChecked()) && m_other->currentIndex() >= 0) {
        return m_listed.at(static_cast<std::size_t>(m_other->currentIndex()));
    }
    return std::nullopt;
}

void PupilEditDialog::describe()
{
    const std::optional<Profile> to = target();
    const QString who = pupilName(m_pupil);
    QString outcome;
    QString impossible;
    if (m_edit == Edit::Rename) {
        const QString typedClass = m_class->text().trimmed();
        if (const QString problem = listEntryProblem(*to); !problem.isEmpty()) {
            impossible = QStringLiteral("Takto nelze: %1.").arg(problem);
        } else if (*to == m_pupil) {
            impossible = QStringLiteral("Příjmení ani třída se nemění.");
        }
        outcome =
            QStringLiteral("Žák %1 bude %2; jeho běhy (%3) půjdou s ním.")
                .arg(who, pupilName(*to))
                .arg(m_runs) +
            (typedClass != to->className
                 ? QStringLiteral(" Třída „%1“ se zapíše jako „%2“.").arg(typedClass, to->className)
                 : QString());
    } else if (to) {
        outcome = QStringLiteral("Žák %1 se sloučí do žáka %3: jeho běhy (%2) přejdou k němu a %1 "
                                 "ze seznamu zmizí.")
                      .arg(who)
                      .arg(m_runs)
                      .arg(pupilName(*to));
    } else if (m_edit == Edit::Remove && !m_mergeFirst->isChecked()) {
        outcome = QStringLiteral("Žák %1 zmizí ze seznamu; jeho běhy (%2) zůstanou v databázi "
                                 "pod jeho jménem.")
                      .arg(who)
                      .arg(m_runs);
    } else {
        impossible = QStringLiteral("V seznamu není jiný žák, do kterého by šlo sloučit.");
    }
    m_outcome->setText(impossible.isEmpty() ? outcome : impossible);
    m_do->setEnabled(impossible.isEmpty());
}

void PupilEditDialog::apply()
{
    if (!m_do->isEnabled()) {
        return;
    }
    const std::optional<Profile> to = target();
    const PupilEdit edit = editPupilAt(m_window.location(), [&](QSqlDatabase& db) {
        PupilEdit done = m_edit == Edit::Rename ? renamePupil(db, m_pupil, *to)
                         : to                   ? mergePupils(db, m_pupil, *to)
                                                : removePupil(db, m_pupil);
        if (done.mergeInstead) {
            done.error += QStringLiteral("; jeho a tyto běhy spojí „%1“ v nabídce Žák")
                              .arg(QString::fromUtf16(textsOf(Edit::Merge).menu).remove(u'&'));
        }
        return done;
    });
    if (!edit.ok()) {
        showProblem(m_problem, edit.error);
        return;
    }
    m_window.refresh();
    m_window.statusBar()->showMessage(
        to ? pupilChanged(m_pupil, *to, m_edit != Edit::Rename, edit.runs)
           : pupilRemoved(m_pupil, edit.runs));
    accept();
}

void addPupilActions(TeacherWindow& window)
{
    if (!window.pupilMenu()->isEmpty()) {
        window.pupilMenu()->addSeparator(); // what is looked at, then what is changed
    }
    for (const auto edit : {PupilEditDialog::Edit::Rename, PupilEditDialog::Edit::Merge,
                            PupilEditDialog::Edit::Remove}) {
        QAction* action = window.pupilMenu()->addAction(QString::fromUtf16(textsOf(edit).menu));
        if (edit == PupilEditDialog::Edit::Rename) {
            action->setShortcut(Qt::Key_F2);
        }
        QObject::connect(action, &QAction::triggered, &window, [&window, edit] {
            const std::optional<PupilTally> pupil = window.currentPupil();
            if (!pupil) {
                QMessageBox::information(&window, QStringLiteral("Žák"),
                                         QStringLiteral("Nejdřív vyberte v tabulce žáka."));
                return;
            }
            PupilEditDialog dialog(window, edit, *pupil);
            dialog.exec();
        });
    }
}

} // namespace voltmetr::teacher

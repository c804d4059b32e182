#include "taskreplay.h"

#include "app/procedury.h"
#include "exercise/meterface.h"
#include "exercise/metermodel.h"
#include "exercise/numbertext.h"
#include "exercise/scalegeometry.h"
#include "pupilhistory.h"
#include "ui/twips.h"

#include <QHBoxLayout>
#include <QLabel>

namespace voltmetr::teacher {

TaskReplay::TaskReplay(QWidget* parent)
    : QWidget(parent), m_face(new MeterFace(this)), m_text(new QLabel(this))
{
    FillTables(m_tables);
    m_face->setFixedSize(twipsToPixels(meterFaceTwips.width()),
                         twipsToPixels(meterFaceTwips.height()));
    m_face->setAccessibleName(QStringLiteral("Voltmetr, jak jej žák viděl"));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setWordWrap(true);
    m_text->setAccessibleName(QStringLiteral("Odpověď a výpočet"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_face, 0, Qt::AlignTop);
    layout->addWidget(m_text, 1);
    clear();
}

QString TaskReplay::text() const
{
    return m_text->text();
}

void TaskReplay::clear()
{
    m_face->DrawScale(MeterType{});
    m_face->setNeedleVisible(false);
    m_face->setAccessibleDescription(QString());
    m_text->setText(QStringLiteral("Vyberte úlohu, ukáže se, jak ji žák viděl."));
}

void TaskReplay::showTask(const TaskRecord& task)
{
    const QLocale czech(QLocale::Czech);
    const MeterType* meter = meterWithDivisions(m_tables, task.divisions);
    if (!meter) {
        clear();
        m_text->setText(QStringLiteral("Měřák se %1 dílky program nezná, úlohu nelze ukázat.")
                            .arg(task.divisions));
        return;
    }
    m_face->DrawScale(*meter);
    const bool polarityRight = polarityRightAtEnd(task);
    const float angle = restingNeedleAngle(*meter, task.rangeInUse, task.voltage, polarityRight);
    m_face->SetNeedle(angle);
    m_face->setNeedleVisible(true);
    QString description =
        QStringLiteral("Měřák se %1 dílky na rozsahu %2, zdroj připojen %3.")
            .arg(QString::number(task.divisions), voltsText(task.rangeInUse, czech),
                 polarityRight ? QStringLiteral("správně") : QStringLiteral("obráceně"));
    if (task.destroyed) {
        m_face->showDestroyedMeter();
        description += QStringLiteral(" Měřák byl přetížením zničen.");
    } else if (angle == scale::lowerStop || angle == scale::upperStop) {
        description += QStringLiteral(" Ručička je na dorazu.");
    }
    m_face->setAccessibleDescription(description);

    QStringList lines{
        QStringLiteral("Odpověď žáka: %1").arg(task.typed ? *task.typed : QStringLiteral("žádná")),
        QStringLiteral("Správně: %1").arg(voltsText(task.voltage, czech)),
        QStringLiteral("Výsledek: %1").arg(verdictText(task)), QString(),
        QStringLiteral("Výpočet, jak ho program ukazuje žákovi po chybné odpovědi:")};
    lines << workedCalculationLines(
        workedCalculation(task.voltage, task.divisions, task.bestRange));
    m_text->setText(lines.join(u'\n'));
}

} // namespace voltmetr::teacher

#pragma once

#include "school/period.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;

namespace voltmetr::teacher {

// The days whose runs the window shows: "Od" and "Do", each of which may be left open, and the
// usual periods ("Tento týden", "Tento měsíc", "Tento školní rok", "Celé období") computed from
// the clock's today. Whole by default. The bar calls back on every change a teacher makes.
class PeriodBar : public QWidget
{
public:
    explicit PeriodBar(QWidget* parent = nullptr);

    Period period() const;
    // What is today; the computer's date unless a test drives it.
    void setClock(std::function<QDate()> today);
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    QComboBox* periodChoice() const { return m_choice; }

private:
    // Shows the period, as chosen from the list, and calls back once.
    void choose(const Period& period);
    // A date or its box changed by hand: the period is the teacher's own.
    void edited();
    // Only a chosen end's date is editable, and "Do" is never before "Od".
    void tieEnds();

    std::function<QDate()> m_today = &QDate::currentDate;
    std::function<void()> m_onChange;
    QComboBox* m_choice;
    QCheckBox* m_hasFrom;
    QCheckBox* m_hasTo;
    QDateEdit* m_from;
    QDateEdit* m_to;
};

} // namespace voltmetr::teacher

#include "periodbar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <iterator>
#include <tuple>

namespace voltmetr::teacher {

namespace {

const struct
{
    const char* name;
    Period (*around)(const QDate& today); // nullptr: every run
} choices[] = {{"Celé období", nullptr},
               {"Tento týden", &weekOf},
               {"Tento měsíc", &monthOf},
               {"Tento školní rok", &schoolYearOf}};
// The last item of the list: the dates the teacher set by hand.
constexpr int OwnDates = static_cast<int>(std::size(choices));

} // namespace

PeriodBar::PeriodBar(QWidget* parent)
    : QWidget(parent), m_choice(new QComboBox(this)),
      m_hasFrom(new QCheckBox(QStringLiteral("&Od:"), this)),
      m_hasTo(new QCheckBox(QStringLiteral("&Do:"), this)), m_from(new QDateEdit(this)),
      m_to(new QDateEdit(this))
{
    for (const auto& choice : choices) {
        m_choice->addItem(QString::fromUtf8(choice.name));
    }
    m_choice->addItem(QStringLiteral("Vlastní"));
    auto* choiceLabel = new QLabel(QStringLiteral("O&bdobí:"), this);
    choiceLabel->setBuddy(m_choice);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(choiceLabel);
    layout->addWidget(m_choice);
    for (auto [box, date, name, open] : {std::tuple(m_hasFrom, m_from, QStringLiteral("Od"),
                                                    QStringLiteral("bez data od prvního běhu")),
                                         std::tuple(m_hasTo, m_to, QStringLiteral("Do"),
                                                    QStringLiteral("bez data po poslední běh"))}) {
        date->setDisplayFormat(QStringLiteral("d. M. yyyy"));
        date->setCalendarPopup(true);
        date->setAccessibleName(name);
        box->setToolTip(QStringLiteral("Den včetně; ") + open);
        layout->addWidget(box);
        layout->addWidget(date);
        QObject::connect(box, &QCheckBox::toggled, this, [this] { edited(); });
        QObject::connect(date, &QDateEdit::dateChanged, this, [this] { edited(); });
    }
    layout->addStretch(1);
    QObject::connect(m_choice, &QComboBox::activated, this, [this](int index) {
        if (index < OwnDates) {
            const auto around = choices[index].around;
            choose(around ? around(m_today()) : Period());
        }
    });
    setClock(m_today);
}

void PeriodBar::setClock(std::function<QDate()> today)
{
    m_today = std::move(today);
    const QSignalBlocker from(m_from), to(m_to);
    m_to->clearMinimumDate();
    m_from->setDate(m_today());
    m_to->setDate(m_today());
    tieEnds();
}

Period PeriodBar::period() const
{
    return {m_hasFrom->isChecked() ? std::optional(m_from->date()) : std::nullopt,
            m_hasTo->isChecked() ? std::optional(m_to->date()) : std::nullopt};
}

void PeriodBar::choose(const Period& period)
{
    {
        const QSignalBlocker hasFrom(m_hasFrom), hasTo(m_hasTo), from(m_from), to(m_to);
        m_hasFrom->setChecked(period.from.has_value());
        m_hasTo->setChecked(period.to.has_value());
        m_to->clearMinimumDate();
        m_from->setDate(period.from.value_or(m_from->date()));
        m_to->setDate(period.to.value_or(m_to->date()));
        tieEnds();
    }
    if (m_onChange) {
        m_onChange();
    }
}

void PeriodBar::edited()
{
    m_choice->setCurrentIndex(OwnDates);
    {
        const QSignalBlocker to(m_to);
        tieEnds();
    }
    if (m_onChange) {
        m_onChange();
    }
}

void PeriodBar::tieEnds()
{
    m_from->setEnabled(m_hasFrom->isChecked());
    m_to->setEnabled(m_hasTo->isChecked());
    if (m_hasFrom->isChecked()) {
        m_to->setMinimumDate(m_from->date());
    } else {
        m_to->clearMinimumDate();
    }
}

} // namespace voltmetr::teacher

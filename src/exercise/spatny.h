#pragma once

#include "exercise/answerfeedback.h"
#include "exercise/numbertext.h"

namespace voltmetr {

// Shown after a wrong answer, with the worked calculation of the task just answered.
class Spatny : public AnswerFeedback
{
    Q_OBJECT
public:
    Spatny(const WorkedCalculation& calculation, AskToEnd askToEnd, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace voltmetr

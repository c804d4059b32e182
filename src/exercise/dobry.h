#pragma once

#include "exercise/answerfeedback.h"

namespace voltmetr {

// Shown after a right answer.
class Dobry : public AnswerFeedback
{
    Q_OBJECT
public:
    explicit Dobry(AskToEnd askToEnd, QWidget* parent = nullptr);
};

} // namespace voltmetr

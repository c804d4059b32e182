#pragma once

#include "app/runstate.h"
#include "app/tasklog.h"

#include <QWidget>

class QLabel;

namespace voltmetr {
class MeterFace;
}

namespace voltmetr::teacher {

// One logged task replayed: the meter face as the pupil saw it when the task ended, drawn by the
// pupils' program's own MeterFace at its size there (the needle resting at the true reading on
// the range the pupil used, with the source as it was connected last; the destroyed meter's
// picture after an overload that destroyed it), and beside it the pupil's answer, the right
// reading and the worked calculation the pupil is shown after a wrong answer.
class TaskReplay : public QWidget
{
public:
    explicit TaskReplay(QWidget* parent = nullptr);

    void showTask(const TaskRecord& task);
    // An empty face and a hint to choose a task.
    void clear();

    MeterFace* face() const { return m_face; }
    QString text() const;

private:
    MeterTables m_tables;
    MeterFace* m_face;
    QLabel* m_text;
};

} // namespace voltmetr::teacher

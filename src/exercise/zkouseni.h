#pragma once

#include "exercise/exercise.h"
#include "ui/windowcontext.h"

#include <QLineF>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace voltmetr {

class BlinkingWarning;
class ChoiceLabel;
class MeterFace;

// The exercise window: the meter, the circuit, the range switch and the answer row. Every
// event goes to Exercise; afterwards the window shows what the exercise's state says and
// runs its two timers as the exercise wants them.
class Zkouseni : public QWidget
{
    Q_OBJECT
public:
    explicit Zkouseni(WindowContext& context, QWidget* parent = nullptr);

    // --- handlers ---
    void Pripoj_Click();
    void Prepoluj_Click();
    void RozLB_Click(int index);
    void casovac_Timer();
    void CP_Timer();
    void Vstup_KeyPress(int keyAscii);
    void Contin_Click();
    void Command3_Click();

    // --- drawing ---
    void DrawScale();
    void LayoutRangeLabels();
    void SetRangeKnob(std::uint8_t position);
    void ShowSourcePolarity(bool plusLeft);
    void ShowWires(bool on);

    // What the window shows, for those who check it.
    const Exercise& exercise() const { return m_exercise; }
    QLineF knobPointer() const { return m_knoflik; }
    QLineF plate(int index) const { return m_car.at(static_cast<std::size_t>(index)); }
    const QTimer& casovac() const { return m_casovac; }
    const QTimer& CP() const { return m_cp; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void buildAnswerRow();
    void buildCircuit();
    void buildRangeSwitch();
    // Brings every element and both timers in line with the exercise after a call into it.
    void showExerciseState();
    void runTimersAsExerciseSays();
    // The part of it that a needle tick can change.
    void showNeedleState();
    // Shows Dobry or Spatny; false when the pupil ended the program from it.
    bool showFeedback(const Judgement& judgement);
    // The exit question over owner; true when the pupil chose to end.
    bool askToEnd(QWidget& owner);
    void drawCircuit(QPainter& painter) const;
    void drawDividers(QPainter& painter) const;
    void drawRangeSwitch(QPainter& painter) const;
    // Tells assistive technology what the meter face shows.
    void describeFace();

    WindowContext& m_context;
    Exercise m_exercise;

    MeterFace* m_stupnice = nullptr;
    QLineEdit* m_vstup = nullptr;
    QPushButton* m_pripoj = nullptr;
    QPushButton* m_prepoluj = nullptr;
    BlinkingWarning* m_warning = nullptr;
    std::array<ChoiceLabel*, 9> m_rozLB{};
    std::array<QLabel*, 2> m_znam{};
    QTimer m_casovac;
    QTimer m_cp;

    QLineF m_knoflik;
    std::array<QLineF, 2> m_car;
    bool m_wiresVisible = false;
    std::uint32_t m_drawnTask = 0;
};

} // namespace voltmetr

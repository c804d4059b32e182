#include "exercise/zkouseni.h"

#include "exercise/dobry.h"
#include "exercise/konec.h"
#include "exercise/merakko.h"
#include "exercise/meterface.h"
#include "exercise/metermodel.h"
#include "exercise/rangecaption.h"
#include "exercise/spatny.h"
#include "ui/designelements.h"
#include "ui/twips.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

namespace voltmetr {

namespace {

constexpr unsigned int yellow = 0x00FFFF;
constexpr double pixel = twipsPerPixel;

// The switch pointer turns about this point, the centre of the disc.
constexpr QPointF knobPivot{5280, 6000};
constexpr double knobPenPixels = 3;
constexpr double platePenPixels = 2;
constexpr double wirePenPixels = 3;
constexpr std::array<QLineF, 2> wires{QLineF(330, 1170, 330, 615), QLineF(5970, 1170, 5970, 615)};

// The plates of the source: the long one is always the + pole.
constexpr double plateX[2] = {3150, 3270};
constexpr QLineF longPlate(double x)
{
    return {x, 60, x, 1020};
}
constexpr QLineF shortPlate(double x)
{
    return {x, 300, x, 780};
}

void runTimer(QTimer& timer, bool running)
{
    // A timer that already runs keeps its phase.
    if (running && !timer.isActive()) {
        timer.start();
    } else if (!running && timer.isActive()) {
        timer.stop();
    }
}

// The window pixels that lines (twips) drawn with a pen of penPixels touch, its antialiased
// edge included: what must be repainted to put them on or to take them off.
QRegion lineCover(std::initializer_list<QLineF> lines, double penPixels)
{
    const double margin = penPixels / 2 + 1;
    QRegion cover;
    for (const QLineF& line : lines) {
        const QRectF box = QRectF(line.p1() / pixel, line.p2() / pixel).normalized();
        cover += box.adjusted(-margin, -margin, margin, margin).toAlignedRect();
    }
    return cover;
}

void drawLine(QPainter& painter, const QLineF& line, const QColor& colour, double widthPixels)
{
    painter.setPen(QPen(colour, widthPixels * pixel, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(line);
}

void drawCircle(QPainter& painter, const QRectF& box, const QColor& border, const QBrush& fill)
{
    painter.setPen(QPen(border, pixel));
    painter.setBrush(fill);
    painter.drawEllipse(box.adjusted(pixel / 2, pixel / 2, -pixel / 2, -pixel / 2));
}

// The switch, and the box that groups its range labels, in the window's twips.
constexpr QPoint rangeSwitchCorner{3900, 4740};
constexpr QSize rangeSwitchSize{2430, 1740};

// A screen reader announces the exercise as a window of its own, not as a pane of another, and
// the meter face as a picture, not as a frame, which it would take for a window.
QAccessibleInterface* accessibleExerciseParts(const QString& className, QObject* object)
{
    if (className == QLatin1String(Zkouseni::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    if (className == QLatin1String(MeterFace::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    return nullptr;
}

} // namespace

Zkouseni::Zkouseni(WindowContext& context, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint),
      m_context(context), m_exercise(context.host, context.state)
{
    static const bool accessibleParts =
        (QAccessible::installFactory(accessibleExerciseParts), true);
    Q_UNUSED(accessibleParts);
    setWindowTitle(QStringLiteral("Prověřovák měření na analogovém voltmetru"));
    setFixedClientTwips(*this, 6330, 6480);
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    m_stupnice = new MeterFace(this);
    m_stupnice->setAccessibleName(QStringLiteral("Voltmetr"));
    placeTwips(*m_stupnice, 120, 1620, meterFaceTwips.width(), meterFaceTwips.height());
    buildCircuit();
    buildAnswerRow();
    buildRangeSwitch();

    m_casovac.setInterval(10);
    m_casovac.setTimerType(Qt::PreciseTimer);
    m_cp.setInterval(250);
    m_cp.setTimerType(Qt::PreciseTimer);
    connect(&m_casovac, &QTimer::timeout, this, &Zkouseni::casovac_Timer);
    connect(&m_cp, &QTimer::timeout, this, &Zkouseni::CP_Timer);

    Form_Load();
}

void Zkouseni::buildCircuit()
{
    const QFont signFont = designFont(QStringLiteral("MS Sans Serif"), 13.5, true);
    m_znam[0] = makeLabel(*this, {QStringLiteral("Znam0"), QStringLiteral("+"), 2790, 60, 195, 360,
                                  signFont, Qt::AlignLeft | Qt::AlignTop, 0x80FFFF});
    m_znam[1] = makeLabel(*this, {QStringLiteral("Znam1"), QStringLiteral("-"), 3390, 60, 120, 360,
                                  signFont, Qt::AlignLeft | Qt::AlignTop, 0x80FFFF});
    makeLabel(*this,
              {QStringLiteral("Label1"), QStringLiteral("+"), 570, 1200, 195, 360, signFont});
    makeLabel(*this,
              {QStringLiteral("Label2"), QStringLiteral("-"), 5640, 1170, 120, 360, signFont});

    m_prepoluj =
        makeButton(*this, QStringLiteral("Prepoluj"), QStringLiteral("Přepólovat"), 1080, 1080,
                   1935, 495, designFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    m_pripoj = makeButton(*this, QStringLiteral("Pripoj"), QStringLiteral("Připojit"), 3360, 1080,
                          1935, 495, designFont(QStringLiteral("MS Sans Serif"), 13.5, true));
    connect(m_prepoluj, &QPushButton::clicked, this, &Zkouseni::Prepoluj_Click);
    connect(m_pripoj, &QPushButton::clicked, this, &Zkouseni::Pripoj_Click);

    m_warning = new BlinkingWarning(this);
    designLabel(*m_warning,
                {QStringLiteral("warning"), QStringLiteral("Přístroj je přetížen !"), 240, 4800,
                 3540, 360, designFont(QStringLiteral("MS Sans Serif"), 13.5),
                 Qt::AlignHCenter | Qt::AlignTop, 0x0000FF});
}

void Zkouseni::buildAnswerRow()
{
    const QFont prompt = designFont(QStringLiteral("Times New Roman"), 12, true);
    const QFont buttonFont = designFont(QStringLiteral("MS Sans Serif"), 13.5, true);
    QLabel* label6 =
        makeLabel(*this, {QStringLiteral("Label6"), QStringLiteral("Naměřené napětí je:"), 240,
                          5280, 2040, 285, prompt});
    m_vstup = new QLineEdit(this);
    // The prompt names the box for a screen reader.
    label6->setBuddy(m_vstup);
    m_vstup->setObjectName(QStringLiteral("Vstup"));
    m_vstup->setFont(designFont(QStringLiteral("MS Sans Serif"), 12));
    placeTwips(*m_vstup, 2400, 5280, 1095, 360);
    m_vstup->installEventFilter(this);
    makeLabel(*this, {QStringLiteral("Label7"), QStringLiteral("V"), 3600, 5280, 165, 285, prompt});
    auto* contin = makeButton(*this, QStringLiteral("Contin"), QStringLiteral("&Pokračovat"), 240,
                              5760, 1815, 615, buttonFont);
    auto* command3 = makeButton(*this, QStringLiteral("Command3"), QStringLiteral("&Konec"), 2280,
                                5760, 1455, 615, buttonFont);
    connect(contin, &QPushButton::clicked, this, &Zkouseni::Contin_Click);
    connect(command3, &QPushButton::clicked, this, &Zkouseni::Command3_Click);
    // Esc presses "&Konec", as the window's Cancel button.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, command3, &QPushButton::click);

    setTabOrder(m_prepoluj, m_pripoj);
    setTabOrder(m_pripoj, m_vstup);
    setTabOrder(m_vstup, contin);
    setTabOrder(contin, command3);
}

void Zkouseni::buildRangeSwitch()
{
    QLabel* caption =
        makeLabel(*this, {QStringLiteral("Label5"), QStringLiteral("Rozsah:"), 4080, 4800, 1050,
                          300, designFont(QStringLiteral("MS Sans Serif"), 12, true, true)});
    // The range labels are one group for a screen reader, named by the caption above them.
    auto* group = new ChoiceGroup(this);
    group->setObjectName(QStringLiteral("Rozsah"));
    group->setAccessibleName(QStringLiteral("Rozsah"));
    placeTwips(*group, rangeSwitchCorner.x(), rangeSwitchCorner.y(), rangeSwitchSize.width(),
               rangeSwitchSize.height());
    caption->setBuddy(group);
    const QFont labelFont = designFont(QStringLiteral("MS Sans Serif"), 8.25);
    auto* choices = new QButtonGroup(this);
    QWidget* previous = findChild<QPushButton*>(QStringLiteral("Command3"));
    for (int i = 0; i < 9; ++i) {
        auto* label = new ChoiceLabel(group);
        label->setObjectName(QStringLiteral("RozLB%1").arg(i));
        label->setFont(labelFont);
        choices->addButton(label, i);
        m_rozLB.at(static_cast<std::size_t>(i)) = label;
        // After the answer row; only the chosen range is a stop of the chain.
        setTabOrder(previous, label);
        previous = label;
    }
    connect(choices, &QButtonGroup::idClicked, this, &Zkouseni::RozLB_Click);
}

void Zkouseni::Form_Load()
{
    m_exercise.Form_Load();
    showExerciseState();
}

// --- handlers ---

void Zkouseni::Pripoj_Click()
{
    m_exercise.Pripoj_Click();
    showExerciseState();
}

void Zkouseni::Prepoluj_Click()
{
    m_exercise.Prepoluj_Click();
    showExerciseState();
}

void Zkouseni::RozLB_Click(int index)
{
    m_exercise.RozLB_Click(index);
    showExerciseState();
}

void Zkouseni::casovac_Timer()
{
    m_exercise.casovac_Timer();
    // A tick moves the needle and may peg it; the rest of the window stays as it was.
    showNeedleState();
}

void Zkouseni::CP_Timer()
{
    const bool destroyed = m_exercise.CP_Timer();
    showExerciseState();
    if (!destroyed) {
        return;
    }
    Merak_KO notice(this);
    m_context.host.showModal(notice);
    m_exercise.NewTask();
    showExerciseState();
}

void Zkouseni::Vstup_KeyPress(int keyAscii)
{
    if (keyAscii == 13) {
        Contin_Click();
    }
}

void Zkouseni::Contin_Click()
{
    const AnswerOutcome outcome = m_exercise.Contin_Click(
        m_vstup->text(), [this](const QString& shown) { m_vstup->setText(shown); });
    showExerciseState();
    if (!outcome.judgement) {
        return;
    }
    if (!showFeedback(*outcome.judgement)) {
        return;
    }
    m_exercise.NewTask();
    showExerciseState();
}

void Zkouseni::Command3_Click()
{
    askToEnd(*this);
}

bool Zkouseni::showFeedback(const Judgement& judgement)
{
    auto ask = [this](QWidget& owner) { return askToEnd(owner); };
    if (judgement.right) {
        Dobry window(ask, this);
        m_context.host.showModal(window);
        return !window.programEnded();
    }
    Spatny window(judgement.calculation, ask, this);
    m_context.host.showModal(window);
    return !window.programEnded();
}

bool Zkouseni::askToEnd(QWidget& owner)
{
    Konec question(m_context, m_exercise, &owner);
    runTimersAsExerciseSays();
    m_context.host.showModal(question);
    runTimersAsExerciseSays();
    return question.endChosen();
}

// The window is never closed by a request: the pupil is asked whether to end, and ending goes
// through the summary.
void Zkouseni::closeEvent(QCloseEvent* event)
{
    event->ignore();
    askToEnd(*this);
}

void Zkouseni::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange && m_exercise.MeterNo != 0) {
        LayoutRangeLabels();
        describeFace();
    }
    QWidget::changeEvent(event);
}

bool Zkouseni::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_vstup && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1) {
            Vstup_KeyPress(text.at(0).unicode());
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- what the window shows ---

void Zkouseni::showExerciseState()
{
    if (m_exercise.taskSerial() != m_drawnTask) {
        m_drawnTask = m_exercise.taskSerial();
        DrawScale();
        m_vstup->clear();
    }
    if (m_exercise.meterDestroyed() && !m_stupnice->showsDestroyedMeter()) {
        m_stupnice->showDestroyedMeter();
    }
    m_stupnice->setNeedleVisible(m_exercise.needleVisible());
    m_pripoj->setText(m_exercise.Connected ? QStringLiteral("Odpojit")
                                           : QStringLiteral("Připojit"));
    ShowSourcePolarity(m_exercise.PolarityRight);
    ShowWires(m_exercise.Connected);
    SetRangeKnob(m_exercise.RangePos);
    showNeedleState();
    describeFace();
}

// What a sighted pupil sees of the meter and its circuit, but never where the needle stands:
// that is the answer, and the description says once that it takes sight to read it.
void Zkouseni::describeFace()
{
    const MeterType& meter = m_exercise.meter();
    QStringList sentences;
    if (m_exercise.meterDestroyed()) {
        sentences << QStringLiteral("Voltmetr je zničen.");
    } else {
        if (m_exercise.timers().CP) {
            sentences << QStringLiteral("Voltmetr je přetížen!");
        }
        sentences << QStringLiteral("Stupnice má %1 dílků.").arg(meter.divisions);
    }
    sentences << QStringLiteral("Rozsah %1 V.")
                     .arg(rangeCaption(meter.ranges[m_exercise.RangePos], locale()));
    sentences << (m_exercise.Connected ? QStringLiteral("Voltmetr je připojen.")
                                       : QStringLiteral("Voltmetr je odpojen."));
    sentences << (m_exercise.PolarityRight ? QStringLiteral("Kladný pól zdroje je vlevo.")
                                           : QStringLiteral("Kladný pól zdroje je vpravo."));
    sentences << QStringLiteral("Polohu ručičky nelze zjistit bez zraku.");
    const QString description = sentences.join(QLatin1Char(' '));
    if (description != m_stupnice->accessibleDescription()) {
        m_stupnice->setAccessibleDescription(description);
    }
}

void Zkouseni::showNeedleState()
{
    m_stupnice->SetNeedle(m_exercise.needleAngle());
    // The warning stays posted while the meter is overloaded, blinking, and on a destroyed
    // meter; the tick that overloads the meter changes what the face's description says.
    const bool posted = m_exercise.timers().CP || m_exercise.warningVisible();
    m_warning->setLit(m_exercise.warningVisible());
    if (posted == m_warning->isHidden()) {
        m_warning->setPosted(posted);
        describeFace();
    }
    runTimersAsExerciseSays();
}

void Zkouseni::runTimersAsExerciseSays()
{
    const TimerStates timers = m_exercise.timers();
    runTimer(m_casovac, timers.casovac);
    runTimer(m_cp, timers.CP);
}

void Zkouseni::DrawScale()
{
    m_stupnice->DrawScale(m_exercise.meter());
    LayoutRangeLabels();
}

void Zkouseni::LayoutRangeLabels()
{
    const MeterType& meter = m_exercise.meter();
    const MeterTables& tables = m_context.state.tables;
    const bool eightPositions = usesEightPositionDial(meter);
    for (int i = 1; i <= 9; ++i) {
        ChoiceLabel& label = *m_rozLB.at(static_cast<std::size_t>(i - 1));
        const float range = meter.ranges[i];
        label.setVisible(range > 0);
        if (range > 0) {
            label.setText(rangeCaption(range, locale()));
            label.setAccessibleName(QStringLiteral("Rozsah %1 V").arg(label.text()));
        }
        const int left = eightPositions ? tables.LabelLeft8[i] : tables.LabelLeft9[i];
        const int top = eightPositions ? tables.LabelTop8[i] : tables.LabelTop9[i];
        placeTwips(label, left - rangeSwitchCorner.x(), top - rangeSwitchCorner.y(), 270, 195);
    }
}

void Zkouseni::SetRangeKnob(std::uint8_t position)
{
    const MeterTables& tables = m_context.state.tables;
    const PointXY end = usesEightPositionDial(m_exercise.meter()) ? tables.KnobPoints8[position - 1]
                                                                  : tables.KnobPoints9[position];
    const QLineF pointer(QPointF(end.X, end.Y), knobPivot);
    ChoiceLabel* chosen = m_rozLB.at(position - 1U);
    chosen->setChecked(true);
    // The switch is one keyboard stop: while it has the focus, the focus and its highlight go
    // with the chosen range, whether a click or a new meter moved it, so that the next arrow
    // steps from there.
    if (std::ranges::find(m_rozLB, focusWidget()) != m_rozLB.end() && focusWidget() != chosen) {
        chosen->setFocus(Qt::OtherFocusReason);
    }
    if (pointer != m_knoflik) {
        update(lineCover({m_knoflik, pointer}, knobPenPixels));
        m_knoflik = pointer;
    }
}

void Zkouseni::ShowSourcePolarity(bool plusLeft)
{
    const std::array<QLineF, 2> plates =
        plusLeft ? std::array{longPlate(plateX[0]), shortPlate(plateX[1])}
                 : std::array{shortPlate(plateX[0]), longPlate(plateX[1])};
    m_znam[0]->setText(plusLeft ? QStringLiteral("+") : QStringLiteral("-"));
    m_znam[1]->setText(plusLeft ? QStringLiteral("-") : QStringLiteral("+"));
    if (plates != m_car) {
        update(lineCover({m_car[0], m_car[1], plates[0], plates[1]}, platePenPixels));
        m_car = plates;
    }
}

void Zkouseni::ShowWires(bool on)
{
    if (on != m_wiresVisible) {
        m_wiresVisible = on;
        update(lineCover({wires[0], wires[1]}, wirePenPixels));
    }
}

void Zkouseni::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    useTwips(painter);
    drawDividers(painter);
    drawCircuit(painter);
    drawRangeSwitch(painter);
}

void Zkouseni::drawDividers(QPainter& painter) const
{
    // Etched: a shadow line with a white one a pixel below or to the right of it.
    const QColor shadow = palette().color(QPalette::Dark);
    drawLine(painter, QLineF(120, 4680, 6240, 4680), shadow, 1);
    drawLine(painter, QLineF(120, 4680 + pixel, 6240, 4680 + pixel), Qt::white, 1);
    drawLine(painter, QLineF(3840, 4800, 3840, 6360), bgrColor(0x808080), 1);
    drawLine(painter, QLineF(3840 + pixel, 4800, 3840 + pixel, 6360), Qt::white, 1);
}

void Zkouseni::drawCircuit(QPainter& painter) const
{
    const QColor leads = bgrColor(yellow);
    drawLine(painter, QLineF(405, 540, 3120, 540), leads, 2);
    drawLine(painter, QLineF(3280, 540, 5910, 540), leads, 2);
    for (const QLineF& plate : m_car) {
        drawLine(painter, plate, leads, platePenPixels);
    }
    if (m_wiresVisible) {
        for (const QLineF& wire : wires) {
            drawLine(painter, wire, bgrColor(0x00FF00), wirePenPixels);
        }
    }
    drawCircle(painter, QRectF(150, 1200, 375, 375), Qt::black, bgrColor(0x0000FF));
    drawCircle(painter, QRectF(5790, 1200, 375, 375), Qt::black, bgrColor(0xFF0000));
    for (const QPointF& corner :
         {QPointF(270, 480), QPointF(5910, 480), QPointF(270, 1320), QPointF(5910, 1320)}) {
        drawCircle(painter, QRectF(corner, QSizeF(135, 135)), Qt::black, Qt::NoBrush);
    }
}

void Zkouseni::drawRangeSwitch(QPainter& painter) const
{
    drawCircle(painter, QRectF(4920, 5640, 735, 735), bgrColor(0x808080), bgrColor(0xE0E0E0));
    drawLine(painter, m_knoflik, Qt::black, knobPenPixels);
}

} // namespace voltmetr

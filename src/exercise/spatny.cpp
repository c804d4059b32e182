#include "exercise/spatny.h"

#include "ui/designelements.h"
#include "ui/twips.h"

#include <QPainter>

namespace voltmetr {

namespace {

constexpr unsigned int red = 0x0000FF;
constexpr unsigned int blue = 0xFF0000;
constexpr unsigned int green = 0x008000;
constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;

} // namespace

Spatny::Spatny(const WorkedCalculation& calculation, AskToEnd askToEnd, QWidget* parent)
    : AnswerFeedback(std::move(askToEnd), parent)
{
    namespace caption = calculationCaption;
    setLetterSpacedTitle(*this, QStringLiteral("C H Y B A"));
    setFixedClientTwips(*this, 4815, 3735);
    const QFont plain = designFont(QStringLiteral("MS Sans Serif"), 9.75);
    const QFont result = designFont(QStringLiteral("MS Sans Serif"), 12, true);
    const LabelDesign labels[] = {
        {QStringLiteral("Label1"),
         QStringLiteral("Při výpočtu jsi se dopustil chyby! Správně to mělo vypadat asi takto:"),
         120, 120, 4455, 735, designFont(QStringLiteral("Times New Roman"), 14.25, true), left,
         red},
        {QStringLiteral("Label2"), caption::range.toString(), 240, 1080, 735, 240, plain, left},
        {QStringLiteral("Roz"), calculation.Roz, 2280, 1080, 1695, 255, plain, right},
        {QStringLiteral("Label8"), caption::volts.toString(), 4080, 1080, 135, 240, plain, left},
        {QStringLiteral("Label3"), caption::scale.toString(), 240, 1440, 1155, 240, plain, left},
        {QStringLiteral("Dilk"), calculation.Dilk, 2280, 1440, 1695, 255, plain, right},
        {QStringLiteral("Label4"), caption::divisions.toString(), 4080, 1440, 420, 240, plain,
         left},
        {QStringLiteral("Label5"), caption::needle.toString(), 240, 1800, 1785, 240, plain, left},
        {QStringLiteral("Ukaz"), calculation.Ukaz, 2280, 1800, 1695, 255, plain, right},
        {QStringLiteral("Label6"), caption::division.toString(), 4080, 1800, 435, 240, plain, left},
        {QStringLiteral("Label7"), caption::voltage.toString(), 240, 2280, 1545, 240, plain, left,
         blue},
        // The longest calculations run about 15 px wider than this box, which the frame bounds.
        {QStringLiteral("Souh"), calculation.Souh, 1920, 2280, 2670, 240, plain, left, blue, true},
        {QStringLiteral("Label13"), caption::equals.toString(), 1920, 2640, 330, 300, result, left,
         green},
        {QStringLiteral("Vys"), calculation.Vys, 2280, 2640, 720, 300,
         designFont(QStringLiteral("MS Sans Serif"), 12, true, true), left, green},
    };
    for (const LabelDesign& design : labels) {
        makeLabel(*this, design);
    }
    addButtons(QRect(120, 3120, 2175, 495), QRect(2520, 3120, 2175, 495));
}

void Spatny::paintEvent(QPaintEvent* event)
{
    AnswerFeedback::paintEvent(event);
    QPainter painter(this);
    useTwips(painter);
    painter.setPen(QPen(palette().color(QPalette::WindowText), twipsPerPixel));
    // The rule between the data and the calculation, and the frame around both.
    painter.drawLine(QLineF(120, 2160, 4680, 2160));
    painter.drawRect(QRectF(QPointF(120, 960), QPointF(4680, 3000)));
}

} // namespace voltmetr

#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

namespace voltmetr {

// The plain report of an e-mail run, before it is encoded: six lines, eight when any answer
// was given, each ending with CR LF.
//   Student: <name>
//   Třída: <class>
//   Prověřovák: 2 - Měření na voltmetru
//   Od: dd.mm.yyyy hh:mm        (the locale's time separator, seconds cut off)
//   Do: dd.mm.yyyy hh:mm
//   Celkem odpovědí: <right + wrong>
//   Z toho dobře: <right> (<percent>%)   (percent "0.00", halves away from zero,
//   špatně: <wrong> (<percent>%)          the locale's decimal separator)
namespace reportlabels {
inline constexpr char16_t Student[] = u"Student: ";
inline constexpr char16_t Class[] = u"Třída: ";
inline constexpr char16_t Exercise[] = u"Prověřovák: 2 - Měření na voltmetru";
inline constexpr char16_t From[] = u"Od: ";
inline constexpr char16_t To[] = u"Do: ";
inline constexpr char16_t Total[] = u"Celkem odpovědí: ";
inline constexpr char16_t Right[] = u"Z toho dobře: ";
inline constexpr char16_t Wrong[] = u"špatně: ";
} // namespace reportlabels

struct ReportInputs
{
    QString pupilName;
    QString pupilClass;
    double startDateTime = 0; // days since 30 December 1899
    double endDateTime = 0;
    std::int32_t rightCount = 0;
    std::int32_t wrongCount = 0;
};

QString composeReportText(const ReportInputs& inputs, const QLocale& locale);

} // namespace voltmetr

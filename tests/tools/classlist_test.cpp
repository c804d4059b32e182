#include "results/classlist.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

QByteArray utf8(const char* text)
{
    return QByteArray(text);
}

QByteArray encoded(const char* encoding, const char* utf8Text)
{
    QStringEncoder encoder(encoding);
    EXPECT_TRUE(encoder.isValid()) << encoding;
    return encoder.encode(QString::fromUtf8(utf8Text));
}

QString pupilsOf(const ClassList& list)
{
    QStringList pupils;
    for (const ClassListPupil& pupil : list.pupils) {
        pupils.append(
            QStringLiteral("%1|%2@%3").arg(pupil.surname, pupil.pupilClass).arg(pupil.line));
    }
    return pupils.join(u' ');
}

QString skippedOf(const ClassList& list)
{
    QStringList skipped;
    for (const SkippedLine& line : list.skipped) {
        skipped.append(QStringLiteral("%1:%2").arg(line.line).arg(line.reason));
    }
    return skipped.join(u' ');
}

TEST(ReadClassList, ReadsTheListsThatRegistersExport)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        const char* pupils; // surname|class@line
        const char* encoding;
    };
    const Case cases[] = {
        {"UTF-8 with BOM, header, surname and first name",
         utf8("\xef\xbb\xbfPříjmení;Jméno;Třída\r\nNovák;Jan;2.B\r\nDvořáková;Eva;2.B\r\n"),
         "Novák|2.B@2 Dvořáková|2.B@3", "UTF-8"},
        {"UTF-8 without BOM, no header, commas", utf8("Šťastný,1.A\nŽáková,1.A\n"),
         "Šťastný|1.A@1 Žáková|1.A@2", "UTF-8"},
        {"Windows-1250 with header",
         encoded("windows-1250", "Příjmení;Třída\r\nČermák;3.C\r\nŘezníčková;3.C\r\n"),
         "Čermák|3.C@2 Řezníčková|3.C@3", "Windows-1250"},
        {"class column first", utf8("Třída;Příjmení\n4.D;Malý\n"), "Malý|4.D@2", "UTF-8"},
        {"header names in capitals without diacritics", utf8("PRIJMENI;JMENO;TRIDA\nKos;Jan;1.A\n"),
         "Kos|1.A@2", "UTF-8"},
        {"quoted fields with separators and quotes",
         utf8("\"Příjmení\",\"Třída\"\n\"Nová, Jana\",\"2.B\"\n\"O\"\"Neil\",2.B\n"),
         "Nová, Jana|2.B@2 O\"Neil|2.B@3", "UTF-8"},
        {"blank lines, trailing separators and blanks around fields",
         utf8("Příjmení;Třída;;\n\n  Hora ; 1.A ;;\n;;;\nDole;1.A\n"), "Hora|1.A@3 Dole|1.A@5",
         "UTF-8"},
        {"no line end at the end", utf8("Novák;2.B"), "Novák|2.B@1", "UTF-8"},
        {"line break inside a quoted note",
         utf8("Příjmení;Třída;Poznámka\nNovák;2.B;\"dva\nřádky\"\nHora;2.B;\n"),
         "Novák|2.B@2 Hora|2.B@4", "UTF-8"},
    };
    for (const Case& c : cases) {
        const ClassList list = readClassList(c.bytes);
        EXPECT_TRUE(list.ok()) << c.name << ": " << list.error.toStdString();
        EXPECT_EQ(pupilsOf(list), QString::fromUtf8(c.pupils)) << c.name;
        EXPECT_EQ(list.encoding, QLatin1String(c.encoding)) << c.name;
        EXPECT_TRUE(list.skipped.isEmpty()) << c.name << ": " << skippedOf(list).toStdString();
    }
}

TEST(ReadClassList, SkipsUnusableLinesAndSaysWhy)
{
    const ClassList list = readClassList(utf8("Příjmení;Jméno;Třída\n"
                                              "Novák;Jan;2.B\n"
                                              ";Petr;2.B\n"
                                              "Svoboda;Jiří;\n"
                                              "Novák;Jan;2.B\n"
                                              "Novák;Jakub;2.C\n"
                                              "Kratší\n"));
    ASSERT_TRUE(list.ok()) << list.error.toStdString();
    EXPECT_EQ(pupilsOf(list), QStringLiteral("Novák|2.B@2 Novák|2.C@6"));
    EXPECT_EQ(skippedOf(list), QStringLiteral("3:chybí příjmení 4:chybí třída "
                                              "5:stejný žák už je na řádku 2 7:chybí třída"));
}

TEST(ReadClassList, RefusesWhatIsNoClassListAndReadsNothingOfIt)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"empty file", QByteArray(), "prázdný"},
        {"only blank lines and separators", utf8("\r\n;;\r\n  \r\n"), "prázdný"},
        {"BOM only", utf8("\xef\xbb\xbf"), "prázdný"},
        {"UTF-16 with BOM", encoded("UTF-16LE", "\xef\xbb\xbfPříjmení;Třída\nNovák;2.B\n"),
         "UTF-16"},
        {"UTF-16 without BOM", encoded("UTF-16BE", "Novák;2.B\nHora;2.B\n"), "UTF-16"},
        {"binary data", QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16), "binární"},
        {"DOS Latin 2", encoded("IBM852", "Příjmení;Třída\nNováková;2.B\nŠťastná;2.B\n"),
         "UTF-8 ani ve Windows-1250"},
        {"ISO Latin 2", encoded("ISO-8859-2", "Příjmení;Třída\nŠimek;2.B\nŽák;2.B\n"),
         "UTF-8 ani ve Windows-1250"},
        {"BOM but not UTF-8", QByteArray("\xef\xbb\xbfNov\xe1k;2.B\n"), "není v UTF-8"},
        {"header without class", utf8("Příjmení;Jméno\nNovák;Jan\n"), "„Třída“"},
        {"header without surname", utf8("Jméno;Třída\nJan;2.B\n"), "„Příjmení“"},
        {"one column, no header", utf8("Novák\nHora\n"), "jeden sloupec"},
    };
    for (const Case& c : cases) {
        const ClassList list = readClassList(c.bytes);
        EXPECT_FALSE(list.ok()) << c.name;
        EXPECT_TRUE(list.error.contains(QString::fromUtf8(c.reasonPart)))
            << c.name << ": " << list.error.toStdString();
        EXPECT_TRUE(list.pupils.isEmpty()) << c.name;
    }
}

} // namespace
} // namespace voltmetr

#include "classlist.h"
#include "reportowner.h"
#include "school/classname.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

// An imported list as "surname/class@line" for each pupil, then "line: reason" for each left out.
std::string imported(const char* csv, std::optional<NamedColumns> named = std::nullopt)
{
    const ClassList list = readClassList(QByteArray(csv), named);
    if (!list.ok()) {
        return list.error.toStdString();
    }
    QStringList told;
    for (const ClassListPupil& pupil : list.pupils) {
        told.append(u"%1/%2@%3"_s.arg(pupil.surname, pupil.pupilClass).arg(pupil.line));
    }
    for (const SkippedLine& skipped : list.skipped) {
        told.append(u"%1: %2"_s.arg(skipped.line).arg(skipped.reason));
    }
    for (const UnifiedClass& unified : list.unifiedClasses) {
        told.append(u"%1→%2@%3"_s.arg(unified.typed, unified.unified).arg(unified.line));
    }
    return told.join(u" | "_s).toStdString();
}

TEST(ClassList, ImportsWhatTheSignInListCanOfferAndNamesTheRest)
{
    const char* const noHeader =
        "Seznam nemá záhlaví a nedá se poznat, který sloupec je příjmení a který třída; napište "
        "na první řádek názvy sloupců, například „Příjmení;Jméno;Třída“, nebo sloupce určete v "
        "okně učitele (voltmetr-ucitel okno).";
    const struct
    {
        const char* name;
        const char* csv;
        const char* told;
    } cases[] = {
        {"a register's title naming a class, empty fields after it",
         "Třída 2.B – seznam žáků;;\n\nPříjmení;Jméno;Třída\nNovák;Jan;2.B\n", "Novák/2.B@4"},
        {"no header at all: the first line is a pupil", "Novák;2.B\nHora;2.B\n",
         "Novák/2.B@1 | Hora/2.B@2"},
        // The sign-in list shows "surname; class" and reads the choice back at its semicolons.
        {"a semicolon in the surname", "\"Dvořák; ml.\";1.A\nHora;1.A\n",
         "Hora/1.A@2 | 1: v seznamu při přihlášení by se „Dvořák; ml.; 1.A“ četlo jako žák "
         "„Dvořák“ třídy „1.A“: příjmení ani třída nesmí obsahovat „;“"},
        {"a semicolon in the surname without quotes, a first-name column sliding on",
         "Příjmení;Jméno;Třída;\nDvořák; ml.;Petr;2.B\nHora;Jan;1.A;\n",
         "Hora/1.A@3 | 2: řádek má víc polí (4) než záhlaví (3); je-li „;“ v některém jménu, "
         "opravte ho v seznamu"},
        {"a semicolon in the class", "Příjmení;Třída\nHora;\"1.A; skupina 2\"\n",
         "2: v seznamu při přihlášení by se „Hora; 1.A; skupina 2“ četlo jako žák „Hora“ "
         "třídy „skupina 2“: příjmení ani třída nesmí obsahovat „;“"},
        {"a quoted line break in the surname", "\"Dvořák\nml.\";1.A\nHora;1.A\n",
         "Hora/1.A@3 | 1: příjmení „Dvořák ml.“ obsahuje konec řádku, který seznam při "
         "přihlášení neukáže; opravte ho v seznamu"},
        {"classes written otherwise, each spelling told once, namesakes found among them",
         "Novák;2b\nHora;2. B\nKos;2b\nDub;2.B\nHora;2.b\n",
         "Novák/2.B@1 | Hora/2.B@2 | Kos/2.B@3 | Dub/2.B@4 | 5: Hora ze třídy 2.B už je na řádku "
         "2; je-li to jiný žák se stejným příjmením, napište oběma za příjmení iniciálu jména "
         "(např. „Hora J.“) a seznam načtěte znovu | 2b→2.B@1 | 2. B→2.B@2 | 2.b→2.B@5"},
        {"a tab in the class", "Příjmení;Třída\nHora;1.\tA\n",
         "2: třída „1. A“ obsahuje řídicí znak, který seznam při přihlášení neukáže; opravte ho "
         "v seznamu"},
        // Pupils of one class with one surname would share one profile.
        {"first names tell two pupils apart: neither gets the shared profile",
         "Příjmení;Jméno;Třída\nNovák;Jan;2.B\nHora;Eva;2.B\nNovák;Petr;2.B\nNovák;Petr;2.C\n",
         "Hora/2.B@3 | Novák/2.C@5 | 2: Novák (Jan) má ve třídě 2.B jmenovce na řádku 4; aby měl "
         "každý svůj profil, napište je do seznamu jako „Novák J.“, „Novák P.“ a seznam načtěte "
         "znovu | 4: Novák (Petr) má ve třídě 2.B jmenovce na řádku 2; aby měl každý svůj "
         "profil, napište je do seznamu jako „Novák J.“, „Novák P.“ a seznam načtěte znovu"},
        {"the same initial: the whole first names",
         "Příjmení;Jméno;Třída\nNovák;Jan;2.B\nNovák;Josef;2.B\n",
         "2: Novák (Jan) má ve třídě 2.B jmenovce na řádku 3; aby měl každý svůj profil, napište "
         "je do seznamu jako „Novák Jan“, „Novák Josef“ a seznam načtěte znovu | 3: Novák (Josef) "
         "má ve třídě 2.B jmenovce na řádku 2; aby měl každý svůj profil, napište je do seznamu "
         "jako „Novák Jan“, „Novák Josef“ a seznam načtěte znovu"},
        {"no first names: most likely one pupil listed twice", "Novák;2.B\nHora;2.B\nNovák;2.B\n",
         "Novák/2.B@1 | Hora/2.B@2 | 3: Novák ze třídy 2.B už je na řádku 1; je-li to jiný žák "
         "se stejným příjmením, napište oběma za příjmení iniciálu jména (např. „Novák J.“) a "
         "seznam načtěte znovu"},
        {"the same first name twice: one pupil listed twice",
         "Příjmení;Jméno;Třída\nNovák;Jan;2.B\nNovák;Jan;2.B\n",
         "Novák/2.B@2 | 3: Novák ze třídy 2.B už je na řádku 2; je-li to jiný žák se stejným "
         "příjmením, napište oběma za příjmení iniciálu jména (např. „Novák J.“) a seznam "
         "načtěte znovu"},
        // UTF-8 letters beside bytes that are no UTF-8 make a damaged UTF-8 list.
        {"UTF-8 with a stray byte in a third column", "Hora;2.B\r\nKo\xc4\x8d\xc3\xad;2.B;x\xff\n",
         "Seznam není v UTF-8 ani ve Windows-1250 (řádek 2: „Kočí;2.B;x\ufffd“); uložte ho znovu "
         "v jednom z nich."},
        {"a Windows-1250 line after a lone CR and a CR LF",
         "Hora;2.B\rNov\xc3\xa1k;2.B\r\nDvo\xf8\xe1k;2.C\n",
         "Seznam není v UTF-8 ani ve Windows-1250 (řádek 3: „Dvo\ufffd\ufffdk;2.C“); uložte ho "
         "znovu v jednom z nich."},
        {"Windows-1250", "Ko\xe8\xed;2.B\n", "Kočí/2.B@1"},
        // Ů Ž make U+064E, Â ° U+00B0, by chance.
        {"Windows-1250 with pairs that UTF-8 reads, but no letter",
         "P\xf8\xed"
         "jmen\xed;T\xf8\xed"
         "da;Pozn\xe1"
         "mka\nR\xd9\x8eI\xc8KA;2.B;\xc2\xb0\n",
         "RŮŽIČKA/2.B@2"},
        // Without a header the columns are read only when one of two holds the classes.
        {"no header, the class first", "2.B;Malý\n3a;Kos\n", "Malý/2.B@1 | Kos/3.A@2 | 3a→3.A@2"},
        {"no header, a first name between", "Novotný;Petr;2.B\n", noHeader},
        {"no header, a class without a year", "Novák;Sexta\n", noHeader},
        {"no header, a third column", "Novák;2.B;Petr\n", noHeader},
        {"no header, classes in both columns", "2.B;3.A\n", noHeader},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(imported(c.csv), c.told) << c.name;
    }
}

// A list whose columns cannot be told apart shows its first lines; the columns the teacher names
// are read, unless a header names them.
TEST(ClassList, ReadsAListWithoutAHeaderFromTheColumnsTheTeacherNames)
{
    EXPECT_EQ(
        readClassList("Novotný;Petr;2.B;;\nKos;Jan;3a\n").firstLines,
        (QList<QStringList>{{u"Novotný"_s, u"Petr"_s, u"2.B"_s}, {u"Kos"_s, u"Jan"_s, u"3a"_s}}));
    EXPECT_EQ(imported("Novák;Sexta\n", NamedColumns{0, 1}), "Novák/Sexta@1");
    EXPECT_EQ(imported("Příjmení;Jméno;Třída\nNovák;Jan;2.B\n", NamedColumns{1, 0}), "Novák/2.B@2");
    EXPECT_EQ(imported("Novák;2.B\n", NamedColumns{1, 1}),
              "Příjmení a třída nemohou být v jednom sloupci.");
}

// The year, a dot, the letters in capitals, a group's digit; anything else stays as typed.
TEST(ClassName, OneClassIsWrittenOneWayAndClassesGoByYear)
{
    const char* const cases[][2] = {
        {"2. B", "2.B"},  {"2B", "2.B"},      {"2.b", "2.B"},     {" 2.B\u00a0", "2.B"},
        {"4.sa", "4.SA"}, {"1.a1", "1.A1"},   {"10 c", "10.C"},   {"2.abcd", "2.abcd"},
        {"0a", "0a"},     {"\t2.B", "\t2.B"}, {"II.B", "II.B"},   {"2.B skupina", "2.B skupina"},
        {"-2.B", "-2.B"}, {"2.B/1", "2.B/1"}, {"Sexta", "Sexta"}, {"2.a 1", "2.a 1"},
    };
    for (const auto& [typed, unified] : cases) {
        EXPECT_EQ(unifiedClassName(QString::fromUtf8(typed)), QString::fromUtf8(unified)) << typed;
    }
    QStringList classes{u"10.A"_s,   u"Sexta"_s, u"9.B"_s,  u"2.B"_s, u"3A"_s,
                        u"Kvarta"_s, u"9.A"_s,   u"2.A1"_s, u"1.C"_s};
    std::sort(classes.begin(), classes.end(), ClassNameOrder());
    EXPECT_EQ(classes.join(u' '), u"1.C 2.A1 2.B 3A 9.A 9.B 10.A Kvarta Sexta"_s);
}

// Whom a mailed report belongs to: "surname/class" it is stored under, then who else fits.
TEST(ReportOwner, AReportBelongsToTheOneListedPupilItNames)
{
    const std::vector<Profile> listed{{u"Horák"_s, u"2.B"_s}, {u"Novák"_s, u"2.B"_s},
                                      {u"Novák"_s, u"2.C"_s}, {u"Horák P."_s, u"3.A"_s},
                                      {u"Horák"_s, u"3.A"_s}, {u"Dub"_s, u"4A"_s},
                                      {u"Kos"_s, u"2.B"_s},   {u"Kos"_s, u"2.B"_s}};
    const char* const cases[][3] = {
        {"Petr Horák", "2.B", "Horák/2.B"},
        {" horak  PETR ", "2b", "Horák/2.B"},
        {"Jan Pavel Novák", "2. b", "Novák/2.B"},
        {"Novák", "2.C", "Novák/2.C"},
        {"Horák", "2.C", "Horák/2.C, none fits"},
        {"Horáková", "2.B", "Horáková/2.B, none fits"},
        {"Novák Horák", "2.B", "Novák Horák/2.B, several fit: Horák Novák"},
        {"Horák P.", "3.A", "Horák P./3.A"},
        {"Petr Horák", "3a", "Horák/3.A"},
        {"Dub Ota", "4.A", "Dub/4A"},
        {"Kos", "2.B", "Kos/2.B"},
        {"Eva Malá", "Sexta", "Eva Malá/Sexta, none fits"},
    };
    for (const auto& [name, pupilClass, storedAs] : cases) {
        using Found = teacher::ReportOwner::Found;
        const teacher::ReportOwner owner = teacher::ListedPupils(listed).ownerOf(
            QString::fromUtf8(name), QString::fromUtf8(pupilClass));
        QString told = owner.storedAs.surname + u'/' + owner.storedAs.className;
        told += owner.found == Found::NoneFits     ? u", none fits"_s
                : owner.found == Found::SeveralFit ? u", several fit:"_s
                                                   : QString();
        for (const Profile& pupil : owner.fitting) {
            told += u' ' + pupil.surname;
        }
        EXPECT_EQ(told, QString::fromUtf8(storedAs)) << name;
    }
}

} // namespace
} // namespace voltmetr

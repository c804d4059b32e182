#include "classlist.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

// An imported list as "surname/class@line" for each pupil, then "line: reason" for each left out.
std::string imported(const char* csv)
{
    const ClassList list = readClassList(QByteArray(csv));
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
    return told.join(u" | "_s).toStdString();
}

TEST(ClassList, ImportsWhatTheSignInListCanOfferAndNamesTheRest)
{
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
        {"a semicolon in the class", "Hora;\"1.A; skupina 2\"\n",
         "1: v seznamu při přihlášení by se „Hora; 1.A; skupina 2“ četlo jako žák „Hora“ "
         "třídy „skupina 2“: příjmení ani třída nesmí obsahovat „;“"},
        {"a quoted line break in the surname", "\"Dvořák\nml.\";1.A\nHora;1.A\n",
         "Hora/1.A@3 | 1: příjmení „Dvořák ml.“ obsahuje konec řádku, který seznam při "
         "přihlášení neukáže; opravte ho v seznamu"},
        {"a tab in the class", "Hora;1.\tA\n",
         "1: třída „1. A“ obsahuje řídicí znak, který seznam při přihlášení neukáže; opravte ho "
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
         "R\xd9\x8eI\xc8KA;2.B;\xc2\xb0\n", "RŮŽIČKA/2.B@1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(imported(c.csv), c.told) << c.name;
    }
}

} // namespace
} // namespace voltmetr

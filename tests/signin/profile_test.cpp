#include "signin/profile.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(ProfileEntry, SurnameSemicolonBlankClass)
{
    const struct
    {
        const char* name;
        Profile profile;
        const char* entry;
    } cases[] = {
        {"plain", {QStringLiteral("Novák"), QStringLiteral("3.B")}, "Novák; 3.B"},
        {"empty class", {QStringLiteral("Novák"), QString()}, "Novák; "},
        {"empty surname", {QString(), QStringLiteral("1.A")}, "; 1.A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(profileEntry(c.profile), QString::fromUtf8(c.entry)) << c.name;
    }
}

TEST(ParseProfileEntry, SurnameToTheFirstSemicolonClassAfterTheLast)
{
    const struct
    {
        const char* name;
        const char* entry;
        const char* surname;
        const char* className;
    } cases[] = {
        {"an entry as listed", "Novák; 3.B", "Novák", "3.B"},
        {"empty class", "Novák; ", "Novák", ""},
        {"a semicolon in the surname", "Novák;ml.; 3.B", "Novák", "3.B"},
        {"leading blanks of the class go", "Svoboda;    2.A", "Svoboda", "2.A"},
        {"trailing blanks of the class stay", "Svoboda; 2.A  ", "Svoboda", "2.A  "},
        {"trailing blanks of the surname stay", "Dvořák  ; 1.C", "Dvořák  ", "1.C"},
        {"no blank after the semicolon", "Malá;4.D", "Malá", "4.D"},
        {"empty surname", "; 1.A", "", "1.A"},
    };
    for (const auto& c : cases) {
        const Profile profile = parseProfileEntry(QString::fromUtf8(c.entry));
        EXPECT_EQ(profile.surname, QString::fromUtf8(c.surname)) << c.name;
        EXPECT_EQ(profile.className, QString::fromUtf8(c.className)) << c.name;
    }
}

} // namespace
} // namespace voltmetr

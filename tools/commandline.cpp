#include "commandline.h"

#include "school/classname.h"
#include "school/schooldatabase.h"
#include "school/schoolsettings.h"

#include <QDate>
#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <optional>

namespace voltmetr::teacher {

namespace {

struct CommandInfo
{
    const char* name;
    Command command;
    int minFiles;
    int maxFiles; // -1: any number
};

const CommandInfo commands[] = {
    {"zaloz", Command::Create, 0, 0},
    {"import", Command::Import, 1, 1},
    {"dekoduj", Command::Decode, 0, -1},
    {"export", Command::Export, 0, 0},
    {"souhrn", Command::Totals, 0, 0},
    {"aktualizuj", Command::Upgrade, 0, 0},
    {"statistika", Command::Statistics, 0, 0},
    {"prehled", Command::Overview, 0, 0},
    {"over", Command::Check, 0, 0},
    {"prejmenuj", Command::Rename, 4, 4},
    {"sluc", Command::Merge, 4, 4},
    {"odeber", Command::Remove, 2, 2},
    {"okno", Command::Window, 0, 0},
};

bool changesPupils(Command command)
{
    return command == Command::Rename || command == Command::Merge || command == Command::Remove;
}

const CommandInfo* findCommand(const QString& name)
{
    const auto found =
        std::find_if(std::begin(commands), std::end(commands),
                     [&](const CommandInfo& c) { return name == QLatin1String(c.name); });
    return found == std::end(commands) ? nullptr : found;
}

QLatin1String commandName(Command command)
{
    const auto found = std::find_if(std::begin(commands), std::end(commands),
                                    [&](const CommandInfo& c) { return c.command == command; });
    return QLatin1String(found->name);
}

// An option belongs to some commands or, like --db, to all of them (no owners).
struct OptionInfo
{
    const char* name;
    std::initializer_list<Command> owners;
    QString Request::*value; // nullptr: a switch, which sets flag, or a day, which sets day
    bool Request::*flag = nullptr;
    std::optional<QDate> Period::*day = nullptr;
};

const OptionInfo options[] = {
    {"--db", {}, &Request::databasePath},
    {"--prepsat", {Command::Create}, nullptr, &Request::overwrite},
    {"--csv", {Command::Decode}, &Request::csvPath},
    {"--ulozit", {Command::Decode}, nullptr, &Request::store},
    {"--vystup", {Command::Export, Command::Overview}, &Request::outputPath},
    {"--trida",
     {Command::Export, Command::Totals, Command::Statistics, Command::Overview},
     &Request::pupilClass},
    {"--podle-potreby", {Command::Statistics, Command::Overview}, nullptr, &Request::byNeed},
    {"--od",
     {Command::Statistics, Command::Overview, Command::Export},
     nullptr,
     nullptr,
     &Period::from},
    {"--do",
     {Command::Statistics, Command::Overview, Command::Export},
     nullptr,
     nullptr,
     &Period::to},
};

// A date as Czech teachers write it, 1.9.2026 or 01. 09. 2026; nothing when it is no date.
std::optional<QDate> czechDate(QString text)
{
    const QDate day = QDate::fromString(text.remove(u' '), QStringLiteral("d.M.yyyy"));
    return day.isValid() ? std::optional(day) : std::nullopt;
}

QString czechDateText(const QDate& day)
{
    return day.toString(QStringLiteral("d.M.yyyy"));
}

Request refused(QString reason)
{
    Request request;
    request.error = std::move(reason);
    return request;
}

} // namespace

Request parseRequest(const QStringList& arguments)
{
    Request request;
    QStringList positional;
    bool onlyFiles = false;
    QList<const OptionInfo*> given; // checked against the command once it is known
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (onlyFiles || !argument.startsWith(u'-') || argument == QStringLiteral("-")) {
            positional.append(argument);
            continue;
        }
        if (argument == QStringLiteral("--")) {
            onlyFiles = true;
            continue;
        }
        if (argument == QStringLiteral("-h") || argument == QStringLiteral("--help") ||
            argument == QStringLiteral("--napoveda")) {
            request.help = true;
            continue;
        }
        if (argument == QStringLiteral("--version")) {
            request.version = true;
            continue;
        }
        const QString name = argument.section(u'=', 0, 0);
        const auto option =
            std::find_if(std::begin(options), std::end(options),
                         [&](const OptionInfo& o) { return name == QLatin1String(o.name); });
        if (option == std::end(options)) {
            return refused(QStringLiteral("Neznámá volba %1 (nápověda: --help).").arg(argument));
        }
        given.append(option);
        if (!option->value && !option->day) {
            if (argument.contains(u'=')) {
                return refused(QStringLiteral("Volba %1 nemá hodnotu.").arg(name));
            }
            request.*(option->flag) = true;
            continue;
        }
        std::optional<QString> value;
        if (argument.contains(u'=')) {
            value = argument.section(u'=', 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        if (!value || value->isEmpty()) {
            return refused(QStringLiteral("Volba %1 potřebuje hodnotu.").arg(name));
        }
        if (!option->day) {
            request.*(option->value) = *value;
        } else if (const std::optional<QDate> day = czechDate(*value)) {
            request.period.*(option->day) = day;
        } else {
            return refused(QStringLiteral("Datum „%1“ u volby %2 nelze přečíst; pište ho jako "
                                          "1.9.2026.")
                               .arg(*value, name));
        }
    }
    if (request.help && !positional.isEmpty() && findCommand(positional.first())) {
        request.command = findCommand(positional.first())->command;
        request.commandHelp = true;
    }
    if (request.help || request.version) {
        return request;
    }
    if (positional.isEmpty()) {
        return refused(QStringLiteral("Chybí příkaz (nápověda: --help)."));
    }
    const QString commandWord = positional.takeFirst();
    const CommandInfo* info = findCommand(commandWord);
    if (!info) {
        return refused(QStringLiteral("Neznámý příkaz „%1“ (nápověda: --help).").arg(commandWord));
    }
    request.command = info->command;
    for (const OptionInfo* option : given) {
        if (option->owners.size() != 0 &&
            std::ranges::find(option->owners, request.command) == option->owners.end()) {
            QStringList owners;
            for (const Command owner : option->owners) {
                owners << commandName(owner);
            }
            return refused(QStringLiteral("Volba %1 patří k příkazu %2, ne k %3.")
                               .arg(QLatin1String(option->name),
                                    owners.join(QStringLiteral(" nebo ")), commandWord));
        }
    }
    if (const Period& period = request.period;
        period.from && period.to && period.from > period.to) {
        return refused(QStringLiteral("Období od %1 do %2 nemá ani den: --od musí být nejpozději "
                                      "v den --do.")
                           .arg(czechDateText(*period.from), czechDateText(*period.to)));
    }
    if (request.command == Command::Overview && request.outputPath.isEmpty()) {
        return refused(QStringLiteral("Příkazu prehled chybí volba --vystup SOUBOR.html."));
    }
    if (positional.size() < info->minFiles) {
        return refused(QStringLiteral("Příkazu %1 chybí %2 (nápověda: --help).")
                           .arg(commandWord, changesPupils(request.command)
                                                 ? QStringLiteral("příjmení a třída žáka")
                                                 : QStringLiteral("soubor")));
    }
    if (info->maxFiles >= 0 && positional.size() > info->maxFiles) {
        return refused(QStringLiteral("Příkaz %1 nečeká „%2“.")
                           .arg(commandWord, positional.value(info->maxFiles)));
    }
    request.files = positional;
    // A class is asked for as it is typed and found as the database writes it: "2b" is 2.B.
    request.pupilClass = unifiedClassName(request.pupilClass);
    // The lab check tells where the location comes from, and counts a settings file it cannot
    // use among its findings.
    if (request.databasePath.isEmpty() && request.command != Command::Check) {
        const SchoolSetting location = configuredDatabaseLocation();
        if (!location.problem.isEmpty()) {
            return refused(location.problem + QStringLiteral(" Opravte jej, nebo zadejte --db."));
        }
        request.databasePath = location.value;
    }
    return request;
}

QString helpText()
{
    return QStringLiteral(
               "Použití: voltmetr-ucitel PŘÍKAZ [VOLBY] [SOUBORY]\n"
               "\n"
               "Učitelský nástroj Voltmetru: založí školní databázi, naplní ji žáky,\n"
               "vypíše jejich výsledky a dekóduje zprávy, které žáci posílají e-mailem.\n"
               "\n"
               "Příkazy:\n"
               "  zaloz [--prepsat]        založí prázdnou školní databázi; existující soubor\n"
               "                           přepíše jen s volbou --prepsat a původní uschová\n"
               "                           jako CESTA.DATUM.zaloha (starší zálohy zůstanou)\n"
               "  import SEZNAM.csv        přidá žáky ze seznamu třídy (CSV ze školní matriky,\n"
               "                           UTF-8, UTF-16 nebo Windows-1250, oddělovač „;“\n"
               "                           nebo „,“, sloupce Příjmení a Třída); žák, který\n"
               "                           už v databázi je, se nepřidá znovu\n"
               "                           (třídu zapíše jednotně: „2b“ i „2. B“ jako „2.B“)\n"
               "  dekoduj [SOUBOR...]      dekóduje zprávy žáků z uložených e-mailů (.eml,\n"
               "                           mbox) nebo z textu, zprávu danou dvakrát jednou;\n"
               "                           bez souboru (nebo se souborem „-“) čte standardní\n"
               "                           vstup\n"
               "      --csv VÝSTUP.csv     zapíše navíc tabulku všech zpráv\n"
               "      --ulozit             uloží zprávy do databáze jako výsledky žáků\n"
               "                           (přihlášen jako „(zpráva e-mailem)“); zprávu,\n"
               "                           která už uložena je, ani zprávu o běhu, který už\n"
               "                           v databázi je, neuloží znovu\n"
               "                           (zprávu žáka ze seznamu, „Petr Horák“ i „Horák“,\n"
               "                           uloží k jeho výsledkům)\n"
               "  export [--vystup VÝSTUP.csv] [--trida TŘÍDA]\n"
               "                           vypíše výsledky z databáze jako CSV, všechny\n"
               "                           nebo jen jedné třídy\n"
               "  souhrn [--trida TŘÍDA]   vypíše celkové výsledky každého žáka\n"
               "  statistika [--trida TŘÍDA]\n"
               "                           vypíše za každého žáka seznamu (i toho, kdo ještě\n"
               "                           necvičil) a každou třídu cvičení, úlohy,\n"
               "                           úspěšnost, zničené měřáky, čas na úlohu\n"
               "                           a chybné odpovědi podle pravděpodobné příčiny\n"
               "  prehled --vystup PREHLED.html [--trida TŘÍDA]\n"
               "                           zapíše přehled třídy s grafy jako jednu stránku,\n"
               "                           která se otevře v prohlížeči i bez sítě\n"
               "      --podle-potreby      (statistika, prehled) seřadí žáky podle potřeby\n"
               "                           pomoci: nejdřív kdo necvičil, pak od nejnižší\n"
               "                           úspěšnosti; jinak podle třídy a příjmení\n"
               "      --od DATUM           (statistika, prehled, export) jen běhy od dne\n"
               "                           DATUM včetně, psaného jako 1.9.2026\n"
               "      --do DATUM           (statistika, prehled, export) jen běhy do dne\n"
               "                           DATUM včetně; kdo v období necvičil, je mezi\n"
               "                           těmi, kdo necvičili\n"
               "  aktualizuj               doplní do databáze ze starší verze tabulku úloh\n"
               "                           a tabulku uložených zpráv, na serveru sloupec\n"
               "                           s příčinou každé chyby\n"
               "                           (a třídy zapsané jinak, např. „3A“, převede i se\n"
               "                           žáky a jejich běhy na „3.A“)\n"
               "  over                     zkouška učebny: spuštěno pod účtem žáka na jeho\n"
               "                           počítači vypíše po řádcích s ✔ nebo ✖, co program\n"
               "                           žáka potká: nastavení, databázi, seznam žáků,\n"
               "                           přihlášení k serveru a zkušební uložení běhu, které\n"
               "                           nic nezmění; kód 0, jen když se běhy uloží\n"
               "  okno                     otevře okno učitele: třídu na první pohled, žáky\n"
               "                           od toho, kdo potřebuje pomoc nejvíc\n"
               "  prejmenuj PŘÍJMENÍ TŘÍDA NOVÉ_PŘÍJMENÍ NOVÁ_TŘÍDA\n"
               "                           přejmenuje žáka nebo ho přesune do jiné třídy,\n"
               "                           i s jeho běhy\n"
               "  sluc PŘÍJMENÍ TŘÍDA DO_PŘÍJMENÍ DO_TŘÍDY\n"
               "                           převede běhy prvního žáka (třeba jména ze zprávy\n"
               "                           e-mailem) na druhého, který je v seznamu, a první\n"
               "                           ze seznamu vyřadí\n"
               "  odeber PŘÍJMENÍ TŘÍDA    vyřadí omylem přidaného žáka ze seznamu; jeho běhy\n"
               "                           zůstanou (chcete-li je u jiného žáka, použijte sluc)\n"
               "\n"
               "Společné volby:\n"
               "  --db CESTA               školní databáze: soubor, nebo databázový server\n"
               "                           (postgresql://server/databaze, service=jmeno);\n"
               "                           bez volby ta, kterou hledá program\n"
               "                           žáků: proměnná VOLTMETR_DB, jinak nastavení\n"
               "                           školy (/etc/xdg/voltmetr/voltmetr.conf),\n"
               "                           jinak výchozí cesta (teď %1)\n"
               "  -h, --help               tato nápověda\n"
               "  --version                verze programu\n"
               "\n"
               "Návratový kód je 0 při úspěchu, jinak nenulový s důvodem na chybovém výstupu.\n")
        .arg(schoolDatabasePath());
}

QString commandHelpText(Command command)
{
    // The general help lists each command on a line indented by two blanks, under it the
    // options only it takes indented by six, each entry's further lines indented more; an option
    // of several commands stands under one of them. The common options follow.
    const QStringList lines = helpText().split(u'\n');
    const auto indentOf = [](const QString& line) {
        return std::ranges::find_if(line, [](QChar c) { return c != u' '; }) - line.begin();
    };
    const auto leftColumn = [](const QString& line) {
        static const QRegularExpression columnGap(QStringLiteral("\\s{2,}"));
        return line.trimmed().section(columnGap, 0, 0);
    };
    const auto common = std::ranges::find(lines, QStringLiteral("Společné volby:"));
    const auto entryAt = [&](QStringList::const_iterator first) {
        auto end = first + 1;
        while (end != common && indentOf(*end) > indentOf(*first)) {
            ++end;
        }
        return QStringList(first, end);
    };
    const auto entryOf = [&](qsizetype indent, const QString& word) {
        return std::find_if(lines.cbegin(), common, [&](const QString& line) {
            return indentOf(line) == indent && leftColumn(line).section(u' ', 0, 0) == word;
        });
    };
    const auto first = entryOf(2, commandName(command));
    if (first == common) {
        return helpText();
    }
    QStringList own = entryAt(first);
    QString usage = leftColumn(*first);
    for (const OptionInfo& option : options) {
        const QString name = QLatin1String(option.name);
        if (std::ranges::find(option.owners, command) == option.owners.end() ||
            usage.contains(name)) {
            continue;
        }
        const auto described = entryOf(6, name);
        usage += QStringLiteral(" [%1]").arg(described == common ? name : leftColumn(*described));
        if (described != common && !own.contains(*described)) {
            own << entryAt(described);
        }
    }
    return QStringLiteral("Použití: voltmetr-ucitel %1 [--db CESTA]\n\n%2\n\n%3")
        .arg(usage, own.join(u'\n'), QStringList(common, lines.cend()).join(u'\n'));
}

} // namespace voltmetr::teacher

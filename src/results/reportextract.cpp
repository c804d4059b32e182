#include "results/reportextract.h"

#include "results/reportdecoder.h"

#include <QRegularExpression>
#include <algorithm>

namespace voltmetr {

namespace {

struct Token
{
    QStringView text;
    int line = 0;
};

// Mail programs quote a forwarded or answered text with ">" (one per level, with or without
// blanks between).
QStringView withoutQuoting(QStringView line)
{
    qsizetype start = 0;
    while (start < line.size() && (line[start] == u'>' || line[start].isSpace())) {
        ++start;
    }
    return line.sliced(start);
}

// A line of a report holds tokens only; a damaged one still holds mostly tokens, while a line
// of a letter holds words.
bool isTokenLine(const QList<QStringView>& words)
{
    const auto pairs = std::count_if(words.begin(), words.end(), isReportToken);
    return !words.isEmpty() && pairs * 2 >= words.size();
}

void appendReport(QList<FoundReport>& reports, const QList<Token>& tokens, qsizetype from,
                  qsizetype to)
{
    // Words in front of the first report ("Výsledky: 4b ...") that hold no token are the
    // letter's, not a damaged report.
    const bool anyToken = std::any_of(tokens.begin() + from, tokens.begin() + to,
                                      [](const Token& t) { return isReportToken(t.text); });
    if (from == to || !anyToken) {
        return;
    }
    FoundReport report;
    for (qsizetype i = from; i < to; ++i) {
        if (i > from) {
            report.encoded += u' ';
        }
        report.encoded += tokens[i].text;
        report.tokenLines.append(tokens[i].line);
    }
    reports.append(report);
}

// One run of token lines: split where each report starts.
void splitRun(QList<FoundReport>& reports, const QList<Token>& run)
{
    QList<QStringView> texts;
    texts.reserve(run.size());
    for (const Token& token : run) {
        texts.append(token.text);
    }
    qsizetype start = 0;
    for (qsizetype i = 1; i < run.size(); ++i) {
        if (beginsReport(texts, i)) {
            appendReport(reports, run, start, i);
            start = i;
        }
    }
    appendReport(reports, run, start, run.size());
}

} // namespace

QList<FoundReport> findReports(const QString& mailText)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = mailText.split(lineBreak);
    QList<FoundReport> reports;
    QList<Token> run;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QList<QStringView> words = splitReportTokens(withoutQuoting(lines[i]));
        // Blank lines inside a report are what some mail programs make of its line breaks.
        if (words.isEmpty()) {
            continue;
        }
        if (!isTokenLine(words)) {
            splitRun(reports, run);
            run.clear();
            continue;
        }
        for (const QStringView word : words) {
            run.append({word, static_cast<int>(i + 1)});
        }
    }
    splitRun(reports, run);
    return reports;
}

} // namespace voltmetr

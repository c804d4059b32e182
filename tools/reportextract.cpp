#include "reportextract.h"

#include "report/reportdecoder.h"

#include <QRegularExpression>

namespace voltmetr {

namespace {

struct Token
{
    QStringView text;
    int line = 0;
};

struct LineShape
{
    int pairs = 0;
    int words = 0;

    // A line of a report holds pairs; a damaged one barely anything else. The letter's lines
    // hold words, a hex-looking one among them at most ("Celkem 20", "tel. 12 34").
    bool reportLike() const { return pairs > 0 && pairs >= 4 * (words - pairs); }
    // Four pairs or more: too many to start a damaged report by chance.
    bool startsDamagedReport() const { return reportLike() && pairs >= 4; }
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

class Finder
{
public:
    explicit Finder(const QString& text)
    {
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
        // The tokens are views into the lines, which the finder keeps.
        m_lines = text.split(lineBreak);
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            LineShape shape;
            for (const QStringView word : splitReportTokens(withoutQuoting(m_lines[i]))) {
                ++shape.words;
                shape.pairs += isReportToken(word) ? 1 : 0;
                m_tokens.append({word, static_cast<int>(i + 1)});
                m_texts.append(word);
            }
            m_shapes.append(shape);
        }
    }

    QList<FoundReport> find()
    {
        QList<FoundReport> reports;
        for (qsizetype i = 0; i < m_tokens.size();) {
            if (beginsReport(m_texts, i) || startsDamagedReport(i)) {
                const qsizetype end = reportEnd(i);
                reports.append(report(i, end));
                i = end;
            } else {
                ++i;
            }
        }
        return reports;
    }

private:
    const LineShape& shapeOf(qsizetype token) const { return m_shapes[m_tokens[token].line - 1]; }

    bool firstOnLine(qsizetype token) const
    {
        return token == 0 || m_tokens[token - 1].line != m_tokens[token].line;
    }

    // The first pair of a report-like line: words in front of it are the letter's
    // ("Výsledky: 4c 1f ...").
    bool startsDamagedReport(qsizetype token) const
    {
        if (!isReportToken(m_texts[token]) || !shapeOf(token).startsDamagedReport()) {
            return false;
        }
        for (qsizetype before = token - 1; before >= 0 && !firstOnLine(before + 1); --before) {
            if (isReportToken(m_texts[before])) {
                return false;
            }
        }
        return true;
    }

    qsizetype reportEnd(qsizetype start) const
    {
        ReportEnd end;
        for (qsizetype i = start; i < m_tokens.size(); ++i) {
            if (i > start && beginsReport(m_texts, i)) {
                return i;
            }
            // A report that has ended takes no further line, and no word but pairs on its own.
            const bool newLine = i > start && firstOnLine(i);
            const bool pair = isReportToken(m_texts[i]);
            if ((newLine || !pair) && (end.reached() || !shapeOf(i).reportLike())) {
                return i;
            }
            end.feed(m_texts[i]);
        }
        return m_tokens.size();
    }

    FoundReport report(qsizetype from, qsizetype to) const
    {
        FoundReport found;
        for (qsizetype i = from; i < to; ++i) {
            if (i > from) {
                found.encoded += u' ';
            }
            found.encoded += m_texts[i];
            found.tokenLines.append(m_tokens[i].line);
        }
        return found;
    }

    QStringList m_lines;
    QList<Token> m_tokens;
    QList<QStringView> m_texts;
    QList<LineShape> m_shapes;
};

} // namespace

QList<FoundReport> findReports(const QString& text)
{
    return Finder(text).find();
}

} // namespace voltmetr

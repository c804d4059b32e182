#include "results/runend.h"

#include "report/reporttext.h"
#include "results/backgroundsave.h"
#include "results/runsummary.h"
#include "school/resultsstore.h"

#include <QLocale>

namespace voltmetr {

namespace {

QString storeFailedMessage(const QString& reason)
{
    return QStringLiteral("Výsledek se nepodařilo uložit do školní databáze.\n\nDůvod: %1\n\n"
                          "Nic se neztratilo: po stisknutí OK dostaneš výsledek jako "
                          "zakódovanou zprávu. Vlož ji do schránky nebo ulož do souboru "
                          "a předej ji vyučujícímu.")
        .arg(reason);
}

RunEnd::Counts countsOf(std::int64_t right, std::int64_t wrong)
{
    return {countCaption(right + wrong), countCaption(right), countCaption(wrong)};
}

} // namespace

RunEnd::RunEnd(Host& host, Data_a_promene& state, Info2& coder, QObject* parent)
    : QObject(parent), m_host(host), m_state(state), m_coder(coder)
{
    if (state.EmailMode) {
        encodeReport(false, m_host.now());
    } else {
        storeRun();
    }
}

RunEnd::~RunEnd() = default;

RunEnd::Counts RunEnd::today() const
{
    return countsOf(m_state.RightCount, m_state.WrongCount);
}

bool RunEnd::saving() const
{
    return m_save != nullptr && m_save->isRunning();
}

void RunEnd::storeRun()
{
    const double now = m_host.now();
    m_save =
        new BackgroundSave(ResultsStore(schoolDatabasePath()),
                           resultRowFor(m_state, now, m_host.loginName()), m_state.TaskLog, this);
    connect(m_save, &BackgroundSave::finished, this, [this, now] { saveFinished(now); });
    m_total.fill(QStringLiteral("ukládám…"));
}

void RunEnd::saveFinished(double now)
{
    const RunStored& stored = m_save->result();
    if (stored.totals) {
        m_total = countsOf(stored.totals->rightCount, stored.totals->wrongCount);
    } else {
        m_host.messageBox(storeFailedMessage(stored.error), QStringLiteral("Školní databáze"),
                          MessageStyle::OkCritical);
        // The coder is prepared only at an e-mail sign-in, so its key is loaded here.
        m_coder.InitReportCoder();
        encodeReport(true, now);
    }
    Q_EMIT saveEnded();
}

void RunEnd::encodeReport(bool fallback, double now)
{
    m_handsOutReport = true;
    m_coder.StartReport();
    m_coder.AppendEncoded(composeReportText(fallback ? fallbackReportInputs(m_state, now)
                                                     : emailReportInputs(m_state, now),
                                            QLocale::system()));
    m_total.fill(QStringLiteral("není k dispozici"));
}

} // namespace voltmetr

#include "schoolfile.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>

namespace voltmetr {
namespace {

// Eight computers finishing at once all append to one file: every row arrives once.
TEST(ResultsStoreConcurrency, EightWritersOfAHundredRowsLoseAndDoubleNothing)
{
    constexpr int writers = 8;
    constexpr int rowsEach = 100;
    testing::SchoolFile file;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int w = 0; w < writers; ++w) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(STORE_WRITER_PATH),
                       {file.path(), QString::number(w), QString::number(rowsEach)});
        processes.push_back(std::move(process));
    }
    for (int w = 0; w < writers; ++w) {
        QProcess& process = *processes[static_cast<std::size_t>(w)];
        ASSERT_TRUE(process.waitForFinished(120'000)) << "writer " << w;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "writer " << w;
        EXPECT_EQ(process.exitCode(), 0) << "writer " << w;
    }

    const auto rows = file.resultRows();
    EXPECT_EQ(rows.size(), std::size_t{writers * rowsEach});
    std::map<QString, std::set<int>> seen;
    for (const QVariantList& row : rows) {
        const bool fresh = seen[row[0].toString()].insert(row[2].toInt()).second;
        EXPECT_TRUE(fresh) << "doubled: " << row[0].toString().toStdString() << " "
                           << row[2].toInt();
    }
    ASSERT_EQ(seen.size(), std::size_t{writers});
    for (const auto& [surname, counts] : seen) {
        EXPECT_EQ(counts.size(), std::size_t{rowsEach}) << surname.toStdString();
        EXPECT_EQ(*counts.begin(), 0) << surname.toStdString();
        EXPECT_EQ(*counts.rbegin(), rowsEach - 1) << surname.toStdString();
    }
}

} // namespace
} // namespace voltmetr

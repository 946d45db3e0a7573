// "tallyra --pick" between two real processes: a copy of the program runs (Qt offscreen)
// beside a Data folder of its own, and a second process asks it for a pick over the
// socket in a runtime folder of the test's own.
#include "app/trigger.h"
#include "tests/support/program_folder.h"

#include <QProcess>
#include <QThread>

#include <fstream>
#include <iterator>
#include <set>

namespace tallyra::app {
namespace {

namespace fs = std::filesystem;

TEST(PickProgram, ACallerGetsAStudentOfTheRunningCopysClassOrTheReasonAndItsCode) {
    struct Row {
        ClassRoster roster;
        int picks;
        TriggerCode code;
    } const rows[] = {
        {{{"1", "2", "07"}, {"张三", "李四", "王五"}}, 3, TriggerCode::Done},
        {{}, 1, TriggerCode::NoStudents},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.roster.size());
        tallyra::testing::ProgramFolder folder;
        folder.prepare("一班", "一班");
        folder.addRoster("一班", row.roster);
        const fs::path program = folder.path() / "tallyra", runtime = folder.path() / "run";
        fs::copy_file(TALLYRA_PROGRAM, program);
        fs::create_directory(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.string()));
        QProcess copy;
        copy.setProcessEnvironment(environment);
        copy.start(QString::fromStdString(program.string()), {});
        // It serves calls once its socket is there.
        bool ready = false;
        for (int wait = 0; wait < 1000 && !ready; ++wait, QThread::msleep(20))
            for (const fs::directory_entry& entry : fs::directory_iterator(runtime))
                ready = ready || entry.is_socket();
        ASSERT_TRUE(ready);
        std::set<std::string> picked;
        for (int i = 0; i < row.picks; ++i) {
            QProcess caller;
            caller.setProcessEnvironment(environment);
            caller.start(QString::fromStdString(program.string()), {"--pick"});
            ASSERT_TRUE(caller.waitForFinished(70000));
            const std::string out = caller.readAllStandardOutput().toStdString();
            const std::string reason = caller.readAllStandardError().toStdString();
            ASSERT_EQ(caller.exitCode(), static_cast<int>(row.code)) << reason;
            if (row.code != TriggerCode::Done) {
                EXPECT_TRUE(out.empty() && !reason.empty()) << out;
                continue;
            }
            // One line, number<Tab>name, of a student not yet picked in this round; the record holds it.
            ASSERT_TRUE(out.ends_with('\n') && out.find('\n') == out.size() - 1) << out;
            const std::string line = out.substr(0, out.size() - 1);
            bool inClass = false;
            for (std::size_t at = 1; at <= row.roster.size(); ++at)
                inClass = inClass || line == row.roster.numberAt(at) + "\t" + row.roster.nameAt(at);
            EXPECT_TRUE(inClass && picked.insert(line).second) << line;
            std::ifstream record(folder.path() / "Data" / "点名记录.csv", std::ios::binary);
            const std::string kept{std::istreambuf_iterator<char>(record), {}};
            std::string expected = ",一班," + line + "\r\n";
            expected[expected.find('\t')] = ',';
            EXPECT_NE(kept.find(expected), std::string::npos) << kept;
        }
        copy.kill();
        copy.waitForFinished();
    }
}

} // namespace
} // namespace tallyra::app

// "tallyra --pick" between two real processes: a copy of the program runs (Qt offscreen)
// beside a Data folder of its own, and a second process asks it for a pick over the
// socket in a runtime folder of the test's own.
#include "app/trigger.h"
#include "tests/support/program_folder.h"

#include <QProcess>
#include <QThread>

#include <chrono>
#include <fstream>
#include <iterator>
#include <set>

namespace tallyra::app {
namespace {

namespace fs = std::filesystem;

class RunningCopy {
public:
    explicit RunningCopy(const fs::path& folder) : folder_(folder), runtime_(folder / "run") {
        fs::create_directory(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all);
        fs::copy_file(TALLYRA_PROGRAM, folder / "tallyra");
        copy_.setProcessEnvironment(environment());
        copy_.setWorkingDirectory(QString::fromStdString(folder.string()));
        copy_.start(QString::fromStdString((folder / "tallyra").string()), {});
    }
    ~RunningCopy() {
        copy_.kill();
        copy_.waitForFinished();
    }

    // The copy serves calls once its socket is there.
    bool awaitReady() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            for (const fs::directory_entry& entry : fs::directory_iterator(runtime_))
                if (entry.is_socket()) return true;
            QThread::msleep(20);
        }
        return false;
    }

    struct Call {
        int code = -1;
        std::string out, err;
    };
    Call pick() const {
        QProcess caller;
        caller.setProcessEnvironment(environment());
        caller.start(QString::fromStdString((folder_ / "tallyra").string()), {"--pick"});
        if (!caller.waitForFinished(70000)) return {};
        return {caller.exitStatus() == QProcess::NormalExit ? caller.exitCode() : -1,
                caller.readAllStandardOutput().toStdString(), caller.readAllStandardError().toStdString()};
    }

private:
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime_.string()));
        return environment;
    }

    fs::path folder_, runtime_;
    QProcess copy_;
};

std::string fileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

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
        RunningCopy copy(folder.path());
        ASSERT_TRUE(copy.awaitReady());
        std::set<std::string> picked;
        for (int i = 0; i < row.picks; ++i) {
            const RunningCopy::Call call = copy.pick();
            ASSERT_EQ(call.code, static_cast<int>(row.code)) << call.err;
            if (row.code != TriggerCode::Done) {
                EXPECT_EQ(call.out, "");
                EXPECT_NE(call.err, "");
                continue;
            }
            // One line, number<Tab>name, of a student not yet picked in this round; the record holds it.
            ASSERT_TRUE(call.out.ends_with('\n') && call.out.find('\n') == call.out.size() - 1) << call.out;
            const std::string line = call.out.substr(0, call.out.size() - 1);
            const std::size_t tab = line.find('\t');
            ASSERT_NE(tab, std::string::npos) << line;
            bool inClass = false;
            for (std::size_t at = 1; at <= row.roster.size(); ++at)
                inClass = inClass || line == row.roster.numberAt(at) + "\t" + row.roster.nameAt(at);
            EXPECT_TRUE(inClass) << line;
            EXPECT_TRUE(picked.insert(line).second) << line << " twice in a round";
            const std::string record = fileText(folder.path() / "Data" / "点名记录.csv");
            EXPECT_NE(record.find(",一班," + line.substr(0, tab) + "," + line.substr(tab + 1) + "\r\n"),
                      std::string::npos)
                << record;
        }
    }
}

} // namespace
} // namespace tallyra::app

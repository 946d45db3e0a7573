// Two running copies of the program on one Data folder, each a process of its
// own running class operations: each adds classes of its own, saves their rosters
// and deletes some, at the same time as the other. At the end every class that
// either kept is listed exactly once, and its roster file holds what that copy
// last saved; no class either deleted is listed. TALLYRA_TWO_COPIES_OPERATIONS
// sets the number of operations each copy performs.
#ifndef _WIN32
#include "storage/classes.h"
#include "storage/lists.h"
#include "storage/settings.h"
#include "tests/support/program_folder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <random>

namespace tallyra {
namespace {

using tallyra::testing::ProgramFolder;

using Kept = std::map<std::string, ClassRoster>;

int operationsPerCopy() {
    const char* value = std::getenv("TALLYRA_TWO_COPIES_OPERATIONS");
    return value && *value ? std::atoi(value) : 500;
}

// One copy's work; what it kept goes to the file expected, one class a line:
// name TAB numbers TAB names. Exits 0 when every operation of its own succeeded.
[[noreturn]] void runCopy(const DataFolder& data, char copy, int operations, const std::filesystem::path& expected) {
    std::mt19937 random(copy);
    Kept kept;
    int added = 0;
    bool ok = true;
    // On a loaded machine one copy may hold the lock past the other's wait: that
    // operation is refused with a message and must change nothing, so the copy
    // goes on as if it had not been tried. Anything else refused is a fault.
    int refused = 0;
    const auto accepted = [&](const classes::Result& result) {
        if (result.done()) return true;
        ok = ok && result.message.has_value();
        ++refused;
        return false;
    };
    for (int i = 0; i < operations && ok; ++i) {
        const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
        const std::size_t choice = kept.size() < 2 ? 0 : pick(3);
        if (choice == 0) {
            const std::string name = std::string(1, copy) + "班" + std::to_string(++added);
            if (accepted(classes::addClass(data, name, false))) kept[name] = {};
        } else {
            auto it = kept.begin();
            std::advance(it, pick(kept.size()));
            const std::string name = it->first;
            if (choice == 1) {
                ClassRoster roster;
                std::string text;
                for (std::size_t row = 0; row <= pick(4); ++row) {
                    roster.numbers.push_back(std::to_string(i) + "-" + std::to_string(row));
                    roster.names.push_back(std::string(1, copy) + "同学" + std::to_string(pick(1000)));
                    text += roster.numbers.back() + "\t" + roster.names.back() + "\r\n";
                }
                if (accepted(classes::saveClass(data, {-1, name}, name, text, it->second))) it->second = roster;
            } else {
                const classes::Result result = classes::deleteClass(data, {-1, name});
                if (accepted(result)) {
                    kept.erase(it);
                    ok = ok && !result.message;
                }
            }
        }
    }
    ok = ok && refused < operations / 2;
    std::ofstream out(expected, std::ios::binary);
    for (const auto& [name, roster] : kept)
        out << name << '\t' << joinList(roster.numbers) << '\t' << joinList(roster.names) << '\n';
    out.close();
    ::_exit(ok && out ? 0 : 1);
}

Kept readKept(const std::filesystem::path& file) {
    Kept kept;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> fields = splitList(line + "\t", "\t");
        if (fields.size() < 3) continue;
        kept[fields[0]] = {splitList(fields[1], ","), splitList(fields[2], ",")};
    }
    return kept;
}

TEST(TwoCopies, EveryClassEitherKeptIsListedOnceWithItsLastSavedRoster) {
    ProgramFolder folder;
    folder.prepare("", "");
    const int operations = operationsPerCopy();
    std::vector<pid_t> children;
    for (char copy : {'A', 'B'}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) runCopy(folder.data(), copy, operations, folder.path() / (std::string("kept-") + copy));
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a copy's own operation failed";
    }

    const std::vector<std::string> listed = splitList(settings::classList(folder.data()), ",");
    std::size_t keptInAll = 0;
    for (char copy : {'A', 'B'}) {
        const Kept kept = readKept(folder.path() / (std::string("kept-") + copy));
        keptInAll += kept.size();
        for (const auto& [name, roster] : kept) {
            EXPECT_EQ(std::count(listed.begin(), listed.end(), name), 1) << name;
            EXPECT_EQ(readRoster(folder.data(), name), roster) << name;
        }
    }
    EXPECT_EQ(listed.size(), keptInAll) << "a deleted class is still listed: " << settings::classList(folder.data());
    std::printf("two copies, %d operations each: %zu classes kept, all listed once with their last saved rosters\n",
                operations, keptInAll);
}

} // namespace
} // namespace tallyra
#endif

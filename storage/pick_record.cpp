#include "storage/pick_record.h"

#include "storage/platform/append.h"
#include "storage/platform/calendar.h"
#include "storage/platform/file_system.h"

#include <algorithm>

namespace tallyra {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kHeaderLine = "时间,班级,学号,姓名\r\n";

bool isBlankOrControl(char c) {
    return c == ' ' || static_cast<unsigned char>(c) < 0x20 || c == '\x7F';
}

// Spreadsheets run a cell that starts with one of these as a formula, also after
// blanks or control characters, and some take the full-width forms (＝＋－＠) for
// them too. A text that starts with apostrophes before one of them gets one more,
// so that taking one away on reading gives it back whole.
bool startsLikeFormula(std::string_view text) {
    while (!text.empty() && text.front() == '\'')
        text.remove_prefix(1);
    if (!text.empty() && (text.front() == '\t' || text.front() == '\r')) return true;
    while (!text.empty() && isBlankOrControl(text.front()))
        text.remove_prefix(1);
    if (!text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos) return true;
    for (const std::string_view wide : {"\xEF\xBC\x9D", "\xEF\xBC\x8B", "\xEF\xBC\x8D", "\xEF\xBC\xA0"})
        if (text.starts_with(wide)) return true;
    return false;
}

std::string unguarded(std::string field) {
    if (!field.empty() && field.front() == '\'' && startsLikeFormula(std::string_view(field).substr(1)))
        field.erase(0, 1);
    return field;
}

// Splits CSV text fed in pieces of any size into rows, handing each on as it ends;
// a quote, a doubled quote or a CR LF may fall across two pieces.
class CsvRows {
public:
    explicit CsvRows(std::function<void(std::vector<std::string>&)> take) : take_(std::move(take)) {}

    void feed(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            // Plain text between the marks goes in at once: most of a record is plain.
            if (!quoteSeen_ && !afterCr_) {
                const std::size_t end = std::min(text.find_first_of(quoted_ ? "\"" : ",\"\r\n", i), text.size());
                if (end > i && !quoted_) fieldStarted_ = true;
                field_.append(text.substr(i, end - i));
                i = end;
                if (i == text.size()) break;
            }
            put(text[i]);
        }
    }
    void finish() {
        quoteSeen_ = quoted_ = false;
        if (fieldStarted_ || !row_.empty()) endRow();
    }

private:
    void put(char c) {
        if (afterCr_) {
            afterCr_ = false;
            if (c == '\n') return;
        }
        if (quoteSeen_) {
            quoteSeen_ = false;
            if (c == '"') {
                field_ += c;
                return;
            }
            quoted_ = false;
        }
        if (quoted_) {
            if (c == '"')
                quoteSeen_ = true;
            else
                field_ += c;
        } else if (c == '"' && !fieldStarted_) {
            quoted_ = fieldStarted_ = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\n' || c == '\r') {
            afterCr_ = c == '\r';
            if (fieldStarted_ || !row_.empty()) endRow();
        } else {
            field_ += c;
            fieldStarted_ = true;
        }
    }
    void endField() {
        row_.push_back(std::move(field_));
        field_.clear();
        fieldStarted_ = false;
    }
    void endRow() {
        endField();
        take_(row_);
        row_.clear();
    }

    std::function<void(std::vector<std::string>&)> take_;
    std::vector<std::string> row_;
    std::string field_;
    bool quoted_ = false, quoteSeen_ = false, fieldStarted_ = false, afterCr_ = false;
};

// Rows of a record become picks; the byte-order mark and the header line at its
// start are no pick.
class PickRows {
public:
    explicit PickRows(std::function<void(const Pick&)> take)
        : rows_([this](std::vector<std::string>& row) { onRow(row); }), take_(std::move(take)) {}
    void feed(std::string_view text) { rows_.feed(text); }
    void finish() { rows_.finish(); }

private:
    void onRow(std::vector<std::string>& row) {
        if (first_) {
            first_ = false;
            if (row.front().starts_with(kByteOrderMark)) row.front().erase(0, kByteOrderMark.size());
            if (row == kHeader) return;
        }
        const bool takenBack = row.size() >= 5 && row[4] == kTakenBackMark;
        row.resize(4);
        take_({unguarded(std::move(row[0])), unguarded(std::move(row[1])), unguarded(std::move(row[2])),
               unguarded(std::move(row[3])), takenBack});
    }

    inline static const std::vector<std::string> kHeader{"时间", "班级", "学号", "姓名"};
    CsvRows rows_;
    std::function<void(const Pick&)> take_;
    bool first_ = true;
};

platform::AppendResult appendToRecord(const DataFolder& data, std::string_view lines) {
    if (!platform::isFolder(data.path())) return {platform::FileProblem::Other};
    return platform::appendToFile(pickRecordPath(data), lines, std::string(kByteOrderMark).append(kHeaderLine));
}

std::size_t lineCount(std::string_view lines) {
    return parsePickRecord(lines).size();
}

} // namespace

FilePath pickRecordPath(const DataFolder& data) {
    return data.path() / kPickRecordFileName;
}

FilePath waitingPicksPath(const DataFolder& data) {
    return data.path() / kWaitingPicksFileName;
}

std::string csvField(std::string_view text) {
    std::string field = startsLikeFormula(text) ? "'" : "";
    field.append(text);
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (const char c : field)
        quoted.append(c == '"' ? 2 : 1, c);
    return quoted + "\"";
}

std::string pickLine(const Pick& pick) {
    return csvField(pick.time) + "," + csvField(pick.className) + "," + csvField(pick.number) + "," +
           csvField(pick.name) + (pick.takenBack ? "," + std::string(kTakenBackMark) : "") + "\r\n";
}

std::vector<Pick> parsePickRecord(std::string_view text) {
    std::vector<Pick> picks;
    PickRows rows([&](const Pick& pick) { picks.push_back(pick); });
    rows.feed(text);
    rows.finish();
    return picks;
}

platform::StreamRead readPickRecord(const DataFolder& data, const std::function<void(const Pick&)>& take) {
    PickRows rows(take);
    const platform::StreamRead read =
        platform::readFileInPieces(pickRecordPath(data), [&](std::string_view piece) { rows.feed(piece); });
    if (read.outcome == platform::ReadOutcome::Read) rows.finish();
    return read;
}

bool pickRecordExists(const DataFolder& data) {
    return platform::isFile(pickRecordPath(data));
}

std::string fileProblemText(platform::FileProblem problem) {
    using platform::FileProblem;
    switch (problem) {
    case FileProblem::Held:
        return "文件正被其他程序占用（例如在表格软件中打开着）";
    case FileProblem::Denied:
        return "没有访问该文件的权限";
    case FileProblem::NotAFile:
        return "它不是一个普通文件";
    case FileProblem::BrokenLink:
        return "它是一个链接，而链接的目标不存在";
    case FileProblem::Interrupted:
        return "读取中途出错";
    case FileProblem::None:
    case FileProblem::Other:
        break;
    }
    return "无法访问该文件";
}

PickRecorder::Outcome PickRecorder::append(const Pick& pick) {
    return append(std::vector<Pick>{pick});
}

PickRecorder::Outcome PickRecorder::append(const std::vector<Pick>& picks) {
    std::string line;
    for (const Pick& pick : picks)
        line += pickLine(pick);
    // Nothing waits: the plain append, without the lock, as fast as ever.
    if (inMemory_.empty() && !platform::isFile(waitingPicksPath(data_))) {
        const platform::AppendResult appended = appendToRecord(data_, line);
        if (!appended.ok()) return settle(std::move(line), appended.problem);
        waitingCount_ = 0; // another copy may have appended the lines this one left waiting
        return {};
    }
    return settle(std::move(line), platform::FileProblem::None);
}

PickRecorder::Outcome PickRecorder::writeWaiting() {
    if (inMemory_.empty() && !platform::isFile(waitingPicksPath(data_))) {
        waitingCount_ = 0;
        return {};
    }
    return settle({}, platform::FileProblem::None);
}

PickRecorder::Outcome PickRecorder::settle(std::string line, platform::FileProblem problem) {
    Outcome outcome;
    const auto keepInMemory = [&](std::size_t onDisk) {
        inMemoryCount_ += lineCount(line);
        inMemory_ += line;
        waitingCount_ = onDisk + inMemoryCount_;
        outcome.onDisk = false;
    };
    const auto waiting = [&] {
        outcome.written = false;
        if (outcome.problem == platform::FileProblem::None) outcome.problem = platform::FileProblem::Other;
        outcome.firstWait = !told_ && !line.empty();
        told_ = told_ || !line.empty();
        return outcome;
    };
    outcome.problem = problem;
    const FilePath waitingFile = waitingPicksPath(data_);
    const platform::FolderLock lock(data_.path());
    if (!lock.held()) {
        // The waiting file is only touched under the lock; while there is none,
        // lines of ours may still go straight to the record.
        if (!platform::isFile(waitingFile)) {
            const platform::AppendResult appended = appendToRecord(data_, inMemory_ + line);
            if (appended.ok()) {
                inMemory_.clear();
                inMemoryCount_ = waitingCount_ = 0;
                return {};
            }
            outcome.problem = appended.problem;
        }
        keepInMemory(waitingCount_ - inMemoryCount_);
        return waiting();
    }
    const platform::FileRead stored = platform::readFile(waitingFile);
    if (stored.outcome == platform::ReadOutcome::Failed) {
        keepInMemory(waitingCount_ - inMemoryCount_);
        return waiting();
    }
    const std::string queue = stored.bytes + inMemory_ + line;
    if (queue.empty()) {
        waitingCount_ = 0;
        return {};
    }
    const platform::AppendResult appended = appendToRecord(data_, queue);
    if (appended.ok()) {
        // Appended first, removed only then: a crash in between writes lines twice, never loses one.
        if (stored.outcome == platform::ReadOutcome::Read && !platform::deleteFile(waitingFile))
            (void)platform::replaceFileAtomically(waitingFile, "");
        inMemory_.clear();
        inMemoryCount_ = waitingCount_ = 0;
        return {};
    }
    outcome.problem = appended.problem;
    if (platform::replaceFileAtomically(waitingFile, queue)) {
        inMemory_.clear();
        inMemoryCount_ = 0;
        waitingCount_ = lineCount(queue);
    } else {
        keepInMemory(lineCount(stored.bytes));
    }
    return waiting();
}

std::vector<Pick> PickRecorder::waitingPicks() const {
    const platform::FileRead stored = platform::readFile(waitingPicksPath(data_));
    return parsePickRecord(stored.bytes + inMemory_);
}

Message PickRecorder::waitingMessage(const Outcome& outcome) const {
    std::string text = "点名记录未能写入“" + pickRecordPath(data_).utf8() + "”：" + fileProblemText(outcome.problem) +
                       "。\r\n\r\n未能写入的点名结果";
    text += outcome.onDisk
                ? "暂存在 Data 文件夹的“" + std::string(kWaitingPicksFileName) + "”中，文件可以写入时会自动补记。"
                : std::string("暂存在内存中，文件可以写入时会自动补记；在此之前关闭程序，这些结果将会丢失。");
    return Message::owning("保存失败", text + "抽取照常进行。", kWarningOk);
}

std::string nowText() {
    const platform::LocalTime now = platform::localTimeNow();
    std::string text = "0000-00-00 00:00:00";
    const std::pair<int, int> fields[] = {{4, now.year % 10000}, {7, now.month % 100},   {10, now.day % 100},
                                          {13, now.hour % 100},  {16, now.minute % 100}, {19, now.second % 100}};
    for (auto [end, value] : fields) // each from its last digit back
        for (int i = end - 1; value > 0; --i, value /= 10)
            text[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
    return text;
}

} // namespace tallyra

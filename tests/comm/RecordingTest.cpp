// The raw recording and the auto-saving schedule, with a clock set by hand.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "ais/Clock.h"
#include "comm/AutoSaving.h"
#include "comm/RawRecording.h"

namespace norq::comm {
namespace {

namespace fs = std::filesystem;

class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "norq-rec-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (fs::path(path_) / name).string(); }
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(path_))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

ais::LocalDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return {
        {static_cast<std::int16_t>(y), static_cast<std::uint8_t>(mo), static_cast<std::uint8_t>(d)},
        {static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(mi),
         static_cast<std::uint8_t>(s)}};
}

constexpr LineOrigin kAis{0, LinkKind::Serial};
constexpr LineOrigin kGps{1, LinkKind::Serial};
constexpr LineOrigin kTcp{0, LinkKind::Tcp};

TEST(RawRecording, EachLinkIsWrittenUpToItsLastLineFeed) {
    TempDir dir;
    RawRecording rec;
    // Bytes before the file opens are not kept, and the line they leave
    // unfinished does not start the file.
    rec.write(kAis, "!AIVDM,partial");
    ASSERT_TRUE(rec.open(dir.file("r.txt")));
    rec.write(kAis, ",rest\r\n!AIVDM,1,1,,A,");
    rec.write(kGps, "$GPGGA,1,2\r\n$GPRMC,");
    rec.write(kTcp, "!AIVDO,x\r\n");
    rec.write(kAis, "payload,0*00\r\n");
    rec.write(kGps, "3,4\r\n");
    rec.close();
    EXPECT_EQ(ReadAll(dir.file("r.txt")),
              "$GPGGA,1,2\r\n!AIVDO,x\r\n!AIVDM,1,1,,A,payload,0*00\r\n$GPRMC,3,4\r\n");
    // An unfinished line over a roll-over goes whole into the next file.
    ASSERT_TRUE(rec.open(dir.file("a.txt")));
    rec.write(kAis, "!AIVDM,half");
    rec.close();
    ASSERT_TRUE(rec.open(dir.file("b.txt")));
    rec.write(kAis, ",other half\r\n");
    rec.close();
    EXPECT_EQ(ReadAll(dir.file("a.txt")), "");
    EXPECT_EQ(ReadAll(dir.file("b.txt")), "!AIVDM,half,other half\r\n");
    // A file that exists is continued; a folder that does not exist fails.
    ASSERT_TRUE(rec.open(dir.file("b.txt")));
    rec.write(kTcp, "more\n");
    rec.close();
    EXPECT_EQ(ReadAll(dir.file("b.txt")), "!AIVDM,half,other half\r\nmore\n");
    EXPECT_FALSE(rec.open(dir.file("missing/x.txt")));
    EXPECT_EQ(rec.lastError(), ENOENT);
}

constexpr std::string_view kLine = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n";

// Every line of `text` is kLine; `torn` bytes at the end may be its beginning.
void ExpectWholeLines(const std::string& text, std::size_t torn) {
    ASSERT_EQ(text.size() % kLine.size(), torn);
    for (std::size_t at = 0; at + kLine.size() <= text.size(); at += kLine.size())
        ASSERT_EQ(text.compare(at, kLine.size(), kLine), 0) << "at byte " << at;
    EXPECT_EQ(text.compare(text.size() - torn, torn, kLine.substr(0, torn)), 0);
}

TEST(RawRecording, AKilledRecordingLosesAtMostTheLineBeingWrittenAndIsContinuedWhole) {
    TempDir dir;
    const std::string path = dir.file("killed.txt");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RawRecording rec;
        if (!rec.open(path)) ::_exit(1);
        const std::string line(kLine);
        for (unsigned i = 0;; ++i) {
            // Lines in odd pieces, as a serial port delivers them.
            const std::size_t cut = i % line.size();
            rec.write(kAis, line.substr(0, cut));
            rec.write(kAis, line.substr(cut));
        }
    }
    // Let it write for a while, then kill it without warning. The kernel may
    // stop the write in flight at a page boundary, so the file can end in a
    // torn line, but nowhere else.
    for (int i = 0; i < 200 && (!fs::exists(path) || fs::file_size(path) < 200000); ++i)
        ::usleep(5000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string text = ReadAll(path);
    ASSERT_GT(text.size(), 1000u);
    ExpectWholeLines(text, text.size() % kLine.size());

    // Opened again, the torn line is cut and the recording goes on whole.
    RawRecording rec;
    ASSERT_TRUE(rec.open(path));
    rec.write(kAis, kLine);
    rec.close();
    const std::string continued = ReadAll(path);
    EXPECT_EQ(continued.size(), text.size() - text.size() % kLine.size() + kLine.size());
    ExpectWholeLines(continued, 0);

    // A file that holds no line feed at all is one torn line.
    { std::ofstream(dir.file("torn.txt"), std::ios::binary) << "!AIVDM,1,1,,A,13aE"; }
    ASSERT_TRUE(rec.open(dir.file("torn.txt")));
    rec.write(kAis, kLine);
    rec.close();
    EXPECT_EQ(ReadAll(dir.file("torn.txt")), std::string(kLine));
}

TEST(RawRecording, AWriteTheDiskRefusesHalfwayIsTakenBack) {
    TempDir dir;
    const std::string path = dir.file("full.txt");
    // A file size limit stands in for a full disk: the write that crosses it
    // is cut short, the next one fails.
    constexpr std::size_t kLimit = 1000;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{kLimit, kLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
        RawRecording rec;
        if (!rec.open(path)) ::_exit(1);
        for (int i = 0; i < 40 && !rec.writeFailed(); ++i)
            rec.write(kAis, kLine);
        ::_exit(rec.writeFailed() && rec.lastError() == EFBIG ? 0 : 3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const std::string text = ReadAll(path);
    EXPECT_EQ(text.size(), kLimit / kLine.size() * kLine.size());
    ExpectWholeLines(text, 0);
}

TEST(AutoSaving, PeriodListAndFileNames) {
    const int expected[] = {600, 1800, 3600, 7200, 10800, 21600, 86400};
    for (int i = 0; i < kAutoSavingPeriodCount; ++i)
        EXPECT_EQ(AutoSavingPeriodSeconds(i), expected[i]);
    EXPECT_EQ(AutoSavingPeriodSeconds(7), 600);
    EXPECT_EQ(AutoSavingPeriodSeconds(-1), 600);
    EXPECT_EQ(RecordingFileName("/data/Log", At(2026, 3, 4, 5, 6, 7)),
              "/data/Log20260304_050607.txt");
    const ais::LocalDateTime t = At(2028, 2, 29, 23, 59, 59);
    EXPECT_EQ(FromLocalSeconds(LocalSeconds(t)).date, t.date);
    EXPECT_EQ(LocalSeconds(At(2028, 3, 1, 0, 0, 0)) - LocalSeconds(t), 1);
}

TEST(AutoSaving, TheFormIsCheckedInOrder) {
    const ais::LocalDateTime now = At(2026, 5, 10, 12, 0, 0);
    AutoSavingForm form;
    form.fileName = "/data/Log";
    form.start = At(2026, 5, 10, 12, 0, 0);
    form.end = At(2026, 5, 10, 12, 0, 0);
    EXPECT_EQ(CheckAutoSavingForm(form, now), AutoSavingCheck::SameStartAndEnd);
    form.end = At(2026, 5, 9, 13, 0, 0);
    EXPECT_EQ(CheckAutoSavingForm(form, now), AutoSavingCheck::EndDateBeforeStart);
    form.end = At(2026, 5, 10, 11, 0, 0);
    EXPECT_EQ(CheckAutoSavingForm(form, now), AutoSavingCheck::EndTimeBeforeStart);
    form.forever = true;  // no date checks
    EXPECT_EQ(CheckAutoSavingForm(form, now), AutoSavingCheck::Ok);
    form.fileName = ".\\FileName";
    EXPECT_EQ(CheckAutoSavingForm(form, now), AutoSavingCheck::DefaultFileName);
    form.fileName.clear();
    EXPECT_EQ(CheckAutoSavingForm(form, now), AutoSavingCheck::EmptyFileName);
    form = {};
    form.fileName = "/data/Log";
    form.startNow = true;  // the start is now
    form.start = At(2020, 1, 1, 0, 0, 0);
    form.end = At(2026, 5, 10, 11, 59, 59);
    EXPECT_EQ(CheckAutoSavingForm(form, now), AutoSavingCheck::EndTimeBeforeStart);
}

class AutoSavingSchedule : public ::testing::Test, public AutoSavingReport {
  protected:
    void recordingFailed(const std::string& path, int error) override {
        failures.push_back(path);
        lastError = error;
    }
    void SetUp() override { saving.setReport(this); }
    // Moves the clock on by `seconds`, one step per second.
    void run(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            now = FromLocalSeconds(LocalSeconds(now) + 1);
            clock.setLocal(now);
            saving.step();
        }
    }
    AutoSavingForm form(int period) {
        AutoSavingForm f;
        f.periodIndex = period;
        f.startNow = true;
        f.forever = true;
        f.fileName = dir.file("Log");
        f.enabled = true;
        return f;
    }

    TempDir dir;
    ais::ManualClock clock;
    ais::LocalDateTime now = At(2026, 5, 10, 23, 0, 0);
    RawRecording recording;
    AutoSaving saving{recording, clock};
    std::vector<std::string> failures;
    int lastError = 0;
};

TEST_F(AutoSavingSchedule, TwoHoursRollOverEvery7200Seconds) {
    clock.setLocal(now);
    saving.apply(form(3));
    run(1);
    ASSERT_TRUE(recording.isOpen());
    run(7199);
    EXPECT_EQ(dir.files().size(), 1u);
    run(1);
    EXPECT_EQ(dir.files(),
              (std::vector<std::string>{"Log20260510_230001.txt", "Log20260511_010001.txt"}));
}

TEST_F(AutoSavingSchedule, ThirtyMinutesAndForeverRunPastMidnightAndThe2029Limit) {
    now = At(2029, 12, 31, 23, 0, 0);
    clock.setLocal(now);
    saving.apply(form(1));
    run(2 * 3600);
    EXPECT_TRUE(recording.isOpen());
    EXPECT_EQ(dir.files().size(), 4u);  // 23:00:01, 23:30:01, 00:00:01, 00:30:01
    EXPECT_EQ(dir.files().back(), "Log20300101_003001.txt");
}

TEST_F(AutoSavingSchedule, TheWindowComparesTheEnteredStartAndEnd) {
    clock.setLocal(now);
    AutoSavingForm f = form(2);
    f.startNow = false;
    f.forever = false;
    f.start = At(2026, 5, 10, 23, 30, 0);
    f.end = At(2026, 5, 11, 0, 30, 0);  // across midnight
    saving.apply(f);
    run(30 * 60 - 1);
    EXPECT_FALSE(recording.isOpen());
    run(1);
    EXPECT_TRUE(recording.isOpen());
    // Midnight, the eve of the end date, does not stop it.
    run(30 * 60 + 5);
    EXPECT_TRUE(recording.isOpen());
    run(30 * 60);
    EXPECT_FALSE(recording.isOpen());
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"Log20260510_233000.txt"}));
}

TEST_F(AutoSavingSchedule, UntickingEnabledStopsTheRecording) {
    clock.setLocal(now);
    saving.apply(form(0));
    run(5);
    ASSERT_TRUE(recording.isOpen());
    AutoSavingForm off = form(0);
    off.enabled = false;
    saving.apply(off);
    EXPECT_FALSE(saving.enabled());
    EXPECT_FALSE(recording.isOpen());
    run(700);
    EXPECT_FALSE(recording.isOpen());
}

TEST_F(AutoSavingSchedule, AFileThatCannotBeOpenedIsReportedOnceAndRetriedEachPeriod) {
    clock.setLocal(now);
    AutoSavingForm f = form(0);
    f.fileName = dir.file("no-such-folder/Log");
    saving.apply(f);
    run(601 * 2);
    EXPECT_FALSE(recording.isOpen());
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(lastError, ENOENT);
    // Once the folder is there, the next period's attempt succeeds.
    fs::create_directory(dir.file("no-such-folder"));
    run(600);
    EXPECT_TRUE(recording.isOpen());
    EXPECT_EQ(failures.size(), 1u);
}

}  // namespace
}  // namespace norq::comm

// The marker list and "Markers.csv": the layout byte for byte, the 200-marker
// limit, damaged and foreign files, and saves that a crash cannot tear.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>

#include "base/TempFolder.h"
#include "nav/Markmanage.h"

namespace norq::nav {
namespace {

std::string Line(const char* name, double lat, double lon) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s,%11.6f,%11.6f,\n", name, lat, lon);
    return buf;
}

TEST(MarkmanageTest, TheFileHoldsNameLatitudeLongitudeEachWithAComma) {
    MarkerList list;
    ASSERT_TRUE(list.add(MakeMarker("Buoy A", 45.25, 12.5)));
    ASSERT_TRUE(list.add(MakeMarker("", -0.000001, -33.875)));
    ASSERT_TRUE(list.add(MakeMarker("West", -179.999999, 89.999999)));
    const std::string expected =
        "Buoy A,  12.500000,  45.250000,\n"
        " , -33.875000,  -0.000001,\n"      // an empty name is written as one space
        "West,  90.000000,-180.000000,\n";  // 32-bit floats: the nearest values print so
    EXPECT_EQ(list.FileText(), expected);

    MarkerList read;
    read.ParseFile(expected);
    ASSERT_EQ(read.count(), 3);
    EXPECT_EQ(read.at(0).nameText(), "Buoy A");
    EXPECT_FLOAT_EQ(read.at(0).latitude, 12.5f);
    EXPECT_FLOAT_EQ(read.at(0).longitude, 45.25f);
    EXPECT_EQ(read.at(1).nameText(), " ");
    EXPECT_EQ(read.at(2).deviceIndex, -1);
    EXPECT_EQ(read.FileText(), expected);
}

TEST(MarkmanageTest, AnyWrittenListReadsBackToTheSameBytes) {
    std::mt19937 rng(20261209);
    std::uniform_real_distribution<double> lon(-180.0, 180.0);
    std::uniform_real_distribution<double> lat(-90.0, 90.0);
    MarkerList list;
    for (int i = 0; i < kMaxMarkers; ++i) {
        const std::string name =
            "M" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 23), 'x');
        ASSERT_TRUE(list.add(MakeMarker(name, lon(rng), lat(rng))));
    }
    const std::string first = list.FileText();
    MarkerList again;
    again.ParseFile(first);
    EXPECT_EQ(again.count(), kMaxMarkers);
    EXPECT_EQ(again.FileText(), first);
    // Every line is at most 22 + 3 + 2 * 11 characters and its line break.
    std::size_t longest = 0;
    for (std::size_t at = 0, end; (end = first.find('\n', at)) != std::string::npos; at = end + 1)
        longest = std::max(longest, end - at);
    EXPECT_LE(longest, 47u);
}

TEST(MarkmanageTest, TheListStopsAt200AndADeletionFreesAPlace) {
    MarkerList list;
    for (int i = 0; i < kMaxMarkers; ++i)
        ASSERT_TRUE(list.add(MakeMarker("Marker" + std::to_string(i + 1), 1.0 + i * 0.01, 50.0)));
    EXPECT_TRUE(list.full());
    EXPECT_FALSE(list.add(MakeMarker("Marker201", 3.0, 50.0)));
    EXPECT_EQ(list.count(), 200);
    EXPECT_EQ(list.at(199).nameText(), "Marker200");

    // A file of 201 lines: the first 200 are taken, the 201st is not stored.
    std::string file = list.FileText() + Line("Marker201", 50.0, 3.0);
    MarkerList read;
    read.ParseFile(file);
    EXPECT_EQ(read.count(), 200);
    EXPECT_EQ(read.at(199).nameText(), "Marker200");
    EXPECT_EQ(read.FileText(), list.FileText());

    ASSERT_TRUE(list.remove(0));
    EXPECT_EQ(list.count(), 199);
    EXPECT_EQ(list.at(0).nameText(), "Marker2");
    EXPECT_EQ(list.at(199).nameText(), "");  // the freed record is cleared
    EXPECT_EQ(list.at(199).deviceIndex, -1);
    EXPECT_TRUE(list.add(MakeMarker("Marker201", 3.0, 50.0)));
    EXPECT_EQ(list.at(199).nameText(), "Marker201");
}

TEST(MarkmanageTest, DamagedLinesAreSkippedAndReadingGoesOn) {
    const std::string file =
        "Good1,  12.500000,  45.250000,\n"  // taken
        "NoFinalComma,  12.500000,  45.250000\n"
        "Four,1,2,3,\n"
        "MissingLat,,  45.250000,\n"
        "SpaceLat, ,  45.250000,\n"
        "Letters,12.5x,45.25,\n"
        "NaN,nan,45.25,\n"
        "Hex,0x10,45.25,\n"
        "OffGlobe,  95.000000,  45.250000,\n"
        "\x01\x02\xff\xfe garbage without commas\n"
        "\n"
        ",  -1.000000,  -2.000000,\r\n"      // empty name; CR LF line end
        + std::string(150, 'A') + ",1,2,\n"  // far too long for a marker line
        +
        "Good2,  -1.500000, 100.000000,\n"
        "Cut in the mid,  11.0000";  // the file ends inside a line
    MarkerList list;
    list.ParseFile(file);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.at(0).nameText(), "Good1");
    EXPECT_EQ(list.at(1).nameText(), " ");
    EXPECT_FLOAT_EQ(list.at(1).longitude, -2.0f);
    EXPECT_EQ(list.at(2).nameText(), "Good2");
    EXPECT_FLOAT_EQ(list.at(2).longitude, 100.0f);
}

TEST(MarkmanageTest, AFileCutAnywhereLosesAtMostItsLastLine) {
    MarkerList list;
    for (int i = 0; i < 20; ++i)
        list.add(MakeMarker("Spot " + std::to_string(i), -170.0 + i * 17.123456, -80.0 + i * 8.25));
    const std::string whole = list.FileText();
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        MarkerList read;
        read.ParseFile(whole.substr(0, cut));
        const int complete = static_cast<int>(
            std::count(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut), '\n'));
        ASSERT_EQ(read.count(), complete) << "cut at " << cut;
        for (int i = 0; i < complete; ++i) {
            ASSERT_EQ(read.at(i).nameText(), list.at(i).nameText());
            ASSERT_EQ(read.at(i).latitude, list.at(i).latitude);
        }
    }
}

TEST(MarkmanageTest, NamesAreCutToTheFieldAndCommasOrLineBreaksAreRefused) {
    MarkerRecord r;
    r.setName("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(r.nameText(), "ABCDEFGHIJKLMNOPQRSTUV");
    // Seven three-byte characters are 21 bytes; the eighth does not fit whole.
    r.setName(
        "\xe6\xb5\xae\xe6\xb5\xae\xe6\xb5\xae\xe6\xb5\xae\xe6\xb5\xae\xe6\xb5\xae\xe6\xb5\xae"
        "\xe6\xb5\xae");
    EXPECT_EQ(r.nameText().size(), 21u);
    r.setName("");
    EXPECT_EQ(r.nameText(), " ");
    EXPECT_TRUE(MarkerNameAcceptable("Pier 4 (north)"));
    EXPECT_FALSE(MarkerNameAcceptable("Pier 4, north"));
    EXPECT_FALSE(MarkerNameAcceptable("Pier 4\nnorth"));
    EXPECT_FALSE(MarkerNameAcceptable("Pier 4\r"));

    // A long name in a file is cut, never stored beyond the field.
    MarkerList list;
    list.ParseFile(std::string(60, 'N') + ",1.0,2.0,\n");
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.at(0).nameText(), std::string(22, 'N'));
}

TEST(MarkmanageTest, LoadAndSaveUseTheFileWholeOrNotAtAll) {
    base::TempFolder folder;
    const std::string path = folder.path("Markers.csv");
    MarkerList list;
    list.add(MakeMarker("Old", 1.0, 2.0));
    list.Load(path);  // missing: empty
    EXPECT_EQ(list.count(), 0);
    list.add(MakeMarker("Kept", 1.0, 2.0));
    ASSERT_TRUE(list.Save(path));
    EXPECT_EQ(folder.read("Markers.csv"), "Kept,   2.000000,   1.000000,\n");
    MarkerList read;
    read.Load(path);
    EXPECT_EQ(read.count(), 1);

    // A folder that cannot be written: the save fails and says so; the old file stays.
    ::chmod(folder.path("").c_str(), 0500);
    if (::access(folder.path("probe").c_str(), F_OK) != 0 && ::geteuid() != 0) {
        list.add(MakeMarker("New", 3.0, 4.0));
        EXPECT_FALSE(list.Save(path));
        EXPECT_EQ(folder.read("Markers.csv"), "Kept,   2.000000,   1.000000,\n");
    }
    ::chmod(folder.path("").c_str(), 0700);
}

// A child saves two different lists in turn as fast as it can and is killed at
// a random moment; the file must then be one of the two lists, whole.
TEST(MarkmanageTest, AKilledSaveLeavesTheOldFileWhole) {
    base::TempFolder folder;
    const std::string path = folder.path("Markers.csv");
    MarkerList a;
    MarkerList b;
    for (int i = 0; i < kMaxMarkers; ++i) {
        a.add(MakeMarker("Alpha" + std::to_string(i), i * 0.5, i * 0.25));
        b.add(MakeMarker("Bravo" + std::to_string(i), -i * 0.5, -i * 0.25));
    }
    ASSERT_TRUE(a.Save(path));
    const std::string textA = a.FileText();
    const std::string textB = b.FileText();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> delayUs(200, 20000);
    int asA = 0;
    int asB = 0;
    std::size_t left = 0;  // temporary files left beside the list by the killed saves
    constexpr int kRuns = 60;
    for (int run = 0; run < kRuns; ++run) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0;; ++i)
                (i % 2 == 0 ? b : a).Save(path);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(rng)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const std::string now = folder.read("Markers.csv");
        ASSERT_TRUE(now == textA || now == textB)
            << "run " << run << ": " << now.size() << " bytes";
        (now == textA ? asA : asB)++;
        left += folder.entries() - 1;
        MarkerList read;
        read.Load(path);
        ASSERT_EQ(read.count(), kMaxMarkers);
    }
    // Both contents were seen, so the kills did land in the middle of the saves.
    // A killed save may leave its temporary file beside the list (never in its
    // place); the next reading removes it.
    std::printf(
        "[ figures  ] %d kills: %d times list A, %d times list B, file whole every "
        "time; %zu temporary files left by the killed saves\n",
        kRuns, asA, asB, left);
    EXPECT_GT(asA + asB, 0);
    EXPECT_EQ(folder.entries(), 1u);
    // Only names of the temporaries' form are removed.
    folder.write("Markers.csv.new-keep", "not a temporary of the list");
    MarkerList read;
    read.Load(path);
    EXPECT_EQ(read.count(), kMaxMarkers);
    EXPECT_EQ(folder.entries(), 2u);
}

}  // namespace
}  // namespace norq::nav

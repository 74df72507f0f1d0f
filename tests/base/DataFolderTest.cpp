#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "base/DataFolder.h"
#include "base/LanguageTable.h"
#include "base/TempFolder.h"

namespace norq::base {
namespace {

TEST(DataFolder, IsTheViewerFolderBelowTheDocumentsFolder) {
    EXPECT_EQ(DataFolderPath("/home/mate/Documents"), "/home/mate/Documents/NORQ/Viewer/");
    EXPECT_EQ(DataFolderPath("/home/mate/Documents//"), "/home/mate/Documents/NORQ/Viewer/");
    EXPECT_EQ(DataFolderPath("/"), "/NORQ/Viewer/");
    EXPECT_EQ(DataFolderPath(""), "./NORQ/Viewer/");
}

TEST(DataFolder, IsMadeWithItsParentsAndItsNavigationFolder) {
    TempFolder documents;
    const std::string docs = documents.path("Documents");  // does not exist yet
    const DataFolders folders = PrepareDataFolders(docs);
    EXPECT_EQ(folders.dataFolder, docs + "/NORQ/Viewer/");
    EXPECT_EQ(folders.navDataFolder, docs + "/NORQ/Viewer/NAV_Data/");
    EXPECT_TRUE(std::filesystem::is_directory(folders.navDataFolder));
    EXPECT_EQ(SettingsFilePath(folders), docs + "/NORQ/Viewer/NorqAisViewer.ini");
    EXPECT_EQ(DataFilePath(folders, kCrewListFile), docs + "/NORQ/Viewer/MOB.csv");
    EXPECT_EQ(NavDataFilePath(folders, kMarkersFile), docs + "/NORQ/Viewer/NAV_Data/Markers.csv");
    // A second start finds both again.
    const DataFolders again = PrepareDataFolders(docs);
    EXPECT_EQ(again.dataFolder, folders.dataFolder);
    EXPECT_EQ(again.navDataFolder, folders.navDataFolder);
}

TEST(DataFolder, FallsBackWhenAFolderCannotBeMade) {
    TempFolder documents;
    // A file named NORQ blocks the data folder: the documents folder itself is used.
    documents.write("NORQ", "not a folder");
    const DataFolders folders = PrepareDataFolders(documents.path(""));
    EXPECT_EQ(folders.dataFolder, documents.path(""));
    EXPECT_EQ(folders.navDataFolder, documents.path("NAV_Data/"));

    // A file named NAV_Data blocks the navigation folder: bare names are used.
    TempFolder other;
    other.write("NORQ/Viewer/NAV_Data", "not a folder");
    const DataFolders blocked = PrepareDataFolders(other.path(""));
    EXPECT_EQ(blocked.dataFolder, other.path("NORQ/Viewer/"));
    EXPECT_EQ(blocked.navDataFolder, "");
    EXPECT_EQ(NavDataFilePath(blocked, kMarkersFile), "Markers.csv");
}

TEST(ProgramFolder, OverrideThenBuildTreeThenInstalledFolder) {
    ProgramFolderInputs inputs;
    inputs.executableFolder = "/work/build/src/app";
    inputs.installedFolder = "/usr/share/norq-ais-viewer";
    EXPECT_EQ(ChooseProgramFolder(inputs), "/usr/share/norq-ais-viewer/");
    inputs.executableFolderHasData = true;
    EXPECT_EQ(ChooseProgramFolder(inputs), "/work/build/src/app/");
    inputs.overrideFolder = "";  // set but empty: ignored
    EXPECT_EQ(ChooseProgramFolder(inputs), "/work/build/src/app/");
    inputs.overrideFolder = "/opt/norq/";
    EXPECT_EQ(ChooseProgramFolder(inputs), "/opt/norq/");
    EXPECT_EQ(ProgramFilePath("/opt/norq/", kAlarmSoundFile),
              "/opt/norq/Sound/Alarm/alarm_loop_1.wav");
}

TEST(ProgramFolder, IsFoundNextToTheExecutableWhenItHoldsTheLanguageFiles) {
    TempFolder tree;
    tree.write("bin/Lang/Lang-EN.ini", "[MENU]\n");
    ::unsetenv(kProgramDirVariable);
    EXPECT_EQ(LocateProgramFolder(tree.path("bin")), tree.path("bin/"));
    EXPECT_EQ(LocateProgramFolder(tree.path("empty")), InstalledProgramFolder());
    ::setenv(kProgramDirVariable, "/somewhere/else", 1);
    EXPECT_EQ(LocateProgramFolder(tree.path("bin")), "/somewhere/else/");
    ::unsetenv(kProgramDirVariable);
}

TEST(ProgramFolder, AnInstallationUnderAnotherPrefixIsFoundBesideItsBinFolder) {
    ProgramFolderInputs inputs;
    inputs.executableFolder = "/scratch/usr/bin";
    inputs.siblingFolder = "/scratch/usr/share/norq-ais-viewer";
    inputs.installedFolder = "/usr/share/norq-ais-viewer";
    EXPECT_EQ(ChooseProgramFolder(inputs), "/usr/share/norq-ais-viewer/");
    inputs.siblingFolderHasData = true;
    EXPECT_EQ(ChooseProgramFolder(inputs), "/scratch/usr/share/norq-ais-viewer/");
    inputs.executableFolderHasData = true;  // a build tree wins
    EXPECT_EQ(ChooseProgramFolder(inputs), "/scratch/usr/bin/");

    TempFolder root;
    root.write("usr/share/norq-ais-viewer/Lang/Lang-EN.ini", "[MENU]\n");
    std::filesystem::create_directories(root.path("usr/bin"));
    ::unsetenv(kProgramDirVariable);
    EXPECT_EQ(LocateProgramFolder(root.path("usr/bin")), root.path("usr/share/norq-ais-viewer/"));
    EXPECT_EQ(LocateProgramFolder(root.path("usr/bin/")), root.path("usr/share/norq-ais-viewer/"));
}

TEST(ProgramFolder, CheckNamesTheMissingFilesRequiredOrNot) {
    TempFolder program;
    MissingFiles missing = CheckProgramFolder(program.path(""));
    EXPECT_EQ(missing.required.size() + missing.optional.size(), std::size(kDeliveredFiles));
    for (const DeliveredFile& file : kDeliveredFiles) {
        if (file.required) program.write(std::string(file.path), "x");
    }
    program.write(std::string(kGazetteerFile), "");  // empty: as good as missing
    missing = CheckProgramFolder(program.path(""));
    EXPECT_TRUE(missing.required.empty());
    EXPECT_NE(std::find(missing.optional.begin(), missing.optional.end(), kGazetteerFile),
              missing.optional.end());
    EXPECT_NE(std::find(missing.optional.begin(), missing.optional.end(), kManualFile),
              missing.optional.end());
    std::filesystem::remove(program.path(std::string(kAlarmSoundFile)));
    missing = CheckProgramFolder(program.path(""));
    ASSERT_EQ(missing.required.size(), 1u);
    EXPECT_EQ(missing.required[0], kAlarmSoundFile);
}

TEST(ProgramFolder, TheBuildTreeHoldsEveryRequiredFile) {
    const MissingFiles missing = CheckProgramFolder(NORQ_PROGRAM_FOLDER);
    for (std::string_view file : missing.required)
        ADD_FAILURE() << file << " is not built";
}

TEST(ProgramFolder, TheLanguageFilesAreAllListed) {
    for (int index : {kLanguageEnglish, kLanguageTraditionalChinese, kLanguageSimplifiedChinese}) {
        const LanguageFiles files = LanguageFilesFor(index);
        for (std::string_view path : {files.languageFile, files.readMeFile}) {
            bool listed = false;
            for (const DeliveredFile& file : kDeliveredFiles)
                listed |= file.path == path;
            EXPECT_TRUE(listed) << path;
        }
    }
}

}  // namespace
}  // namespace norq::base

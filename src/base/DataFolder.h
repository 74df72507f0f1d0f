// Where the viewer keeps its files: the per-user data folder (settings and the operator's
// data files) and the program folder (read-only files delivered with the program).
// Paths are plain UTF-8 strings; folder paths end with '/'.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norq::base {

// Data folder below the documents folder, and its sub-folder for navigation files.
inline constexpr std::string_view kDataSubFolder = "NORQ/Viewer/";
inline constexpr std::string_view kNavDataSubFolder = "NAV_Data/";

// Files kept in the data folder (the owning subsystems read and write them).
inline constexpr std::string_view kCrewListFile = "MOB.csv";
inline constexpr std::string_view kCrewEventFile = "MOB_Event.csv";
inline constexpr std::string_view kFriendShipFile = "buddy.csv";
inline constexpr std::string_view kAisMobListFile = "AIS_MOB_List.csv";
inline constexpr std::string_view kMarkersFile = "Markers.csv";  // in NAV_Data/

// Files below the program folder.
inline constexpr std::string_view kAlarmSoundFile = "Sound/Alarm/alarm_loop_1.wav";
inline constexpr std::string_view kManualFile = "PDF/NORQ_AIS_VIEWER_MANUAL.PDF";
// The same manual as one HTML page, opened when the PDF could not be made.
inline constexpr std::string_view kManualHtmlFile = "Manual/NORQ_AIS_VIEWER_MANUAL.html";
inline constexpr std::string_view kDemoFeedFile = "Demo/demo.nmea";
inline constexpr std::string_view kWorldChartFile = "VORN_Bin/NORQ_WorldSeaChart.bin";
inline constexpr std::string_view kWorldChartMediumFile = "VORN_Bin/NORQ_WorldSeaChart_L.bin";
inline constexpr std::string_view kWorldChartCoarseFile = "VORN_Bin/NORQ_WorldSeaChart_LL.bin";
inline constexpr std::string_view kGazetteerFile = "GEO_Bin/GEO_Item.bin";
// A file every complete program folder holds; it marks the folder when looking for it.
inline constexpr std::string_view kProgramFolderMarker = "Lang/Lang-EN.ini";

// Every file of the program folder that the viewer opens, and whether it cannot work
// without it. The chart files and the manual are optional: without them the chart
// shows open sea and the manual item opens nothing.
struct DeliveredFile {
    std::string_view path;  // below the program folder
    bool required;
};
inline constexpr DeliveredFile kDeliveredFiles[] = {
    {"Lang/Lang-EN.ini", true},     {"Lang/Lang-TW.ini", true},
    {"Lang/Lang-CN.ini", true},     {"Lang/ReadMe-EN_ZEPHARO.txt", true},
    {"Lang/ReadMe-TW.txt", true},   {"Lang/ReadMe-CN.txt", true},
    {kAlarmSoundFile, true},        {kDemoFeedFile, true},
    {kWorldChartFile, false},       {kWorldChartMediumFile, false},
    {kWorldChartCoarseFile, false}, {kGazetteerFile, false},
    {kManualFile, false},           {kManualHtmlFile, false},
};

// Environment variable that names the program folder (tests, unusual installations).
inline constexpr const char* kProgramDirVariable = "NORQ_PROGRAM_DIR";

struct DataFolders {
    // The data folder: documents + "NORQ/Viewer/", or the documents folder itself when
    // that could not be made.
    std::string dataFolder;
    // dataFolder + "NAV_Data/", or empty when it could not be made: the files meant for it
    // are then used by their bare names in the current folder.
    std::string navDataFolder;
};

// "<documents>/NORQ/Viewer/"; an empty documents folder stands for the current folder.
std::string DataFolderPath(std::string_view documentsFolder);
// Finds or makes the data folder (with its missing parents) and its NAV_Data/ folder,
// falling back as DataFolders describes.
DataFolders PrepareDataFolders(std::string_view documentsFolder);
std::string SettingsFilePath(const DataFolders& folders);
std::string DataFilePath(const DataFolders& folders, std::string_view fileName);
std::string NavDataFilePath(const DataFolders& folders, std::string_view fileName);

// What the program folder is chosen from.
struct ProgramFolderInputs {
    std::optional<std::string> overrideFolder;  // value of NORQ_PROGRAM_DIR, when set
    std::string executableFolder;               // folder of the running program
    bool executableFolderHasData = false;       // it holds kProgramFolderMarker (build tree)
    std::string siblingFolder;                  // <executable>/../share/norq-ais-viewer
    bool siblingFolderHasData = false;          // it holds kProgramFolderMarker
    std::string installedFolder;                // <prefix>/share/norq-ais-viewer
};
// The override when it is set and not empty, else the executable's folder when it holds
// the delivered files (a build tree), else the share/norq-ais-viewer/ beside the
// executable's bin/ when it holds them (an installation moved to another prefix, or a
// package unpacked into a scratch folder), else the installed folder. Ends with '/'.
std::string ChooseProgramFolder(const ProgramFolderInputs& inputs);
// <install prefix>/share/norq-ais-viewer/ of this build.
std::string InstalledProgramFolder();
// ChooseProgramFolder with the environment and the file system of this machine.
std::string LocateProgramFolder(std::string_view executableFolder);
std::string ProgramFilePath(std::string_view programFolder, std::string_view relativePath);

// The delivered files missing from a program folder (empty files count as missing).
struct MissingFiles {
    std::vector<std::string_view> required;
    std::vector<std::string_view> optional;
};
MissingFiles CheckProgramFolder(std::string_view programFolder);

}  // namespace norq::base

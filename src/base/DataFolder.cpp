#include "base/DataFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/Settings.h"

#ifndef NORQ_INSTALLED_DATA_DIR
#define NORQ_INSTALLED_DATA_DIR "/usr/local/share/norq-ais-viewer"
#endif

namespace norq::base {

namespace {

// The folder with exactly one '/' at its end; an empty folder is the current folder.
std::string asFolder(std::string_view folder) {
    if (folder.empty()) return "./";
    std::string path(folder);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path != "/") path += '/';
    return path;
}

bool makeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

}  // namespace

std::string DataFolderPath(std::string_view documentsFolder) {
    return asFolder(documentsFolder) + std::string(kDataSubFolder);
}

DataFolders PrepareDataFolders(std::string_view documentsFolder) {
    DataFolders folders;
    folders.dataFolder = DataFolderPath(documentsFolder);
    if (!makeFolder(folders.dataFolder)) folders.dataFolder = asFolder(documentsFolder);
    const std::string navData = folders.dataFolder + std::string(kNavDataSubFolder);
    if (makeFolder(navData)) folders.navDataFolder = navData;
    return folders;
}

std::string SettingsFilePath(const DataFolders& folders) {
    return DataFilePath(folders, kSettingsFileName);
}

std::string DataFilePath(const DataFolders& folders, std::string_view fileName) {
    return folders.dataFolder + std::string(fileName);
}

std::string NavDataFilePath(const DataFolders& folders, std::string_view fileName) {
    return folders.navDataFolder + std::string(fileName);
}

std::string ChooseProgramFolder(const ProgramFolderInputs& inputs) {
    if (inputs.overrideFolder && !inputs.overrideFolder->empty()) {
        return asFolder(*inputs.overrideFolder);
    }
    if (inputs.executableFolderHasData) return asFolder(inputs.executableFolder);
    if (inputs.siblingFolderHasData) return asFolder(inputs.siblingFolder);
    return asFolder(inputs.installedFolder);
}

std::string InstalledProgramFolder() {
    return asFolder(NORQ_INSTALLED_DATA_DIR);
}

std::string LocateProgramFolder(std::string_view executableFolder) {
    ProgramFolderInputs inputs;
    if (const char* value = std::getenv(kProgramDirVariable)) inputs.overrideFolder = value;
    inputs.executableFolder = std::string(executableFolder);
    std::error_code error;
    inputs.executableFolderHasData = std::filesystem::is_regular_file(
        asFolder(executableFolder) + std::string(kProgramFolderMarker), error);
    inputs.siblingFolder = asFolder(executableFolder) + "../share/norq-ais-viewer/";
    inputs.siblingFolderHasData = std::filesystem::is_regular_file(
        inputs.siblingFolder + std::string(kProgramFolderMarker), error);
    if (inputs.siblingFolderHasData) {
        // Named without the "bin/../" detour.
        inputs.siblingFolder =
            std::filesystem::path(inputs.siblingFolder).lexically_normal().string();
    }
    inputs.installedFolder = InstalledProgramFolder();
    return ChooseProgramFolder(inputs);
}

std::string ProgramFilePath(std::string_view programFolder, std::string_view relativePath) {
    return asFolder(programFolder) + std::string(relativePath);
}

}  // namespace norq::base

namespace norq::base {

MissingFiles CheckProgramFolder(std::string_view programFolder) {
    MissingFiles missing;
    for (const DeliveredFile& file : kDeliveredFiles) {
        std::error_code error;
        const std::string path = ProgramFilePath(programFolder, file.path);
        const bool present = std::filesystem::is_regular_file(path, error) &&
                             std::filesystem::file_size(path, error) > 0 && !error;
        if (present) continue;
        (file.required ? missing.required : missing.optional).push_back(file.path);
    }
    return missing;
}

}  // namespace norq::base

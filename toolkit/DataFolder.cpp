#include "toolkit/DataFolder.h"

#include "toolkit/DefaultTemplates.h"
#include "toolkit/PreferenceStore.h"
#include "files/ReplacingFile.h"

#include <filesystem>

namespace th::toolkit {

namespace {

constexpr const char* kSupport = "Library/Application Support/";
constexpr const char* kCompany = "Larkfield";
constexpr const char* kProduct = "Tile Heron";
constexpr const char* kExamplesGroup = "Examples";
constexpr const char* kHtml5Key = "HTML5";

bool usesShortLayout(int hostVersion)
{
    return hostVersion == 10700 || hostVersion == 10800 || hostVersion == 60000;
}

bool existsAnything(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found
        && !error;
}

void makeFolder(const std::filesystem::path& path)
{
    std::error_code ignored;
    std::filesystem::create_directory(path, ignored);
}

void createFolders(const std::string& homeFolder, int hostVersion)
{
    // A desktop that has no "Library/Application Support" yet (any fresh
    // Linux home) gets it made, or the data folder could never be created.
    const std::string support = homeFolder + kSupport;
    std::error_code ignored;
    std::filesystem::create_directories(support, ignored);
    if (usesShortLayout(hostVersion)) {
        makeFolder(support + kProduct);
        return;
    }
    const std::string company = support + kCompany;
    if (!existsAnything(company))
        makeFolder(company);
    makeFolder(company + "/" + kProduct);
}

} // namespace

std::string dataFolderFor(const std::string& homeFolder, int hostVersion)
{
    const std::string support = homeFolder + kSupport;
    if (usesShortLayout(hostVersion))
        return support + kProduct + "/";
    return support + kCompany + "/" + kProduct + "/";
}

std::string prepareDataFolder(const std::string& homeFolder, int hostVersion, PreferenceStore& store,
                              bool sweep)
{
    const std::string dataFolder = dataFolderFor(homeFolder, hostVersion);
    const std::string preferences = dataFolder + kPreferenceFileName;
    if (sweep)
        files::removeStaleTemporaries(dataFolder);

    if (!store.open(preferences)) {
        createFolders(homeFolder, hostVersion);
        store.create(preferences);
        for (const DefaultTemplate& entry : defaultTemplates())
            (void)writeDefaultTemplate(dataFolder, entry);
        store.selectGroup(kExamplesGroup);
        store.writeInteger(kHtml5Key, 1);
        return dataFolder;
    }

    store.selectGroup(kExamplesGroup);
    if (store.readInteger(kHtml5Key, 0) == 0 && !existsAnything(dataFolder + std::string(html5Template().fileName))) {
        (void)writeDefaultTemplate(dataFolder, html5Template());
        store.writeInteger(kHtml5Key, 1);
    }
    store.close();
    return dataFolder;
}

} // namespace th::toolkit

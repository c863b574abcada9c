#include "pages/DataDirectories.h"

#include "link/Files.h"
#include "link/Format.h"
#include "link/Notifier.h"

#include <filesystem>
#include <system_error>

namespace halcyra {

namespace {

const char* const kConfiguration = "Configuration Files";
const char* const kFactory = "Factory Settings Files";
const char* const kApplication = "Application Files";
const char* const kVehicleDatabase = "Vehicle Database Files";

} // namespace

void CDataDirectories::SetDataPath(const std::string& dataPath)
{
    dataPath_ = dataPath;
    configuration_ = dataPath + kConfiguration;
    factory_ = dataPath + kFactory;
    application_ = dataPath + kApplication;
    vehicleDatabase_ = dataPath + kVehicleDatabase;
}

bool CDataDirectories::Fits(const std::string& dataPath)
{
    return dataPath.size() + std::string(kFactory).size() <= kMaxPathBytes &&
           dataPath.size() + std::string(kVehicleDatabase).size() <= kMaxPathBytes;
}

void CDataDirectories::Create(INotifier& notifier) const
{
    for (const std::string* dir : {&application_, &configuration_, &factory_, &vehicleDatabase_}) {
        // Only the directory itself: the data path above it is never made.
        std::error_code error;
        std::filesystem::create_directory(PathFromUtf8(*dir), error);
        if (!error || error == std::errc::file_exists)
            continue;
        notifier.Notify(Format("Cannot create required %s directory structure error = %d", dir->c_str(), error.value()),
                        kAppTitle, MsgButtons::Ok, MsgIcon::None);
    }
}

} // namespace halcyra

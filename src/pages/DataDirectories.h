#pragma once
// The data path and the four data directories beneath it, where the program
// keeps setup files, factory settings, application files and vehicle profiles.

#include <string>

namespace halcyra {

class INotifier;

// Each path, like the table entries it mirrors, fits 259 bytes.
inline constexpr std::size_t kMaxPathBytes = 259;

class CDataDirectories {
public:
    // Subdirectory names are appended to the data path as they are: a data
    // path without its trailing separator yields names glued to its last part.
    void SetDataPath(const std::string& dataPath);
    // True when every table entry fits; longest subdirectory name included.
    static bool Fits(const std::string& dataPath);

    const std::string& DataPath() const { return dataPath_; }
    const std::string& ConfigurationDir() const { return configuration_; }
    const std::string& FactorySettingsDir() const { return factory_; }
    const std::string& ApplicationDir() const { return application_; }
    const std::string& VehicleDatabaseDir() const { return vehicleDatabase_; }

    // Creates the four directories (application, configuration, factory
    // settings, vehicle database); one box per directory that cannot be made.
    void Create(INotifier& notifier) const;

private:
    std::string dataPath_, configuration_, factory_, application_, vehicleDatabase_;
};

} // namespace halcyra

// A second process for the settings store tests: reads or writes one value through QtSettingsStore,
// or names the INI file of the user's store under the environment it was started with.
//   settings_probe read  <directory> <application> <section> <key> <default>   prints the value
//   settings_probe write <directory> <application> <section> <key> <value>
//   settings_probe where <application>                                         prints the file
#include <exception>
#include <iostream>
#include <string>

#include "config/QtSettingsStore.h"

int main(int argc, char** argv)
{
    const std::string action = argc > 1 ? argv[1] : "";
    try {
        if (action == "where" && argc == 3) {
            std::cout << config::QtSettingsStore().iniFile(argv[2]).string();
            return 0;
        }
        if (argc != 7)
            return 2;
        config::QtSettingsStore store{std::filesystem::path(argv[2])};
        if (action == "read")
            std::cout << store.ReadSetting(argv[3], argv[4], argv[5], argv[6]);
        else if (action == "write")
            store.WriteSetting(argv[3], argv[4], argv[5], argv[6]);
        else
            return 2;
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}

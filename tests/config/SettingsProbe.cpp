// A second process for the settings store tests: reads or writes one value through QtSettingsStore.
//   settings_probe read  <directory> <application> <section> <key> <default>   prints the value
//   settings_probe write <directory> <application> <section> <key> <value>
#include <exception>
#include <iostream>
#include <string>

#include "config/QtSettingsStore.h"

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::cerr << "usage: settings_probe read|write <directory> <application> <section> <key> <text>\n";
        return 2;
    }
    try {
        config::QtSettingsStore store{std::filesystem::path(argv[2])};
        const std::string action = argv[1];
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

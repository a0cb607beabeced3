// What the program's windows share: the texts, the settings, the file system, the folders the
// program works with and the dialogs it asks through. The program object owns one; tests
// build their own over temporary folders.
#pragma once
#include "core/ADate.h"
#include "core/AStrings.h"
#include "core/LanguageFile.h"
#include "core/Settings.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Files { class AFileSystem; }

namespace UserInterface {

class AUserDialogs;

struct AProgramFolders {
    std::string programPath;    // the program file: a portable INI file lies beside it
    std::string programFolder;
    std::string configFolder;   // the user's settings store and autostart entry live under it
    std::string dataFolder;     // the user's Trash lives under it
    std::string runtimeFolder;  // running copies listen for each other here
    std::string pluginFolder;   // exchange modules and rate sources: beside the program, or installed
    std::string languageFolder;
};

struct AProgramContext {
    std::unique_ptr<UtilityClasses::Strings::AStrings> strings;  // replaced by a language switch
    std::vector<UtilityClasses::Strings::ALanguage> languages;
    int languageIndex = -1;  // -1: the built-in texts
    std::unique_ptr<UserInterface::Settings::ASettings> settings;
    Files::AFileSystem* fs = nullptr;
    AProgramFolders folders;
    AClock clock;
    AUserDialogs* dialogs = nullptr;

    const UtilityClasses::Strings::AStrings& Strings() const { return *strings; }
    UserInterface::Settings::ASettings& Options() const { return *settings; }
    AUserDialogs& Dialogs() const { return *dialogs; }

    // Loads every setting, lists the language files beside the program and selects the
    // language the settings name (at start-up and when another copy saved the settings).
    // True when that replaced the string table.
    bool LoadSettings();
    // Makes language `index` current (-1: built in) and stores its name in the settings.
    void SelectLanguage(int index);
};

}  // namespace UserInterface

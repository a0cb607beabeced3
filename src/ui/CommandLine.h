// What start-up takes from its command line and how paths given there become whole.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace UserInterface {

// The data file named by the first argument after the program's own path; further arguments
// are ignored. The shell has already split the line at blanks outside quotes; a launcher that
// hands the argument over with its double quotes still on gets the text between them.
std::optional<std::string> DataFileArgument(const std::vector<std::string>& arguments);

// The text to print instead of starting, for "--help" (or "-h") and "--version" as the only
// argument; none otherwise, so that a data file of any name still opens.
std::optional<std::string> InformationRequest(const std::vector<std::string>& arguments);

// A path as the user typed it, made absolute against `currentFolder` and without "." or "..".
std::string WholePath(std::string_view path, std::string_view currentFolder);

// A dropped file: a symbolic link stands for its target and a desktop link entry (".desktop",
// the shell link of this platform) for the file its URL names. Anything else is itself.
std::string ResolveDroppedFile(const std::string& path);
// The file a desktop link entry points at; none when the text names no local file.
std::optional<std::string> DesktopLinkTarget(std::string_view entryText);

}  // namespace UserInterface

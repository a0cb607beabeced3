// "Профили выписок CSV", the settings window of the CSV statement module: the named profiles,
// the mapping of the chosen one field by field, and the first lines of the wizard's file read
// with the mapping as it is typed. OK keeps the mapping under the name typed, makes it the
// profile the module reads with, and only then forgets the profiles removed.
#pragma once
#include <string>

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Exchange {

// `path` is the file chosen in the wizard (UTF-8), empty for none. Whether OK was pressed.
bool RunCsvProfilesDialog(const AProgramContext& context, QWidget* parent, const std::string& path);

}  // namespace UserInterface::Exchange

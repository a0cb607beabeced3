// The program's icon, drawn rather than loaded, at the sizes window and notification area use.
#pragma once
#include <QIcon>

namespace UserInterface {

QIcon ProgramIcon();

}  // namespace UserInterface

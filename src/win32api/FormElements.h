// Changes to a form's tree that only some forms need: taking an element out again.
#pragma once
#include <cstdint>

namespace Win32API::VelvixForms {

class ADialogForm;

// Removes the element `id` with its children and destroys their windows (a child form placed
// in it included); the form relayouts. False when the form has no such element or it is the
// root. A stack whose shown child goes shows none until one is selected.
bool RemoveElement(ADialogForm& form, std::int16_t id);

}  // namespace Win32API::VelvixForms

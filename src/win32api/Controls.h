// The window behind each control letter of the layout language.
#pragma once
#include "win32api/LayoutElement.h"

class QString;
class QWidget;

namespace Win32API::VelvixControls {

// Creates the control's window as a child of `parent`, with the common flags applied
// (b border, d disabled, t tab stop, h hidden; g is the form's business: radio groups).
QWidget* CreateControlWindow(const VelvixForms::AControlSpec& spec, QWidget* parent);

// The text of a control window, whatever its kind (buttons, statics, edits, browsers...).
void SetControlText(QWidget* control, const QString& text);

}  // namespace Win32API::VelvixControls

// What screen readers and automation clients see of the report list control: a table (a tree
// in tree modes) whose children are the shown column headers, then the cells row by row.
#pragma once

class QWidget;

namespace Win32API::VelvixControls::Reports::Implementation {

class AReportWindow;

// Registers the control's interface with Qt once; every control calls it when it is made.
void InstallReportAccessibility();

// Events for assistive clients; nothing is sent while none listens.
void AnnounceRowsChanged(AReportWindow& window);
void AnnounceFocusedRow(AReportWindow& window, int row);
void AnnounceSelectionChanged(AReportWindow& window);

}  // namespace Win32API::VelvixControls::Reports::Implementation

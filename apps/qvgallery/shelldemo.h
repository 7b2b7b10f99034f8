#pragma once
// The shell controls stay off the palette; the gallery shows the system tree view,
// list view and combo box linked in a window of their own, on sample files it makes in
// a temporary folder (never the user's).
class QWidget;

// Opens the demo window (a new one on each call); it deletes itself when closed.
void ShowShellControlsDemo(QWidget* Parent);

#pragma once
// The shell controls stay off the palette; the gallery shows the system list view in a
// window of its own, on sample files it makes in a temporary folder (never the user's).
class QWidget;

// Opens the demo window (a new one on each call); it deletes itself when closed.
void ShowShellListDemo(QWidget* Parent);
